#include "CaptionPacer.h"

bool CaptionPacer::Offer(const std::string& caption)
{
    std::lock_guard lock(mutex_);
    latest_ = caption;
    if (pending_)
        return false;
    pending_ = true;
    return true;
}

void CaptionPacer::Withdraw()
{
    std::lock_guard lock(mutex_);
    pending_ = false;
}

bool CaptionPacer::Pending()
{
    std::lock_guard lock(mutex_);
    return pending_;
}

std::chrono::milliseconds CaptionPacer::WaitAt(Clock::time_point now)
{
    std::lock_guard lock(mutex_);
    const auto due = lastShown_ + kInterval;
    if (now >= due)
        return std::chrono::milliseconds::zero();
    return std::chrono::ceil<std::chrono::milliseconds>(due - now);
}

std::string CaptionPacer::Take(Clock::time_point now)
{
    std::lock_guard lock(mutex_);
    pending_ = false;
    lastShown_ = now;
    return latest_;
}
