#include "table/TableText.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace TableText;

TEST(TableText, ValTakesTheLeadingNumberTruncatesFractionsAndNeverWraps) {
    const struct {
        const char16_t* text;
        std::int64_t value;
    } cases[] = {{u"12abc", 12}, {u"abc", 0}, {u"-5", -5},   {u"  +7 px", 7}, {u"", 0},    {u"-", 0},
                 {u"3 Ops", 3},  {u"a12", 0}, {u"12.7", 12}, {u"-12.7", -12}, {u"-0.5", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(Val(c.text), c.value) << QString::fromUtf16(c.text).toStdString();
    EXPECT_GT(Val(u"99999999999999999999999999"), 0);
    EXPECT_LT(Val(u"-99999999999999999999999999"), 0);
    EXPECT_EQ(Val32(u"4294967296"), 2147483647); // 2^32 would wrap to 0
    EXPECT_EQ(Val32(u"-2147483649"), -2147483647 - 1);
}

// Shown as unsigned bytes; a tail shorter than three bytes (a fresh model's) reads as zeros.
TEST(TableText, FlagTextShowsThreeUnsignedBytesJoinedByDashes) {
    EXPECT_EQ(FlagText(std::string("\xff\0\2", 3)), u"255-0-2"_s);
    EXPECT_EQ(FlagText(std::string()), u"0-0-0"_s);
}
