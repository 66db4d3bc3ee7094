#include "WindowBridge.h"

#include <QMetaObject>
#include <QString>
#include <QTimer>

#include "MessageBox.h"
#include "WindowCaption.h"

WindowBridge::WindowBridge(QWidget* window) : window_(window)
{
}

void WindowBridge::Detach()
{
    std::lock_guard lock(mutex_);
    window_ = nullptr;
}

void WindowBridge::SetCaption(const std::string& caption)
{
    // Posting under the lock means Detach() cannot slip in between the check
    // and the post; events still queued to the window die with it.
    std::lock_guard lock(mutex_);
    if (window_ && captions_.Offer(caption))
        QMetaObject::invokeMethod(window_, [this] { ShowLatestCaptionInTime(); }, Qt::QueuedConnection);
}

void WindowBridge::ShowCaptionNow()
{
    std::lock_guard lock(mutex_);
    if (window_ && captions_.Pending())
        QMetaObject::invokeMethod(window_, [this] { ShowLatestCaption(); }, Qt::QueuedConnection);
}

void WindowBridge::ShowLatestCaptionInTime()
{
    const auto wait = captions_.WaitAt(CaptionPacer::Clock::now());
    if (wait == wait.zero() || !window_) {
        ShowLatestCaption();
        return;
    }
    QTimer::singleShot(wait, window_, [this] { ShowLatestCaption(); });
}

void WindowBridge::ShowLatestCaption()
{
    const QString caption = QString::fromStdString(captions_.Take(CaptionPacer::Clock::now()));
    if (window_)
        SetWindowCaption(window_, caption);
}

void WindowBridge::ShowMessage(const std::string& text)
{
    std::lock_guard lock(mutex_);
    if (!window_)
        return;
    QWidget* window = window_;
    QMetaObject::invokeMethod(
        window, [window, message = QString::fromStdString(text)] { ShowMessageBox(window, message); },
        Qt::QueuedConnection);
}
