#include "BenchJob.h"

#include <cstdio>

#include "PeakMemory.h"

std::optional<BenchJob> ParseBenchJob(const std::vector<std::string>& args, const char* program)
{
    const bool hasChoice = args.size() == 1 + kJobFieldCount + 1;
    const std::string choice = hasChoice ? args.back() : "overwrite";
    if ((args.size() != 1 + kJobFieldCount && !hasChoice) || (choice != "overwrite" && choice != "skip")) {
        std::fprintf(stderr,
                     "usage: %s SETTINGS_FILE TEMPLATE FIRST LAST DIRECTORY STEM SUFFIX COUNTER "
                     "[overwrite|skip]\n",
                     program);
        return std::nullopt;
    }
    BenchJob job{args[0], {}};
    for (int i = 0; i < kJobFieldCount; ++i)
        job.fields.texts[i] = args[1 + i];
    job.fields.sameNameChoice = choice == "skip" ? kChoiceSkip : kChoiceOverwrite;
    return job;
}

void PrintRunReport(int captionChanges, const std::string& finalCaption, double seconds)
{
    std::printf("caption changes: %d\n", captionChanges);
    std::printf("final caption: %s\n", finalCaption.c_str());
    std::printf("run seconds: %.6f\n", seconds);
    std::printf("peak rss KiB: %ld\n", PeakResidentKiB());
}
