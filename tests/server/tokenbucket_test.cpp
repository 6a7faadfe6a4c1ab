#include "server/tokenbucket.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// How many events the bucket allows at `at`, trying up to `tries` of them.
int allowed(TokenBucket& bucket, std::chrono::milliseconds at, int tries = 1000)
{
    int n = 0;
    for (int i = 0; i < tries; ++i)
        n += bucket.take(at) ? 1 : 0;
    return n;
}

TEST(TokenBucketTest, BurstThenTheRate)
{
    TokenBucket bucket(10, 20, 0ms);
    EXPECT_EQ(allowed(bucket, 0ms), 20);
    // 10 per second: one every 100 ms, none in between.
    EXPECT_EQ(allowed(bucket, 99ms), 0);
    EXPECT_EQ(allowed(bucket, 100ms), 1);
    EXPECT_EQ(allowed(bucket, 150ms), 0);
    EXPECT_EQ(allowed(bucket, 200ms), 1);
    // Partial refills add up: 30 ms + 70 ms make one event.
    EXPECT_EQ(allowed(bucket, 230ms), 0);
    EXPECT_EQ(allowed(bucket, 300ms), 1);
    EXPECT_EQ(allowed(bucket, 800ms), 5);
    // A long pause fills it to the burst, no more.
    EXPECT_EQ(allowed(bucket, 1h), 20);
}

TEST(TokenBucketTest, ClockGoingBackRefillsNothing)
{
    TokenBucket bucket(10, 2, 1000ms);
    EXPECT_EQ(allowed(bucket, 1000ms), 2);
    EXPECT_EQ(allowed(bucket, 500ms), 0);
    EXPECT_EQ(allowed(bucket, 1050ms), 0);
    EXPECT_EQ(allowed(bucket, 1100ms), 1);
}

TEST(TokenBucketTest, RateZeroAllowsEverything)
{
    TokenBucket bucket(0, 0, 0ms);
    EXPECT_EQ(allowed(bucket, 0ms), 1000);
}

} // namespace
