#include "server/loginbackoff.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

TEST(LoginBackoffTest, WaitsDoubleAfterTheFreeFailuresUpToTheCap)
{
    LoginBackoff backoff({ 2, 1000ms, 5000ms, 1h });
    // Failure number and the wait it starts.
    const std::pair<int, std::chrono::milliseconds> steps[] = { { 1, 0ms }, { 2, 0ms },
        { 3, 1000ms }, { 4, 2000ms }, { 5, 4000ms }, { 6, 5000ms }, { 7, 5000ms } };
    std::chrono::milliseconds now = 0ms;
    for (const auto& [failure, wait] : steps) {
        EXPECT_EQ(backoff.waitLeft("k", now), 0ms) << failure;
        EXPECT_EQ(backoff.failed("k", now), wait) << failure;
        EXPECT_EQ(backoff.waitLeft("k", now), wait) << failure;
        now += wait;
    }
    EXPECT_EQ(backoff.waitLeft("other", now), 0ms);
    backoff.succeeded("k");
    EXPECT_EQ(backoff.failed("k", now), 0ms);
}

TEST(LoginBackoffTest, OneRefusalNotedPerWaitAndOldKeysForgotten)
{
    LoginBackoff backoff({ 0, 1000ms, 60000ms, 10min });
    EXPECT_FALSE(backoff.firstRefusal("k"));
    backoff.failed("k", 0ms);
    EXPECT_TRUE(backoff.firstRefusal("k"));
    EXPECT_FALSE(backoff.firstRefusal("k"));
    backoff.failed("k", 1000ms); // a new wait is a new episode
    EXPECT_TRUE(backoff.firstRefusal("k"));
    backoff.forgetOld(10min);
    EXPECT_EQ(backoff.keyCount(), 1u);
    backoff.forgetOld(11min);
    EXPECT_EQ(backoff.keyCount(), 0u);
    // No first delay: never a wait.
    LoginBackoff off({ 0, 0ms, 0ms, 1h });
    EXPECT_EQ(off.failed("k", 0ms), 0ms);
    EXPECT_EQ(off.waitLeft("k", 0ms), 0ms);
}

} // namespace
