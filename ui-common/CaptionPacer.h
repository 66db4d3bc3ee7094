#pragma once

#include <chrono>
#include <mutex>
#include <string>

// Decides when the window shows the captions a run sets, one per page: at most
// one update is on its way to the UI thread at a time, it shows the latest
// caption, and two captions show at least kInterval apart. The window posts the
// updates and sets the caption in its toolkit's own way.
class CaptionPacer {
public:
    using Clock = std::chrono::steady_clock;

    // The least time between two caption changes; at a screen's pace nobody
    // can tell the difference, and a fast run does not wake the UI thread once
    // a page.
    static constexpr std::chrono::milliseconds kInterval{16};

    // Any thread: keeps `caption` as the one to show; returns true when no
    // update is on its way yet, so the caller is to post one.
    bool Offer(const std::string& caption);

    // Any thread: the update the caller was told to post never went out.
    void Withdraw();

    // Any thread: whether an update is on its way and the caption not yet shown.
    bool Pending();

    // UI thread: how long an update arriving at `now` waits before it shows
    // the caption; zero to show it at once.
    std::chrono::milliseconds WaitAt(Clock::time_point now);

    // UI thread: the caption to show at `now`; the next caption offered gets
    // an update of its own.
    std::string Take(Clock::time_point now);

private:
    std::mutex mutex_;
    std::string latest_;
    bool pending_ = false;
    Clock::time_point lastShown_;
};
