#include "graphics/core/ByteReader.h"

#include <gtest/gtest.h>

#include <array>

TEST(ByteReader, ReadsBothByteOrdersAndSignedValues)
{
    const std::array<std::uint8_t, 8> bytes{0x12, 0x34, 0x56, 0x78, 0xFF, 0xFE, 0x80, 0x00};
    gfx::ByteReader be(bytes);
    EXPECT_EQ(be.u32be(), 0x12345678u);
    EXPECT_EQ(be.s16be(), -2);
    EXPECT_EQ(be.u16be(), 0x8000u);
    EXPECT_TRUE(be.atEnd());
    EXPECT_FALSE(be.failed());

    gfx::ByteReader le(bytes);
    EXPECT_EQ(le.u16le(), 0x3412u);
    EXPECT_EQ(le.u32le(), 0xFEFF7856u);
    EXPECT_EQ(le.s16le(), 0x0080);
}

// A read that does not fit yields zero, moves to the end and sticks as failed, so a group of
// reads can be checked once; it never reads the bytes that are there.
TEST(ByteReader, RefusesToReadOrSeekPastTheEnd)
{
    const std::array<std::uint8_t, 3> bytes{0xAA, 0xBB, 0xCC};
    gfx::ByteReader r(bytes);
    EXPECT_EQ(r.u8(), 0xAAu);
    EXPECT_EQ(r.u32be(), 0u);
    EXPECT_TRUE(r.failed());
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(r.u8(), 0u);
    EXPECT_TRUE(r.bytes(1).empty());

    gfx::ByteReader s(bytes);
    EXPECT_TRUE(s.seek(3));
    EXPECT_FALSE(s.failed());
    EXPECT_FALSE(s.seek(4));
    EXPECT_TRUE(s.failed());

    gfx::ByteReader k(bytes);
    EXPECT_TRUE(k.skip(2));
    EXPECT_FALSE(k.skip(2));
    EXPECT_TRUE(k.failed());

    std::uint16_t peeked = 0;
    gfx::ByteReader p(bytes);
    EXPECT_TRUE(p.peekU16be(peeked));
    EXPECT_EQ(peeked, 0xAABBu);
    EXPECT_EQ(p.pos(), 0u);
    p.skip(2);
    EXPECT_FALSE(p.peekU16be(peeked));
    EXPECT_FALSE(p.failed());
}
