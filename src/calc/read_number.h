#pragma once

#include <cstddef>
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

// readNumber's value together with how much of the text it took: length is
// the number of characters read (leading blanks included), 0 when the text
// does not begin with a number.
struct NumberScan {
    double value = 0;
    std::size_t length = 0;
};
NumberScan scanNumber(std::string_view text);

// The value of a plain decimal text (an optional minus sign, digits, and a
// period with digits) of at most 15 significant digits, exactly as
// from_chars gives it; false for any other text, which needs the general
// conversion.
bool simpleDecimalValue(std::string_view text, double& value);

// Whether the text is one number and nothing else but blanks around it; an
// empty or blank text is no number either.
bool isWholeNumber(std::string_view text);

}  // namespace qarv
