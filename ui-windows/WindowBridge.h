#pragma once

#include <windows.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <string>

#include "BatchWindow.h"
#include "JobFields.h"

// The main window as runs see it. Runs live on their own threads and must never
// touch a control, so the bridge keeps a copy of what the window shows (updated
// on the UI thread as fields change) and hands captions and messages back to
// the UI thread with PostMessage. Runs keep the bridge alive through a
// shared_ptr, so it may outlive the window; Detach() cuts it off from it.
class WindowBridge : public BatchWindow {
public:
    // A bridge serving `window`, whose window procedure passes every message
    // to HandleMessage first.
    explicit WindowBridge(HWND window);

    // UI thread: records the settings file path runs are to use.
    void SetIniFile(const std::string& iniFile);

    // UI thread: records the text `field` now shows.
    void SetFieldText(JobField field, const std::string& text);

    // UI thread: records the item `ComboBox1` now shows.
    void SetChoiceIndex(int index);

    // UI thread: the window is going; later calls from runs reach nothing.
    void Detach();

    // UI thread: serves the bridge's own posted messages and timer; returns
    // whether `message` was one of them.
    bool HandleMessage(UINT message, WPARAM wParam);

    // Any thread: shows a caption still waiting for its turn at once; for the
    // last caption of a run.
    void ShowCaptionNow();

    std::string FieldText(JobField field) override;
    int ChoiceIndex() override;
    void SetCaption(const std::string& caption) override;
    std::string IniFile() override;
    void ShowMessage(const std::string& text) override;

private:
    // The least time between two caption changes.
    static constexpr std::chrono::milliseconds kCaptionInterval{16};

    void ShowLatestCaptionInTime();
    void ShowLatestCaption();
    void ShowNextMessage();

    std::mutex mutex_;
    HWND window_;  // null once detached; only the UI thread changes it
    std::string iniFile_;
    JobFields fields_;
    std::string latestCaption_;
    bool captionPending_ = false;      // a caption update is posted and not yet shown
    std::deque<std::string> messages_;  // posted and not yet shown, oldest first
    std::chrono::steady_clock::time_point lastShown_;  // UI thread only
};
