// Runs one job through the real batch run without a window, for the benchmark:
// the job fields come from the command line, and what the run showed, how long
// it took and the process's peak memory are printed at the end.

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "Utf16.h"
#endif

#include "BatchRun.h"
#include "BenchJob.h"
#include "HeadlessWindow.h"
#include "PageFetch.h"

namespace {

// The arguments after the program's name, in UTF-8: on Windows argv holds
// them in the ANSI code page, which cannot hold every name.
std::vector<std::string> Arguments([[maybe_unused]] int argc, [[maybe_unused]] char** argv)
{
#ifdef _WIN32
    std::vector<std::string> args;
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            args.push_back(FromUtf16(wide[i]));
        LocalFree(wide);
    }
    return args;
#else
    return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    const auto job = ParseBenchJob(Arguments(argc, argv), "quellory-bench-run");
    if (!job)
        return 2;

    InitPageFetch();
    HeadlessWindow window(job->fields, job->settingsFile);
    const auto start = std::chrono::steady_clock::now();
    BatchThreadProc(window);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    PrintRunReport(window.CaptionChanges(), window.Caption(), elapsed.count());
    const auto messages = window.Messages();
    for (const auto& message : messages)
        std::fprintf(stderr, "message: %s\n", message.c_str());
    return messages.empty() ? 0 : 1;
}
