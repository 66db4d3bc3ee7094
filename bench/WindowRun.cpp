// Runs one job from the real main window, in-process and without a screen, for
// the benchmark's window/headless figure: the job fields come from the command
// line, OK is pressed, and the time until the window shows the completion
// caption is printed with what the window showed.

#include <sys/resource.h>

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "JobFields.h"
#include "MainForm.h"
#include "PageFetch.h"

namespace {

constexpr const char* kUsage =
    "usage: quellory-bench-window SETTINGS_FILE TEMPLATE FIRST LAST DIRECTORY STEM SUFFIX COUNTER "
    "[overwrite|skip]\n";
constexpr const char* kCompletionCaption = "文件生成完毕！";
// A run that is still going after this long has hung; the benchmark must not wait forever.
constexpr std::chrono::minutes kPatience{10};

// The largest resident set the process has had so far, in KiB.
long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    // Qt takes its own options out of argv, so ours are copied first.
    const std::vector<std::string> args(argv + 1, argv + argc);
    const bool hasChoice = args.size() == 1 + kJobFieldCount + 1;
    if (args.size() != 1 + kJobFieldCount && !hasChoice) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string choice = hasChoice ? args.back() : "overwrite";
    if (choice != "overwrite" && choice != "skip") {
        std::fputs(kUsage, stderr);
        return 2;
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    InitPageFetch();
    QApplication app(argc, argv);

    TFormMain form;  // its creation fixes the settings file beside the executable
    form.UseSettingsFile(args[0]);
    form.show();
    for (int i = 0; i < kJobFieldCount; ++i) {
        form.EditOf(static_cast<JobField>(i))->setText(QString::fromStdString(args[1 + i]));
    }
    form.ComboBox1->setCurrentIndex(choice == "skip" ? kChoiceSkip : kChoiceOverwrite);
    // A user presses OK on a window that is already drawn; drawing it the first
    // time loads the fonts, which must not overlap the timed run.
    form.repaint();
    QCoreApplication::processEvents();

    const QString completionCaption = QString::fromUtf8(kCompletionCaption);
    int captionChanges = 0;
    std::chrono::duration<double> elapsed{};
    std::chrono::steady_clock::time_point start;
    QObject::connect(&form, &QWidget::windowTitleChanged, [&](const QString& title) {
        ++captionChanges;
        if (title.startsWith(completionCaption)) {  // a run with failed pages adds their count
            elapsed = std::chrono::steady_clock::now() - start;
            app.exit(0);
        }
    });
    QTimer::singleShot(kPatience, &app, [&app] { app.exit(1); });
    // Pressed once the loop runs, as a user would, with the clock started just before.
    QTimer::singleShot(0, &form, [&] {
        start = std::chrono::steady_clock::now();
        form.ActionYes->trigger();
    });
    const int status = app.exec();

    std::printf("caption changes: %d\n", captionChanges);
    std::printf("final caption: %s\n", form.windowTitle().toStdString().c_str());
    std::printf("run seconds: %.6f\n", elapsed.count());
    std::printf("peak rss KiB: %ld\n", PeakResidentKiB());
    if (status != 0) {
        std::fputs("the run did not finish in time\n", stderr);
    }
    return status;
}
