#include "FrameCentring.h"

#include <QEvent>
#include <QObject>
#include <QWindow>

#include <utility>

namespace {

QMargins FrameMargins(const QWidget* window)
{
    // QWidget::frameGeometry() may keep a frame of nothing until the window
    // next moves; the native window asks the window manager.
    const QWindow* native = window->windowHandle();
    return native ? native->frameMargins() : QMargins();
}

// Watches a window's events to centre its frame at each showing and again once
// the window manager has framed it on screen.
class FrameCentring : public QObject {
public:
    FrameCentring(QWidget* window, std::function<QRect()> area)
        : QObject(window), window_(window), area_(std::move(area))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // A restore from the taskbar is a spontaneous show: the user may have
        // moved the window, and it stays where it was.
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            Centre();
            placedOnScreen_ = false;
        } else if (!placedOnScreen_ && MayFollowThePlacing(event->type()) && IsFramedOnScreen()) {
            // The window manager may have placed the window anew as it put it
            // on screen, and only now is its frame sure to be known.
            placedOnScreen_ = true;
            Centre();
        }
        return false;
    }

private:
    // Events that come after the window manager has put the window on screen;
    // which ones depends on the manager and on where it put the window.
    static bool MayFollowThePlacing(QEvent::Type type)
    {
        return type == QEvent::Move || type == QEvent::Resize || type == QEvent::Paint ||
               type == QEvent::WindowActivate;
    }

    bool IsFramedOnScreen() const
    {
        const QWindow* native = window_->windowHandle();
        return native && native->isExposed() && !native->frameMargins().isNull();
    }

    void Centre()
    {
        const QMargins margins = FrameMargins(window_);
        QRect frame = window_->geometry().marginsAdded(margins);
        frame.moveCenter(area_().center());
        // Placing the window itself, not its frame, keeps Qt's idea of where
        // the frame is out of it; a dialog then also leaves the place alone.
        window_->setGeometry(frame.marginsRemoved(margins));
    }

    QWidget* window_;
    std::function<QRect()> area_;
    bool placedOnScreen_ = true;  // nothing to do before the first showing
};

}  // namespace

void KeepFrameCentredOn(QWidget* window, std::function<QRect()> area)
{
    new FrameCentring(window, std::move(area));
}

QRect WindowFrame(const QWidget* window)
{
    return window->geometry().marginsAdded(FrameMargins(window));
}
