#include "PictTestSupport.h"

#include "graphics/core/PictDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace picttest;

// Each damaged picture fails with a message naming the problem.
TEST(PictRobustness, DamagedPicturesFailWithAMessage)
{
    struct Case {
        const char* file;
        const char* messagePart;
    };
    const std::vector<Case> cases = {
        {"bad_empty.pict", "empty"},
        {"bad_truncated_header.pict", "not a PICT"},
        {"bad_truncated_in_pixels.pict", "cut off"},
        {"bad_no_end_opcode.pict", "end-of-picture"},
        {"bad_not_a_picture.pict", "not a PICT"},
        {"bad_count_past_end.pict", "corrupt"},
        {"bad_colour_table_past_end.pict", "colour table"},
        {"bad_frame_too_large_for_data.pict", "too large"},
        {"bad_frame_over_limit.pict", "too large"},
        {"bad_pixel_size.pict", "pixel size 3"},
        {"bad_short_packed_rows.pict", "corrupt"},
        {"bad_vector_only.pict", "no bitmap"},
        {"bad_reserved_length_past_end.pict", "past the end"},
        {"bad_quicktime_without_jpeg.pict", "no JPEG"},
        {"bad_v1_direct_bits.pict", "version 1"},
        {"bad_clip_region_rescanned.pict", "far more"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto result = gfx::decodePictFile(readFile(fixture(c.file)), qtJpegOptions());
        EXPECT_FALSE(result.ok());
        EXPECT_TRUE(result.image.isNull());
        EXPECT_NE(result.error.find(c.messagePart), std::string::npos) << result.error;
    }
}

// A picture cut anywhere before its end opcode is incomplete and must say so rather than
// return the part drawn so far.
TEST(PictRobustness, EveryTruncationFails)
{
    const std::vector<std::string> files = {
        fixture("hand_scaled_offset_modes.pict"), fixture("hand_v1_bitmap.pict"),
        fixture("hand_odd_opcodes_aligned.pict"), fixture("hand_quicktime_jpeg.pict"),
        fixture("hand_mask_region_ext144.pict"), fixture("tool_np_pal_230x4.pict"),
        sample("public/tm_mire16.pict"), sample("public/tm_8_reserved_opcodes.pict"),
    };
    const auto options = qtJpegOptions();
    for (const auto& path : files) {
        SCOPED_TRACE(path);
        const auto data = readFile(path);
        ASSERT_TRUE(gfx::decodePictFile(data, options).ok() || path.find("reserved") != std::string::npos);
        for (std::size_t cut = 0; cut < data.size(); ++cut) {
            const auto result = gfx::decodePictFile(std::span(data).first(cut), options);
            ASSERT_FALSE(result.ok()) << "cut at " << cut;
            ASSERT_FALSE(result.error.empty()) << "cut at " << cut;
        }
    }
}

// Single corrupted bytes anywhere in a picture: the decoder may succeed or fail, but it must
// return, with an error message exactly when it has no image.
TEST(PictRobustness, CorruptedBytesNeverCrash)
{
    const auto options = qtJpegOptions();
    for (const char* name : {"hand_scaled_offset_modes.pict", "hand_mask_region_ext144.pict", "hand_direct16_pack3.pict",
                             "hand_odd_opcodes_aligned.pict", "hand_quicktime_jpeg.pict"}) {
        SCOPED_TRACE(name);
        const auto original = readFile(fixture(name));
        for (std::size_t i = 512; i < original.size(); ++i) {
            for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0x7F}, std::uint8_t{0x80}, std::uint8_t{0xFF}}) {
                auto data = original;
                data[i] = value;
                const auto result = gfx::decodePictFile(data, options);
                ASSERT_EQ(result.ok(), result.error.empty()) << "byte " << i;
                if (result.ok()) {
                    ASSERT_EQ(result.image.pixels.size(),
                              static_cast<std::size_t>(result.image.width) * static_cast<std::size_t>(result.image.height) * 3);
                }
            }
        }
    }
}
