#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "NativeFile.h"

// The file-system calls the registry makes. A call may hang for good (a
// network mount whose server has gone), so none is made under the registry's
// lock; tests put hanging ones in their place.
class TempFileCalls {
public:
    virtual ~TempFileCalls() = default;

    // Creates `path` as a new empty file with the usual permissions (hidden,
    // on Windows) and opens it for writing; an invalid file, errno EEXIST
    // when the name is taken, when it cannot.
    virtual NativeFile CreateNew(const std::string& path);

    // Renames `from` over `to` in one step, the new file taking the old one's
    // attributes on Windows; returns whether it was done.
    virtual bool Rename(const std::string& from, const std::string& to);

    // Removes the file `path`.
    virtual void Remove(const std::string& path);
};

// This process's id, which no other running process has.
unsigned long CurrentProcessId();

// Temporary files being written before they take their final names, listed so
// that a program on its way out can remove them all.
class TempFileRegistry {
public:
    explicit TempFileRegistry(std::shared_ptr<TempFileCalls> calls = std::make_shared<TempFileCalls>())
        : calls_(std::move(calls)), pid_(CurrentProcessId())
    {
    }
    TempFileRegistry(const TempFileRegistry&) = delete;
    TempFileRegistry& operator=(const TempFileRegistry&) = delete;

    // Creates a new empty file beside `targetPath`, under a hidden name made
    // from the target's, and lists it; sets `tempPath` and returns the open
    // file, or an invalid one when the file cannot be created or the registry
    // is closed.
    NativeFile Create(const std::string& targetPath, std::string& tempPath);

    // Renames the listed `tempPath` over `targetPath` and unlists it; returns
    // whether the rename was done. A file the registry no longer lists (the
    // clean-up on the way out took it) is not renamed.
    bool Commit(const std::string& tempPath, const std::string& targetPath);

    // Removes the listed `tempPath` and unlists it.
    void Discard(const std::string& tempPath);

    // Refuses new files from now on and removes every listed one on a thread
    // of its own; also waits for creations already under way to take their
    // files away again. Waits for all that at most `patience`; returns whether
    // it was all done by then. A call that hangs goes on after the return.
    bool RemoveAllAndClose(std::chrono::milliseconds patience);

private:
    // Starts one creation unless the registry is closed; sets `number` for its name.
    bool BeginCreation(std::uint64_t& number);
    void EndCreation();
    // Lists `tempPath` unless the registry has closed meanwhile.
    bool List(const std::string& tempPath);
    bool IsListed(const std::string& tempPath);
    void Unlist(const std::string& tempPath);

    const std::shared_ptr<TempFileCalls> calls_;
    const unsigned long pid_;  // names made by other processes never clash with ours
    std::mutex mutex_;  // guards what follows, and is never held across a file call
    std::condition_variable creationEnded_;
    int creationsUnderWay_ = 0;
    std::set<std::string> paths_;
    std::uint64_t nextNumber_ = 0;
    bool closed_ = false;
};
