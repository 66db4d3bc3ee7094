#include "WindowBridge.h"

#include <QMetaObject>
#include <QString>
#include <QTimer>

#include "MessageBox.h"
#include "WindowCaption.h"

WindowBridge::WindowBridge(QWidget* window) : window_(window)
{
}

void WindowBridge::SetIniFile(const std::string& iniFile)
{
    std::lock_guard lock(mutex_);
    iniFile_ = iniFile;
}

void WindowBridge::SetFieldText(JobField field, const std::string& text)
{
    std::lock_guard lock(mutex_);
    fields_[field] = text;
}

void WindowBridge::SetChoiceIndex(int index)
{
    std::lock_guard lock(mutex_);
    fields_.sameNameChoice = index;
}

void WindowBridge::Detach()
{
    std::lock_guard lock(mutex_);
    window_ = nullptr;
}

std::string WindowBridge::FieldText(JobField field)
{
    std::lock_guard lock(mutex_);
    return fields_[field];
}

int WindowBridge::ChoiceIndex()
{
    std::lock_guard lock(mutex_);
    return fields_.sameNameChoice;
}

void WindowBridge::SetCaption(const std::string& caption)
{
    std::lock_guard lock(mutex_);
    latestCaption_ = caption;
    // A run sets a caption per page; one queued update at a time is enough,
    // since the UI thread only ever needs to show the latest one.
    if (captionPending_ || !window_)
        return;
    captionPending_ = true;
    // Posting under the lock means Detach() cannot slip in between the check
    // and the post; events still queued to the window die with it.
    QMetaObject::invokeMethod(window_, [this] { ShowLatestCaptionInTime(); }, Qt::QueuedConnection);
}

void WindowBridge::ShowCaptionNow()
{
    std::lock_guard lock(mutex_);
    if (captionPending_ && window_)
        QMetaObject::invokeMethod(window_, [this] { ShowLatestCaption(); }, Qt::QueuedConnection);
}

void WindowBridge::ShowLatestCaptionInTime()
{
    // A fast run would otherwise wake the UI thread once a page; at a
    // screen's pace nobody can tell the difference.
    const auto due = lastShown_ + kCaptionInterval;
    const auto now = std::chrono::steady_clock::now();
    if (now >= due || !window_) {
        ShowLatestCaption();
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - now);
    QTimer::singleShot(wait, window_, [this] { ShowLatestCaption(); });
}

void WindowBridge::ShowLatestCaption()
{
    QString caption;
    {
        std::lock_guard lock(mutex_);
        captionPending_ = false;
        caption = QString::fromStdString(latestCaption_);
    }
    lastShown_ = std::chrono::steady_clock::now();
    if (window_)
        SetWindowCaption(window_, caption);
}

std::string WindowBridge::IniFile()
{
    std::lock_guard lock(mutex_);
    return iniFile_;
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
