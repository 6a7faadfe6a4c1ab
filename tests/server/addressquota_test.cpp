#include "server/addressquota.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

TEST(AddressQuotaTest, LimitPerAddressOverASlidingWindow)
{
    AddressQuota quota(3, 1h);
    EXPECT_TRUE(quota.take("10.0.0.1", 0min));
    EXPECT_TRUE(quota.take("10.0.0.1", 10min));
    EXPECT_TRUE(quota.take("10.0.0.1", 20min));
    EXPECT_FALSE(quota.take("10.0.0.1", 30min));
    // Refusals are not counted; other addresses have their own count.
    EXPECT_TRUE(quota.take("10.0.0.2", 30min));
    EXPECT_FALSE(quota.take("10.0.0.1", 59min));
    // The oldest leaves the window after an hour, and frees exactly one place.
    EXPECT_TRUE(quota.take("10.0.0.1", 60min));
    EXPECT_FALSE(quota.take("10.0.0.1", 61min));
    EXPECT_TRUE(quota.take("10.0.0.1", 70min));
}

TEST(AddressQuotaTest, AddressesWithNothingInTheWindowAreForgotten)
{
    AddressQuota quota(2, 1h);
    EXPECT_TRUE(quota.take("a", 0min));
    EXPECT_TRUE(quota.take("b", 30min));
    quota.forgetOld(59min);
    EXPECT_EQ(quota.addressCount(), 2u);
    quota.forgetOld(60min);
    EXPECT_EQ(quota.addressCount(), 1u);
    quota.forgetOld(90min);
    EXPECT_EQ(quota.addressCount(), 0u);
}

TEST(AddressQuotaTest, LimitZeroAllowsEverything)
{
    AddressQuota quota(0, 1h);
    for (int i = 0; i < 100; ++i)
        EXPECT_TRUE(quota.take("a", 0min));
    EXPECT_EQ(quota.addressCount(), 0u);
}

} // namespace
