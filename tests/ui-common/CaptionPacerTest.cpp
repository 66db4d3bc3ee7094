#include "CaptionPacer.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace std::chrono_literals;

namespace {

// Any fixed moment will do: the pacer only compares times it is given.
const CaptionPacer::Clock::time_point kStart = CaptionPacer::Clock::time_point{} + 1h;

}  // namespace

TEST(CaptionPacer, OneUpdateAtATimeCarriesTheLatestCaption)
{
    CaptionPacer pacer;
    EXPECT_FALSE(pacer.Pending());
    EXPECT_TRUE(pacer.Offer("http://a/1"));
    EXPECT_FALSE(pacer.Offer("http://a/2"));
    EXPECT_FALSE(pacer.Offer("http://a/3"));
    EXPECT_TRUE(pacer.Pending());
    EXPECT_EQ(pacer.Take(kStart), "http://a/3");
    EXPECT_FALSE(pacer.Pending());

    // Once shown, the next caption gets an update of its own.
    EXPECT_TRUE(pacer.Offer("文件生成完毕！"));
    EXPECT_EQ(pacer.Take(kStart + 1s), "文件生成完毕！");
}

TEST(CaptionPacer, AnUpdateThatNeverWentOutDoesNotHoldBackTheNext)
{
    CaptionPacer pacer;
    ASSERT_TRUE(pacer.Offer("http://a/1"));
    pacer.Withdraw();
    EXPECT_FALSE(pacer.Pending());
    EXPECT_TRUE(pacer.Offer("http://a/2"));
}

TEST(CaptionPacer, CaptionsShowAtLeastAnIntervalApart)
{
    CaptionPacer pacer;
    // Nothing shown yet: the first caption shows at once.
    EXPECT_EQ(pacer.WaitAt(kStart), 0ms);

    pacer.Offer("http://a/1");
    pacer.Take(kStart);
    const struct {
        CaptionPacer::Clock::duration since;
        std::chrono::milliseconds wait;
    } cases[] = {
        {0ms, CaptionPacer::kInterval},
        {6ms, CaptionPacer::kInterval - 6ms},
        // Part of a millisecond still to go is waited for, not skipped.
        {CaptionPacer::kInterval - 1us, 1ms},
        {CaptionPacer::kInterval, 0ms},
        {1s, 0ms},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pacer.WaitAt(kStart + c.since), c.wait) << c.since.count();
}
