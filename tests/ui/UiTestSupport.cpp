#include "UiTestSupport.h"

#include <QApplication>
#include <QTest>

bool WaitFor(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 5000);
}

QMessageBox* VisibleMessageBox()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box && box->isVisible())
            return box;
    }
    return nullptr;
}

void CloseMessageBoxes()
{
    while (QMessageBox* box = VisibleMessageBox())
        box->close();
    // Boxes delete themselves on close, a moment later.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

JoinedThreads::~JoinedThreads()
{
    for (std::thread& thread : threads_)
        thread.join();
}

ThreadStarter JoinedThreads::Starter()
{
    return [this](std::function<void()> run) { threads_.emplace_back(std::move(run)); };
}
