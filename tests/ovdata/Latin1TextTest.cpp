// Names are ISO-8859-1 bytes in files and UTF-8 in JSON and messages.
#include "ovdata/Latin1Text.h"

#include <gtest/gtest.h>

using namespace ov;

TEST(Latin1Text, EveryByteSurvivesTheTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string text = latin1ToUtf8(all);
    EXPECT_EQ(text.size(), 128u + 2 * 128u);
    const Latin1Conversion back = utf8ToLatin1(text);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.bytes, all);
    EXPECT_EQ(latin1ToUtf8("F\xE4hre"), "F\xC3\xA4hre");
}

TEST(Latin1Text, TextWithoutAnIso88591FormIsRefused) {
    EXPECT_EQ(utf8ToLatin1("A\xC4\x80").error, "the character U+0100 has no ISO-8859-1 form");    // U+0100
    EXPECT_EQ(utf8ToLatin1("\xE2\x82\xAC").error, "the character U+20AC has no ISO-8859-1 form"); // euro sign
    for (const char* malformed : {"\xC3", "\xC0\x80", "\xED\xA0\x80", "\xFF", "\xC3\x41", "\xF4\x90\x80\x80"})
        EXPECT_EQ(utf8ToLatin1(malformed).error, "the text is not valid UTF-8") << malformed;
}
