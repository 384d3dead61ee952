// The lenient leading-number reading of settings lines.
#include "platform/lenient_number.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

using kelvorn::leadingNumber;

TEST(LeadingNumber, ReadsUpToTheFirstCharacterThatCannotContinueEvenInHugeTexts) {
    const struct { const char* text; double value; } cases[] = {
        {"38", 38}, {"1.0", 1}, {".5", 0.5}, {"5.", 5}, {"-0.25", -0.25}, {"+7", 7}, {"007", 7},
        {"  -2x", -2}, {"\t 12,5", 12}, {"1.2.3", 1.2}, {"2e5", 2} /* no exponent */, {"3 4", 3},
        {"42\r\n", 42}, {"9\n8", 9},
        // No number at all gives a plain zero, never -0.
        {"", 0}, {"abc", 0}, {"-", 0}, {"+", 0}, {".", 0}, {"-.", 0}, {" ", 0}, {"+-3", 0},
        {"- 3", 0}, {"x12", 0}, {"-0", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';
        EXPECT_EQ(std::signbit(leadingNumber(c.text)), c.value < 0) << '"' << c.text << '"';
    }
    // Huge texts do not break it.
    EXPECT_GT(leadingNumber(std::string(10000, '9')), 1e300);
    EXPECT_LT(leadingNumber("-" + std::string(10000, '1')), -1e300);
    EXPECT_EQ(leadingNumber("0." + std::string(10000, '0') + "1"), 0);
    EXPECT_EQ(leadingNumber(std::string(10000, ' ') + "4"), 4);
    EXPECT_DOUBLE_EQ(leadingNumber("1." + std::string(10000, '5')), 1.5555555555555556);
}
