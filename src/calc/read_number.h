#pragma once

#include <string_view>

namespace qarv {

// The one rule by which a cell's text becomes a number: leading blanks are
// skipped, then the longest leading decimal number is read (optional sign;
// digits with an optional period and digits, or a period and digits; an
// exponent letter E, e, D or d with optional sign, counted only when digits
// follow it). The period is the only decimal character, so "12,5" reads 12.
// Text that does not begin with a number reads 0, and so does a number too
// large for a double. Never fails.
double readNumber(std::string_view text);

}  // namespace qarv
