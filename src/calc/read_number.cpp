#include "calc/read_number.h"

#include <charconv>
#include <cmath>
#include <string>

namespace qarv {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

double readNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;

    std::string number;  // the recognised number, normalised for from_chars
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number.push_back('-');
        ++i;
    }
    const std::size_t intStart = i;
    while (i < n && isDigit(text[i])) ++i;
    bool haveDigits = i > intStart;
    number.append(text.substr(intStart, i - intStart));
    if (i < n && text[i] == '.') {
        const std::size_t fracStart = i + 1;
        std::size_t j = fracStart;
        while (j < n && isDigit(text[j])) ++j;
        if (j > fracStart) {
            if (!haveDigits) number.push_back('0');
            number.push_back('.');
            number.append(text.substr(fracStart, j - fracStart));
            haveDigits = true;
            i = j;
        }
        // A period without digits after it ends the number ("5." and
        // "5.e3" read 5).
    }
    if (!haveDigits) return 0.0;
    if (i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            if (text[j] == '-') exponent.push_back('-');
            ++j;
        }
        const std::size_t expStart = j;
        while (j < n && isDigit(text[j])) ++j;
        if (j > expStart) {
            exponent.append(text.substr(expStart, j - expStart));
            number += exponent;
        }
    }

    // from_chars converts to the nearest double, whatever the locale. It
    // fails only out of range: a number too small for a double is 0, and one
    // too large is no number a mineral analysis can stand behind, so it reads
    // 0 like any other text that is no number.
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc{} || !std::isfinite(value)) return 0.0;
    return value;
}

}  // namespace qarv
