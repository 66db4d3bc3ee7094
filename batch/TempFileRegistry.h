#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <string>

#include <unistd.h>

#include "UniqueFd.h"

// Temporary files being written before they take their final names, listed so
// that a program on its way out can remove them all.
class TempFileRegistry {
public:
    TempFileRegistry() : pid_(getpid()) {}
    TempFileRegistry(const TempFileRegistry&) = delete;
    TempFileRegistry& operator=(const TempFileRegistry&) = delete;

    // Creates a new empty file with the usual permissions beside `targetPath`,
    // under a hidden name made from the target's, and lists it; sets
    // `tempPath` and returns the open file, or an invalid one when the file
    // cannot be created or the registry is closed.
    UniqueFd Create(const std::string& targetPath, std::string& tempPath);

    // Renames the listed `tempPath` over `targetPath` and unlists it; returns
    // whether the rename was done.
    bool Commit(const std::string& tempPath, const std::string& targetPath);

    // Removes the listed `tempPath` and unlists it.
    void Discard(const std::string& tempPath);

    // Removes every listed file and refuses new ones from then on.
    void RemoveAllAndClose();

private:
    std::mutex mutex_;
    std::set<std::string> paths_;
    const pid_t pid_;  // names made by other processes never clash with ours
    std::uint64_t nextNumber_ = 0;
    bool closed_ = false;
};
