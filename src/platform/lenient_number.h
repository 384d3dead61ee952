// SPDX-License-Identifier: GPL-3.0-or-later
// The lenient number reading used for every settings line.
#pragma once
#include <string_view>

namespace kelvorn {

// The leading number of a text: leading blanks skipped, an optional sign, digits
// with an optional decimal point; reading stops at the first character that cannot
// continue the number. A text without a leading number gives 0.
double leadingNumber(std::string_view text);

}  // namespace kelvorn
