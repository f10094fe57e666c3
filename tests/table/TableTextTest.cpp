#include "table/TableText.h"

#include <gtest/gtest.h>

using namespace TableText;

TEST(TableTextVal, TakesTheNumberTheTextBeginsWith) {
    EXPECT_EQ(Val(u"12abc"), 12);
    EXPECT_EQ(Val(u"abc"), 0);
    EXPECT_EQ(Val(u"-5"), -5);
    EXPECT_EQ(Val(u"  +7 px"), 7);
    EXPECT_EQ(Val(u""), 0);
    EXPECT_EQ(Val(u"-"), 0);
    EXPECT_EQ(Val(u"3 Ops"), 3);
    EXPECT_EQ(Val(u"a12"), 0);
}

TEST(TableTextVal, FractionsAreTruncatedTowardZero) {
    EXPECT_EQ(Val(u"12.7"), 12);
    EXPECT_EQ(Val(u"-12.7"), -12);
    EXPECT_EQ(Val(u"-0.5"), 0);
}

TEST(TableTextVal, HugeNumbersSaturateInsteadOfWrapping) {
    EXPECT_GT(Val(u"99999999999999999999999999"), 0);
    EXPECT_LT(Val(u"-99999999999999999999999999"), 0);
    EXPECT_EQ(Val32(u"4294967296"), 2147483647); // 2^32 would wrap to 0
    EXPECT_EQ(Val32(u"-2147483649"), -2147483647 - 1);
}

TEST(TableTextFlags, ThreeBytesInDecimalJoinedByDashes) {
    EXPECT_EQ(FlagText(std::string("\0\0\0", 3)), QStringLiteral("0-0-0"));
    EXPECT_EQ(FlagText(std::string("\1\0\1", 3)), QStringLiteral("1-0-1"));
    EXPECT_EQ(FlagText(std::string("\2\0\0", 3)), QStringLiteral("2-0-0"));
    EXPECT_EQ(FlagText(std::string("\xff\0\0", 3)), QStringLiteral("255-0-0")); // bytes are unsigned
    EXPECT_EQ(FlagText(std::string()), QStringLiteral("0-0-0"));                // a fresh model's empty tail
}

TEST(TableTextProblems, CoordinatesMustFitSixteenBits) {
    EXPECT_TRUE(CoordinateProblem(u"-32768").isEmpty());
    EXPECT_TRUE(CoordinateProblem(u"32767").isEmpty());
    EXPECT_TRUE(CoordinateProblem(u"abc").isEmpty()); // reads as 0, which the file holds
    EXPECT_TRUE(CoordinateProblem(u"12.7").isEmpty());
    EXPECT_EQ(CoordinateProblem(u"32768"), QString::fromLatin1(kCoordinateOutOfRange));
    EXPECT_EQ(CoordinateProblem(u"-32769"), QString::fromLatin1(kCoordinateOutOfRange));
    EXPECT_FALSE(CoordinateProblem(u"99999999999999999999999").isEmpty());
}

TEST(TableTextProblems, NamesMustBeLatin1AndFitTheField) {
    EXPECT_TRUE(NameProblem(u"Caf\u00e9 \u00ff").isEmpty());
    EXPECT_EQ(NameProblem(u"\u03a9mega"), QString::fromLatin1(kNameNotLatin1));
    EXPECT_EQ(NameProblem(u"\u20ac"), QString::fromLatin1(kNameNotLatin1));
    EXPECT_EQ(NameProblem(QString(QChar(0)) + QStringLiteral("x")), QString::fromLatin1(kNameNotLatin1));
    EXPECT_TRUE(NameProblem(QString(49, QLatin1Char('a'))).isEmpty());
    EXPECT_EQ(NameProblem(QString(50, QLatin1Char('a'))), QString::fromLatin1(kNameTooLong));
}
