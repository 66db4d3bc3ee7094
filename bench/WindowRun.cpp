// Runs one job from the real main window, in-process and without a screen, for
// the benchmark's window/headless figure: the job fields come from the command
// line, OK is pressed, and the time until the window shows the completion
// caption is printed with what the window showed.

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchJob.h"
#include "MainForm.h"
#include "PageFetch.h"

namespace {

constexpr const char* kCompletionCaption = "文件生成完毕！";
// A run that is still going after this long has hung; the benchmark must not wait forever.
constexpr std::chrono::minutes kPatience{10};

}  // namespace

int main(int argc, char** argv) {
    // Qt takes its own options out of argv, so ours are copied first.
    const auto job = ParseBenchJob(std::vector<std::string>(argv + 1, argv + argc), "quellory-bench-window");
    if (!job)
        return 2;

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    InitPageFetch();
    QApplication app(argc, argv);

    TFormMain form;  // its creation fixes the settings file beside the executable
    form.UseSettingsFile(job->settingsFile);
    form.show();
    for (int i = 0; i < kJobFieldCount; ++i) {
        const auto field = static_cast<JobField>(i);
        form.EditOf(field)->setText(QString::fromStdString(job->fields[field]));
    }
    form.ComboBox1->setCurrentIndex(job->fields.sameNameChoice);
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

    PrintRunReport(captionChanges, form.windowTitle().toStdString(), elapsed.count());
    if (status != 0) {
        std::fputs("the run did not finish in time\n", stderr);
    }
    return status;
}
