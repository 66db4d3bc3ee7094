#include "WindowCaption.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Qt reads "[*]" in a title as the place of its "modified" mark and drops it;
// "[*][*]" is how a literal "[*]" is written.
QString EscapeModifiedMark(const QString& caption)
{
    QString escaped = caption;
    return escaped.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, false, std::strlen(name), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// Under X, Qt puts the program's name in place of an empty title, so the
// window's name properties are emptied here, after Qt has set them.
void ClearX11WindowName(QWidget* window)
{
    // Other platforms may offer the interface too, without a connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (QGuiApplication::platformName() != "xcb" || !connection || !window->testAttribute(Qt::WA_WState_Created))
        return;
    static const xcb_atom_t netWmName = Atom(connection, "_NET_WM_NAME");
    static const xcb_atom_t utf8String = Atom(connection, "UTF8_STRING");
    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, netWmName, utf8String, 8, 0, nullptr);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0,
                        nullptr);
    xcb_flush(connection);
}

}  // namespace

void SetWindowCaption(QWidget* window, const QString& caption)
{
    const QString escaped = EscapeModifiedMark(caption);
    // Qt sets an empty title again every time; setting it only when it
    // changes keeps the name from flickering back through the program's name.
    if (window->windowTitle() == escaped)
        return;
    window->setWindowTitle(escaped);
    if (caption.isEmpty())
        ClearX11WindowName(window);
}
