// Runs one job through the real batch run without a window, for the benchmark:
// the job fields come from the command line, and what the run showed, how long
// it took and the process's peak memory are printed at the end.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "BatchRun.h"
#include "HeadlessWindow.h"
#include "JobFields.h"
#include "PageFetch.h"

namespace {

constexpr const char* kUsage =
    "usage: quellory-bench-run SETTINGS_FILE TEMPLATE FIRST LAST DIRECTORY STEM SUFFIX COUNTER "
    "[overwrite|skip]\n";

// The job the command line describes, in the order of the fields Edit1 to Edit7.
JobFields FieldsFromArguments(char** fieldArgs, std::string_view choice) {
    JobFields fields;
    for (int i = 0; i < kJobFieldCount; ++i) {
        fields.texts[i] = fieldArgs[i];
    }
    fields.sameNameChoice = choice == "skip" ? kChoiceSkip : kChoiceOverwrite;
    return fields;
}

// The largest resident set the process has had so far, in KiB.
long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    const bool hasChoice = argc == 2 + kJobFieldCount + 1;
    if (argc != 2 + kJobFieldCount && !hasChoice) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string_view choice = hasChoice ? argv[argc - 1] : "overwrite";
    if (choice != "overwrite" && choice != "skip") {
        std::fputs(kUsage, stderr);
        return 2;
    }

    InitPageFetch();
    HeadlessWindow window(FieldsFromArguments(argv + 2, choice), argv[1]);
    const auto start = std::chrono::steady_clock::now();
    BatchThreadProc(window);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    std::printf("caption changes: %d\n", window.CaptionChanges());
    std::printf("final caption: %s\n", window.Caption().c_str());
    std::printf("run seconds: %.6f\n", elapsed.count());
    std::printf("peak rss KiB: %ld\n", PeakResidentKiB());
    const auto messages = window.Messages();
    for (const auto& message : messages) {
        std::fprintf(stderr, "message: %s\n", message.c_str());
    }
    return messages.empty() ? 0 : 1;
}
