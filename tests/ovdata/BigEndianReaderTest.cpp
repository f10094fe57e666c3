#include "ovdata/BigEndianReader.h"

#include <gtest/gtest.h>
#include <vector>

using ov::BigEndianReader;

TEST(BigEndianReader, ReadsSignedBigEndianAndRefusesToPassTheEnd) {
    const std::vector<std::uint8_t> bytes = {0xFF, 0xFF, 0xFF, 0xFE, 0x80, 0x00, 0x7F, 0xAB, 0xCD};
    BigEndianReader reader(bytes);
    EXPECT_EQ(reader.readInt32(), -2);
    EXPECT_EQ(reader.readInt16(), -32768);
    EXPECT_EQ(reader.readByte(), 0x7F);
    EXPECT_FALSE(reader.failed());
    EXPECT_EQ(reader.remaining(), 2u);

    // A read that does not fit takes nothing, and the failure sticks even for reads that would.
    EXPECT_EQ(reader.readInt32(), 0);
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.readInt16(), 0);
    EXPECT_TRUE(reader.readBytes(1).empty());
    EXPECT_FALSE(reader.has(0));
}
