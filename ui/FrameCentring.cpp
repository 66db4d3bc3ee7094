#include "FrameCentring.h"

#include <QEvent>
#include <QObject>

#include <utility>

namespace {

// Watches a window's events to centre its frame at each showing and once the
// frame is known.
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
            frameKnown_ = HasFrame();
        } else if (!frameKnown_ && MayBringTheFrame(event->type()) && HasFrame()) {
            frameKnown_ = true;
            Centre();
        }
        return false;
    }

private:
    // Events that come after the window manager has framed the window; which
    // ones depends on the manager and on where it put the window.
    static bool MayBringTheFrame(QEvent::Type type)
    {
        return type == QEvent::Move || type == QEvent::Resize || type == QEvent::Paint ||
               type == QEvent::WindowActivate;
    }

    bool HasFrame() const { return window_->frameGeometry() != window_->geometry(); }

    void Centre()
    {
        QRect frame = window_->frameGeometry();
        frame.moveCenter(area_().center());
        // A top-level window's position is its frame's.
        window_->move(frame.topLeft());
    }

    QWidget* window_;
    std::function<QRect()> area_;
    bool frameKnown_ = false;
};

}  // namespace

void KeepFrameCentredOn(QWidget* window, std::function<QRect()> area)
{
    new FrameCentring(window, std::move(area));
}
