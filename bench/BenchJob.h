#pragma once

#include <optional>
#include <string>
#include <vector>

#include "JobFields.h"

// A job as the benchmark drivers take it from their command line.
struct BenchJob {
    std::string settingsFile;
    JobFields fields;
};

// Reads SETTINGS_FILE TEMPLATE FIRST LAST DIRECTORY STEM SUFFIX COUNTER
// [overwrite|skip]; prints the usage of `program` and returns nothing when
// the arguments don't fit.
std::optional<BenchJob> ParseBenchJob(const std::vector<std::string>& args, const char* program);

// Prints what the run showed, how long it took and the process's peak memory.
void PrintRunReport(int captionChanges, const std::string& finalCaption, double seconds);
