#include "net/bytebuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ByteBuffer filled(int32_t length)
{
    ByteBuffer buffer;
    std::string bytes(static_cast<size_t>(length), 'x');
    for (int32_t i = 0; i < length; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<char>('a' + i % 26);
    buffer.append(bytes);
    return buffer;
}

} // namespace

TEST(ByteBuffer, GrowsInWholeBlocks)
{
    struct Case {
        int32_t before, added, capacity;
    } cases[] = {
        { 0, 1, 2048 },
        { 0, 2048, 2048 },
        { 0, 2049, 4096 },
        { 0, 5000, 6144 },
        { 2000, 48, 2048 },
        { 2000, 49, 4096 },
        { 2048, 2048, 4096 },
        { 2048, 2049, 6144 },
        { 3000, 4000, 8192 },
    };
    for (const Case& c : cases) {
        ByteBuffer buffer = filled(c.before);
        ASSERT_TRUE(buffer.append(std::string(static_cast<size_t>(c.added), 'y')));
        EXPECT_EQ(buffer.capacity(), c.capacity) << c.before << " + " << c.added;
        EXPECT_EQ(buffer.length(), c.before + c.added);
        EXPECT_EQ(buffer.view().substr(static_cast<size_t>(c.before)),
            std::string(static_cast<size_t>(c.added), 'y'));
        EXPECT_EQ(buffer.view().substr(0, static_cast<size_t>(c.before)), filled(c.before).view());
    }
}

TEST(ByteBuffer, EmptyBufferHoldsNoStorage)
{
    ByteBuffer buffer;
    EXPECT_EQ(buffer.capacity(), 0);
    EXPECT_EQ(buffer.data(), nullptr);
    EXPECT_TRUE(buffer.append(std::string_view()));
    EXPECT_EQ(buffer.capacity(), 0);
}

TEST(ByteBuffer, NonPositiveCountAppendsUpToTheNul)
{
    ByteBuffer buffer;
    buffer.append("abc\0def", 0);
    buffer.append("gh\0ij", -3);
    buffer.append("kl\0mn", 4);
    EXPECT_EQ(buffer.view(), std::string_view("abcghkl\0m", 9));
}

TEST(ByteBuffer, ConsumeShrinksBackToOneBlock)
{
    struct Case {
        int32_t length, consumed, capacity;
    } cases[] = {
        // One block: the rest moves down in place, the block stays even when emptied.
        { 100, 40, 2048 },
        { 2048, 2048, 2048 },
        { 2048, 5000, 2048 },
        // More than one block: kept while more than a block remains...
        { 5000, 2000, 6144 },
        // ...moved into a fresh single block when at most a block remains...
        { 5000, 2952, 2048 },
        { 5000, 4999, 2048 },
        { 5000, 0, 6144 },
        // ...and released when emptied.
        { 5000, 5000, 0 },
        { 5000, 9000, 0 },
    };
    for (const Case& c : cases) {
        ByteBuffer buffer = filled(c.length);
        const std::string rest(
            filled(c.length).view().substr(static_cast<size_t>(std::min(c.consumed, c.length))));
        buffer.consume(c.consumed);
        EXPECT_EQ(buffer.capacity(), c.capacity) << c.length << " - " << c.consumed;
        EXPECT_EQ(buffer.view(), rest) << c.length << " - " << c.consumed;
    }
}

TEST(ByteBuffer, SmallRemainderKeepsItsBytesAfterShrinking)
{
    ByteBuffer buffer = filled(6000);
    buffer.consume(5990);
    EXPECT_EQ(buffer.capacity(), 2048);
    EXPECT_EQ(buffer.view(), filled(6000).view().substr(5990));
    buffer.append("!");
    EXPECT_EQ(buffer.length(), 11);
    EXPECT_EQ(buffer.capacity(), 2048);
}
