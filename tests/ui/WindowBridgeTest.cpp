#include "WindowBridge.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "UiTestSupport.h"

namespace {

// Runs `work` on another thread, as a run would, and waits for it.
template <typename Work>
void OnWorkerThread(Work work)
{
    std::thread worker(work);
    worker.join();
}

}  // namespace

TEST(WindowBridge, RunsReadWhatTheWindowLastRecorded)
{
    QWidget window;
    WindowBridge bridge(&window);
    bridge.SetIniFile("/tmp/x/Trovanix.ini");
    bridge.SetFieldText(JobField::Edit1, "http://a/[-A-]");
    bridge.SetFieldText(JobField::Edit7, "001");
    bridge.SetFieldText(JobField::Edit7, "0001");
    bridge.SetChoiceIndex(kChoiceSkip);

    std::string template1, counter, iniFile;
    int choice = -1;
    OnWorkerThread([&] {
        template1 = bridge.FieldText(JobField::Edit1);
        counter = bridge.FieldText(JobField::Edit7);
        choice = bridge.ChoiceIndex();
        iniFile = bridge.IniFile();
    });
    EXPECT_EQ(template1, "http://a/[-A-]");
    EXPECT_EQ(counter, "0001");
    EXPECT_EQ(choice, kChoiceSkip);
    EXPECT_EQ(iniFile, "/tmp/x/Trovanix.ini");
}

TEST(WindowBridge, CaptionsSetWhileTheWindowIsBusyShowOnlyTheLatest)
{
    QWidget window;
    WindowBridge bridge(&window);
    int changes = 0;
    QObject::connect(&window, &QWidget::windowTitleChanged, [&] { ++changes; });

    OnWorkerThread([&] {
        for (int page = 1; page <= 10000; ++page)
            bridge.SetCaption("http://a/" + std::to_string(page));
    });
    ASSERT_TRUE(WaitFor([&] { return window.windowTitle() == "http://a/10000"; }));
    QApplication::processEvents();
    EXPECT_EQ(changes, 1);

    // Once shown, the next caption gets through as well.
    OnWorkerThread([&] { bridge.SetCaption("文件生成完毕！"); });
    EXPECT_TRUE(WaitFor([&] { return window.windowTitle() == "文件生成完毕！"; }));
    EXPECT_EQ(changes, 2);
}

TEST(WindowBridge, CaptionsShowExactlyAsTheRunGivesThem)
{
    QWidget window;
    window.setWindowTitle("Quellory");
    window.show();
    WindowBridge bridge(&window);
    // Qt would read "[*]" as the place of its "modified" mark.
    const std::string captions[] = {
        "http://a/list.asp?x=[*]&p=1", "[*]", "[*][*]x[*][*][*]", "[[*]]", "http://a/[*", "*]", "",
    };
    for (const std::string& caption : captions) {
        OnWorkerThread([&] { bridge.SetCaption(caption); });
        EXPECT_TRUE(WaitFor([&] { return window.windowHandle()->title().toStdString() == caption; }))
            << caption << " shows as " << window.windowHandle()->title().toStdString();
    }
    window.setWindowModified(true);
    OnWorkerThread([&] { bridge.SetCaption("http://a/[*]/2"); });
    EXPECT_TRUE(WaitFor([&] { return window.windowHandle()->title() == "http://a/[*]/2"; }));
}

TEST(WindowBridge, MessageFromARunShowsAsABoxOnTheWindowThread)
{
    QWidget window;
    WindowBridge bridge(&window);
    OnWorkerThread([&] { bridge.ShowMessage("起点必须是整数"); });

    ASSERT_TRUE(WaitFor([] { return VisibleMessageBox() != nullptr; }));
    QMessageBox* box = VisibleMessageBox();
    EXPECT_EQ(box->text(), "起点必须是整数");
    EXPECT_EQ(box->windowTitle(), "Windowbridgetest");
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->thread(), QApplication::instance()->thread());
    CloseMessageBoxes();
}

TEST(WindowBridge, RunsOutlivingTheWindowReachNothing)
{
    auto window = std::make_unique<QWidget>();
    auto bridge = std::make_shared<WindowBridge>(window.get());
    // A caption queued just before the window goes must not land on it.
    OnWorkerThread([&] { bridge->SetCaption("http://a/1"); });
    bridge->Detach();
    window.reset();
    QApplication::processEvents();

    OnWorkerThread([&] {
        bridge->SetCaption("http://a/2");
        bridge->ShowMessage("累加变量范围必须是整数");
    });
    QApplication::processEvents();
    EXPECT_EQ(VisibleMessageBox(), nullptr);
}
