#pragma once

#include <string>
#include <string_view>

#include "PageSink.h"
#include "NativeFile.h"

// The new content of the file at `path`, written into a temporary file beside
// it and put in its place only on Commit; so the file at `path` is at all
// times either the old one or wholly the new one. A symbolic link at `path`
// is written through: the file at the end of its chain is the one replaced
// (created, for a dangling link), and the link stays. Another hard link to
// the old file keeps the old bytes.
class OutputFile : public PageSink {
public:
    // Fixes `path` against the current directory and creates the temporary
    // file; see IsOpen for whether that worked. Nothing is created where an
    // existing file may not be replaced: one that is no regular file, or one
    // this user may not write (no write bit at all, for root).
    explicit OutputFile(const std::string& path);
    // Removes the temporary file unless it was committed.
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Whether the temporary file is there to take bytes and to be committed.
    bool IsOpen() const { return file_.valid(); }

    // Appends `bytes` to the new content; returns false, now and from then
    // on, once a write has failed.
    bool Take(std::string_view bytes) override;

    // Puts the new content in place of the file at `path`; returns whether it
    // is there. When not, the temporary file is gone and the old file is as it was.
    bool Commit();

private:
    void Discard();

    std::string path_;      // the file to replace: absolute, never a link
    std::string tempPath_;  // empty once committed or discarded
    NativeFile file_;
    bool writeFailed_ = false;
};

// Removes every output file still being written and refuses new ones; for a
// program that is closing while runs may still be going. Waits for the
// removals about a second at most, so a file call that hangs cannot keep the
// program from ending.
void RemoveOutputFilesInFlight();
