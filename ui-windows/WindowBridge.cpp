#include "WindowBridge.h"

#include "MessageBox.h"
#include "Win32Text.h"

namespace {

// A caption is waiting: show it once its interval allows.
constexpr UINT kCaptionDue = WM_APP + 1;
// Show the waiting caption now.
constexpr UINT kCaptionNow = WM_APP + 2;
// A message is waiting to be shown.
constexpr UINT kMessageDue = WM_APP + 3;
// The timer that holds a caption back until its interval is over.
constexpr UINT_PTR kCaptionTimer = 1;

}  // namespace

WindowBridge::WindowBridge(HWND window) : window_(window)
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

bool WindowBridge::HandleMessage(UINT message, WPARAM wParam)
{
    switch (message) {
    case kCaptionDue:
        ShowLatestCaptionInTime();
        return true;
    case kCaptionNow:
        ShowLatestCaption();
        return true;
    case kMessageDue:
        ShowNextMessage();
        return true;
    case WM_TIMER:
        if (wParam != kCaptionTimer)
            return false;
        ShowLatestCaption();
        return true;
    default:
        return false;
    }
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
    // A run sets a caption per page; one posted update at a time is enough,
    // since the UI thread only ever needs to show the latest one.
    if (captionPending_ || !window_)
        return;
    captionPending_ = PostMessageW(window_, kCaptionDue, 0, 0) != FALSE;
}

void WindowBridge::ShowCaptionNow()
{
    std::lock_guard lock(mutex_);
    if (captionPending_ && window_)
        PostMessageW(window_, kCaptionNow, 0, 0);
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
    SetTimer(window_, kCaptionTimer, static_cast<UINT>(wait.count()), nullptr);
}

void WindowBridge::ShowLatestCaption()
{
    std::wstring caption;
    {
        std::lock_guard lock(mutex_);
        captionPending_ = false;
        caption = Widen(latestCaption_);
    }
    lastShown_ = std::chrono::steady_clock::now();
    if (window_) {
        KillTimer(window_, kCaptionTimer);
        SetWindowTextW(window_, caption.c_str());
    }
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
    // The text stays here rather than in the posted message, so a message
    // that never arrives leaks nothing.
    messages_.push_back(text);
    if (!PostMessageW(window_, kMessageDue, 0, 0))
        messages_.pop_back();
}

void WindowBridge::ShowNextMessage()
{
    std::string text;
    {
        std::lock_guard lock(mutex_);
        if (messages_.empty() || !window_)
            return;
        text = std::move(messages_.front());
        messages_.pop_front();
    }
    // The box runs its own message loop, so captions keep coming meanwhile;
    // the run that asked for it has long gone on.
    ShowMessageBox(window_, text);
}
