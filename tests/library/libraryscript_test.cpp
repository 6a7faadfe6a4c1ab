#include "libraryscript.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(LibraryScript, RandomOperationsKeepEveryTreeWhole)
{
    for (const uint32_t seed : { 1u, 2u, 3u, 4u }) {
        std::mt19937 random(seed);
        const auto next = [&random](int n) { return static_cast<int>(random() % uint32_t(n)); };
        EXPECT_EQ(runLibraryScript(next, 1500), "") << "seed " << seed;
    }
}

} // namespace
