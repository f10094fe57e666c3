#include "PictBuilder.h"
#include "PictTestSupport.h"
#include "graphics/core/ByteReader.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace picttest;

// Each damaged picture fails with a message naming the problem.
TEST(PictRobustness, DamagedPicturesFailWithAMessage) {
    const std::vector<std::pair<std::string, const char*>> cases = {
        {fixture("bad_empty.pict"), "empty"},
        {fixture("bad_truncated_header.pict"), "not a PICT"},
        {fixture("bad_truncated_in_pixels.pict"), "cut off"},
        {fixture("bad_no_end_opcode.pict"), "end-of-picture"},
        {fixture("bad_not_a_picture.pict"), "not a PICT"},
        {fixture("bad_count_past_end.pict"), "corrupt"},
        {fixture("bad_colour_table_past_end.pict"), "colour table"},
        {fixture("bad_frame_too_large_for_data.pict"), "too large"},
        {fixture("bad_frame_over_limit.pict"), "too large"},
        {fixture("bad_pixel_size.pict"), "pixel size 3"},
        {fixture("bad_short_packed_rows.pict"), "corrupt"},
        {fixture("bad_reserved_length_past_end.pict"), "past the end"},
        {fixture("bad_quicktime_without_jpeg.pict"), "no JPEG"},
        {fixture("bad_v1_direct_bits.pict"), "version 1"},
        {fixture("bad_clip_region_rescanned.pict"), "far more"},
    };
    for (const auto& [path, messagePart] : cases) {
        SCOPED_TRACE(path);
        const auto result = gfx::decodePictFile(readBytes(path), jpegOptions());
        EXPECT_FALSE(result.ok());
        EXPECT_TRUE(result.image.isNull());
        EXPECT_NE(result.error.find(messagePart), std::string::npos) << result.error;
    }
}

// A picture cut anywhere before its end opcode is incomplete and must say so rather than
// return the part drawn so far.
TEST(PictRobustness, EveryTruncationFails) {
    const auto options = jpegOptions();
    for (const std::string& path :
         {fixture("hand_scaled_offset_modes.pict"), fixture("hand_v1_bitmap.pict"),
          fixture("hand_odd_opcodes_aligned.pict"), fixture("hand_quicktime_jpeg.pict"),
          fixture("hand_mask_region_ext144.pict"), fixture("tool_np_pal_230x4.pict"),
          fixture("public/tm_mire16.pict"), fixture("public/tm_8_reserved_opcodes.pict")}) {
        SCOPED_TRACE(path);
        const auto data = readBytes(path);
        // Without libjpeg-turbo (the Windows cross build) the JPEG picture fails whole, too.
        const bool whole = gfx::jpegDecodingAvailable() || path.find("jpeg") == std::string::npos;
        ASSERT_TRUE(gfx::decodePictFile(data, options).ok() || !whole);
        for (std::size_t cut = 0; cut < data.size(); ++cut) {
            const auto result = gfx::decodePictFile(std::span(data).first(cut), options);
            ASSERT_FALSE(result.ok() || result.error.empty()) << "cut at " << cut;
        }
    }
}

// Single corrupted bytes anywhere in a picture: the decoder may succeed or fail, but it must
// return, with an error message exactly when it has no image.
TEST(PictRobustness, CorruptedBytesNeverCrash) {
    const auto options = jpegOptions();
    for (const char* name :
         {"hand_scaled_offset_modes.pict", "hand_mask_region_ext144.pict", "hand_direct16_pack3.pict",
          "hand_odd_opcodes_aligned.pict", "hand_quicktime_jpeg.pict"}) {
        SCOPED_TRACE(name);
        const auto original = readBytes(fixture(name));
        for (std::size_t i = 512; i < original.size(); ++i) {
            for (const std::uint8_t value : {0x00, 0x7F, 0x80, 0xFF}) {
                auto data = original;
                data[i] = value;
                const auto result = gfx::decodePictFile(data, options);
                ASSERT_EQ(result.ok(), result.error.empty()) << "byte " << i;
                const auto& image = result.image;
                ASSERT_TRUE(!result.ok() ||
                            image.pixels.size() == std::size_t(image.width) * std::size_t(image.height) * 3);
            }
        }
    }
}

// A version 1 picture whose 16 x 8 bitmap is stretched over `frame`, with `inside` bytes of a long
// comment before its end opcode and `after` bytes of padding behind it.
std::vector<std::uint8_t> stretchedBitmap(int frame, std::size_t inside, std::size_t after) {
    picttest::PictBuilder b(0, 0, frame, frame, 1);
    b.op(0x90).word(2).rect(0, 0, 8, 16).rect(0, 0, 8, 16).rect(0, 0, frame, frame).word(0);
    for (int row = 0; row < 8; ++row)
        b.bytes({0xAA, 0x55});
    if (inside > 0)
        b.op(0xA1).word(100).word(static_cast<int>(inside)).zeros(inside);
    auto file = b.end().file();
    file.resize(file.size() + after, 0);
    return file;
}

// Only the bytes up to the end opcode pay for the canvas: 140,000 bytes of padding after a
// 16384 x 16384 frame buy nothing (it once took 800 MB and 12 s), while the same bytes inside the
// picture pay for a frame they cover, even when the first drawing comes before them.
TEST(PictRobustness, CanvasIsPaidForOnlyByThePicturesOwnBytes) {
    struct Case {
        int frame;
        std::size_t inside, after;
        bool decodes;
    };
    const Case cases[] = {
        {16384, 0, 140000, false}, {16384, 140000, 0, false}, // 268 M pixels are never paid for by 140 KB
        {4096, 0, 17000, false},   {4096, 17000, 0, true},    // 16.8 M pixels need 16 KB of picture
        {1024, 0, 140000, true},                              // small frames cost nothing extra
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.frame) + " inside " + std::to_string(c.inside) + " after " +
                     std::to_string(c.after));
        const auto result = gfx::decodePictFile(stretchedBitmap(c.frame, c.inside, c.after));
        ASSERT_EQ(result.ok(), c.decodes) << result.error;
        if (!c.decodes) {
            EXPECT_NE(result.error.find("too large for its data"), std::string::npos) << result.error;
            continue;
        }
        // The bitmap's checkerboard, stretched: first pixel black (bit 1), its neighbour white.
        const int cell = c.frame / 16;
        EXPECT_EQ(pixel(result.image, 0, 0), (std::array<int, 3>{0, 0, 0}));
        EXPECT_EQ(pixel(result.image, cell, 0), (std::array<int, 3>{255, 255, 255}));
    }
}

// A read that does not fit yields zero, moves to the end and sticks as failed, so a decoder can
// check a group of reads once; it never reads the bytes that are there. Signed reads extend the sign.
TEST(ByteReader, RefusesToReadOrSeekPastTheEnd) {
    const std::array<std::uint8_t, 3> bytes{0xAA, 0xFF, 0xFE};
    gfx::ByteReader r(bytes);
    EXPECT_EQ(r.u8(), 0xAAu);
    EXPECT_EQ(r.u32be(), 0u); // two bytes are left; neither is read
    EXPECT_EQ(r.u8(), 0u);
    EXPECT_TRUE(r.failed() && r.atEnd());
    EXPECT_TRUE(r.bytes(1).empty());

    gfx::ByteReader s(bytes), k(bytes), p(bytes);
    EXPECT_EQ(gfx::ByteReader(bytes).s16le(), -86);
    s.u8();
    EXPECT_EQ(s.s16be(), -2);
    EXPECT_TRUE(s.seek(3) && !s.failed());
    EXPECT_FALSE(s.seek(4) || !s.failed());
    EXPECT_TRUE(k.skip(2));
    EXPECT_FALSE(k.skip(2) || !k.failed());
    std::uint16_t peeked = 0;
    EXPECT_TRUE(p.peekU16be(peeked) && peeked == 0xAAFFu && p.pos() == 0u);
    p.skip(2);
    EXPECT_FALSE(p.peekU16be(peeked) || p.failed());
}
