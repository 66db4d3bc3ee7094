// Runs one job through the real batch run without a window, for the benchmark:
// the job fields come from the command line, and what the run showed, how long
// it took and the process's peak memory are printed at the end.

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BatchRun.h"
#include "BenchJob.h"
#include "HeadlessWindow.h"
#include "PageFetch.h"

int main(int argc, char** argv)
{
    const auto job = ParseBenchJob(std::vector<std::string>(argv + 1, argv + argc), "quellory-bench-run");
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
