#pragma once

#include <QWidget>

#include <mutex>
#include <string>

#include "CaptionPacer.h"
#include "FieldMirror.h"

// The main window as runs see it. Runs live on their own threads and must never
// touch a widget, so the bridge reads the fields from its mirror and hands
// captions and messages back to the UI thread as queued calls. Runs keep the
// bridge alive through a shared_ptr, so it may outlive the window; Detach()
// cuts it off from it.
class WindowBridge : public FieldMirror {
public:
    // A bridge serving `window`.
    explicit WindowBridge(QWidget* window);

    // UI thread: the window is going; later calls from runs reach nothing.
    void Detach();

    // Any thread: shows a caption still waiting for its turn at once; for the
    // last caption of a run.
    void ShowCaptionNow();

    void SetCaption(const std::string& caption) override;
    void ShowMessage(const std::string& text) override;

private:
    void ShowLatestCaptionInTime();
    void ShowLatestCaption();

    std::mutex mutex_;
    QWidget* window_;  // null once detached; only the UI thread changes it
    CaptionPacer captions_;
};
