#pragma once

#include <windows.h>

#include <deque>
#include <mutex>
#include <string>

#include "CaptionPacer.h"
#include "FieldMirror.h"

// The main window as runs see it. Runs live on their own threads and must never
// touch a control, so the bridge reads the fields from its mirror and hands
// captions and messages back to the UI thread with PostMessage. Runs keep the
// bridge alive through a shared_ptr, so it may outlive the window; Detach()
// cuts it off from it.
class WindowBridge : public FieldMirror {
public:
    // A bridge serving `window`, whose window procedure passes every message
    // to HandleMessage first.
    explicit WindowBridge(HWND window);

    // UI thread: the window is going; later calls from runs reach nothing.
    void Detach();

    // UI thread: serves the bridge's own posted messages and timer; returns
    // whether `message` was one of them.
    bool HandleMessage(UINT message, WPARAM wParam);

    // Any thread: shows a caption still waiting for its turn at once; for the
    // last caption of a run.
    void ShowCaptionNow();

    void SetCaption(const std::string& caption) override;
    void ShowMessage(const std::string& text) override;

private:
    void ShowLatestCaptionInTime();
    void ShowLatestCaption();
    void ShowNextMessage();

    std::mutex mutex_;
    HWND window_;  // null once detached; only the UI thread changes it
    CaptionPacer captions_;
    std::deque<std::string> messages_;  // posted and not yet shown, oldest first
};
