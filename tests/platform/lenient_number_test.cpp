// The lenient leading-number reading of settings lines.
#include "platform/lenient_number.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

using kelvorn::leadingNumber;

TEST(LeadingNumber, PlainNumbers) {
    EXPECT_EQ(leadingNumber("38"), 38);
    EXPECT_EQ(leadingNumber("1.0"), 1);
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_EQ(leadingNumber("5."), 5);
    EXPECT_EQ(leadingNumber("-0.25"), -0.25);
    EXPECT_EQ(leadingNumber("+7"), 7);
    EXPECT_EQ(leadingNumber("007"), 7);
}

TEST(LeadingNumber, StopsAtFirstCharacterThatCannotContinue) {
    EXPECT_EQ(leadingNumber("  -2x"), -2);
    EXPECT_EQ(leadingNumber("\t 12,5"), 12);
    EXPECT_EQ(leadingNumber("1.2.3"), 1.2);
    EXPECT_EQ(leadingNumber("2e5"), 2);  // no exponent
    EXPECT_EQ(leadingNumber("3 4"), 3);
    EXPECT_EQ(leadingNumber("42\r\n"), 42);
    EXPECT_EQ(leadingNumber("9\n8"), 9);
}

TEST(LeadingNumber, NoNumberGivesZero) {
    for (const char* text : {"", "abc", "-", "+", ".", "-.", " ", "+-3", "- 3", "x12"}) {
        EXPECT_EQ(leadingNumber(text), 0) << '"' << text << '"';
        EXPECT_FALSE(std::signbit(leadingNumber(text))) << '"' << text << '"';
    }
    EXPECT_FALSE(std::signbit(leadingNumber("-0")));
}

TEST(LeadingNumber, HugeTextsDoNotBreak) {
    const double big = leadingNumber(std::string(10000, '9'));
    EXPECT_TRUE(big > 1e300);
    EXPECT_TRUE(leadingNumber("-" + std::string(10000, '1')) < -1e300);
    EXPECT_EQ(leadingNumber("0." + std::string(10000, '0') + "1"), 0);
    EXPECT_EQ(leadingNumber(std::string(10000, ' ') + "4"), 4);
    EXPECT_DOUBLE_EQ(leadingNumber("1." + std::string(10000, '5')), 1.5555555555555556);
}
