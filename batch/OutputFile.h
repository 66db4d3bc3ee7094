#pragma once

#include <string>
#include <string_view>

#include "PageSink.h"
#include "UniqueFd.h"

// The new content of the file at `path`, written into a temporary file beside
// it and put in its place only on Commit; so the file at `path` is at all
// times either the old one or wholly the new one.
class OutputFile : public PageSink {
public:
    // Creates the temporary file; see IsOpen for whether that worked.
    explicit OutputFile(std::string path);
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

    const std::string path_;
    std::string tempPath_;  // empty once committed or discarded
    UniqueFd file_;
    bool writeFailed_ = false;
};

// Removes every output file still being written and refuses new ones; for a
// program that is closing while runs may still be going.
void RemoveOutputFilesInFlight();
