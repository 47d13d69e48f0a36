// The bounded reader: a field that runs past the end reads 0 for its missing bytes, the
// reader says it ran short, and it stays at the end.
#include "platform/byte_order.h"
#include <gtest/gtest.h>

TEST(ByteReader, ShortReadGivesZerosAndIsReported) {
    const uint8_t bytes[] = {0x34, 0x12, 0x78, 0x56, 0xAB};
    ByteReader in(bytes, sizeof bytes);
    EXPECT_EQ(in.U32LE(), 0x56781234u);
    EXPECT_FALSE(in.Short());
    EXPECT_EQ(in.U16BE(), 0xAB00u);  // one byte left: the other reads 0
    EXPECT_TRUE(in.Short());
    EXPECT_EQ(in.Offset(), sizeof bytes);
    EXPECT_EQ(in.Take(1), nullptr);

    ByteReader skipped(bytes, sizeof bytes);
    skipped.Skip(6);
    EXPECT_TRUE(skipped.Short());
    EXPECT_EQ(skipped.Remaining(), 0u);
    EXPECT_EQ(skipped.U8(), 0u);
}
