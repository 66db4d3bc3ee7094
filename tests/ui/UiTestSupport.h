#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "MainForm.h"

// Waits, handling events, until `condition` holds or five seconds have gone;
// returns whether it holds.
bool WaitFor(const std::function<bool()>& condition);

// The message box on screen, or null when there is none.
QMessageBox* VisibleMessageBox();

// Closes every message box on screen.
void CloseMessageBoxes();

// Starts runs on threads that are joined when it goes, so no run outlives a test.
class JoinedThreads {
public:
    JoinedThreads() = default;
    ~JoinedThreads();
    JoinedThreads(const JoinedThreads&) = delete;
    JoinedThreads& operator=(const JoinedThreads&) = delete;

    // A starter for TFormMain::UseThreadStarter.
    ThreadStarter Starter();

    // How many threads have been started.
    std::size_t Count() const { return threads_.size(); }

private:
    std::vector<std::thread> threads_;
};
