#pragma once

#include <sys/resource.h>

#include <csignal>
#include <stdexcept>

// Lets no file of this process grow past a size for the life of the object,
// as a full disk would: a write beyond it fails instead of raising a signal.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        if (getrlimit(RLIMIT_FSIZE, &previous_) != 0)
            throw std::runtime_error("cannot read the file size limit");
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            throw std::runtime_error("cannot set the file size limit");
    }
    ~ScopedFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};
