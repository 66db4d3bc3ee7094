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

void WindowBridge::SetCaption(const std::string& caption)
{
    std::lock_guard lock(mutex_);
    if (window_ && captions_.Offer(caption) && !PostMessageW(window_, kCaptionDue, 0, 0))
        captions_.Withdraw();
}

void WindowBridge::ShowCaptionNow()
{
    std::lock_guard lock(mutex_);
    if (window_ && captions_.Pending())
        PostMessageW(window_, kCaptionNow, 0, 0);
}

void WindowBridge::ShowLatestCaptionInTime()
{
    const auto wait = captions_.WaitAt(CaptionPacer::Clock::now());
    if (wait == wait.zero() || !window_) {
        ShowLatestCaption();
        return;
    }
    SetTimer(window_, kCaptionTimer, static_cast<UINT>(wait.count()), nullptr);
}

void WindowBridge::ShowLatestCaption()
{
    const std::wstring caption = Widen(captions_.Take(CaptionPacer::Clock::now()));
    if (window_) {
        KillTimer(window_, kCaptionTimer);
        SetWindowTextW(window_, caption.c_str());
    }
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
