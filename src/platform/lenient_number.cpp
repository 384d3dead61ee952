// SPDX-License-Identifier: GPL-3.0-or-later
// Lenient reading of the leading number of a settings line.
#include "platform/lenient_number.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace kelvorn {

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

double leadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    // Digits with at most one decimal point; no exponent is read.
    const size_t start = i;
    bool anyDigit = false;
    bool nonZeroBeforePoint = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            anyDigit = true;
            if (!point && c != '0') nonZeroBeforePoint = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return 0.0;

    // from_chars ignores the locale, unlike strtod (Qt sets the C locale from the
    // environment, where the decimal mark may be a comma).
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::fixed);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Too large for a double, or a fraction too small for one.
        value = nonZeroBeforePoint ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc()) {
        return 0.0;
    }
    if (value == 0.0) return 0.0;  // no negative zero
    return negative ? -value : value;
}

}  // namespace kelvorn
