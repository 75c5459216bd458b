#include "calc/read_number.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace qarv {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Mantissa digits kept for conversion: more than the 767 significant digits
// that the exact value halfway between two doubles can have.
constexpr std::size_t kMaxDigits = 780;

}  // namespace

// Powers of ten that a double holds exactly.
constexpr double kExactPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool simpleDecimalValue(std::string_view text, double& value) {
    // A mantissa below 2^53 and a power of ten up to 10^22 are both exact,
    // so their one quotient is the correctly rounded value.
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p < end && *p == '-';
    p += negative;
    const char* const start = p;
    std::uint64_t mantissa = 0;
    while (p < end && static_cast<unsigned>(*p - '0') < 10) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        ++p;
    }
    const char* const intEnd = p;
    if (intEnd == start) return false;  // ".5", "-", "" and text go the general way
    int fraction = 0;
    if (p < end) {
        if (*p != '.') return false;
        ++p;
        const char* const fracStart = p;
        while (p < end && static_cast<unsigned>(*p - '0') < 10) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
            ++p;
        }
        fraction = static_cast<int>(p - fracStart);
        if (p != end || fraction == 0) return false;  // "5." and trailing text
    }
    // At most 15 significant digits (leading zeros do not count), so the
    // mantissa is exact; and the power of ten must be exact too.
    const char* first = start;
    while (first < p && (*first == '0' || *first == '.')) ++first;
    const long significant = (p - first) - (first < intEnd && fraction > 0 ? 1 : 0);
    if (significant > 15 || fraction > 22) return false;
    const double v = static_cast<double>(mantissa) / kExactPow10[fraction];
    value = negative ? -v : v;
    return true;
}

NumberScan scanNumber(std::string_view text) {
    // The common cell, a plain decimal and nothing else, is read at once.
    if (!text.empty() && text[0] != ' ') {
        double quick;
        if (simpleDecimalValue(text, quick)) return {quick, text.size()};
    }
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;

    // The number is rebuilt for from_chars in a fixed buffer as sign,
    // mantissa digits and a decimal exponent, without allocating. Digits
    // beyond kMaxDigits cannot decide the nearest double except by being
    // non-zero, which one extra digit 1 stands for.
    char buf[kMaxDigits + 32];
    std::size_t len = 0;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') buf[len++] = '-';
        ++i;
    }
    std::size_t kept = 0;
    bool dropped = false;  // a non-zero digit was cut off
    long scale = 0;        // the decimal exponent of the last kept digit
    const auto digit = [&](char c, bool fraction) {
        if (kept == 0 && c == '0') {  // leading zeros say nothing
            if (fraction) --scale;
            return;
        }
        if (kept < kMaxDigits) {
            buf[len++] = c;
            ++kept;
            if (fraction) --scale;
        } else {
            dropped = dropped || c != '0';
            if (!fraction) ++scale;
        }
    };
    const std::size_t intStart = i;
    while (i < n && isDigit(text[i])) digit(text[i++], false);
    bool haveDigits = i > intStart;
    if (i < n && text[i] == '.') {
        const std::size_t fracStart = i + 1;
        std::size_t j = fracStart;
        while (j < n && isDigit(text[j])) ++j;
        if (j > fracStart) {
            for (std::size_t k = fracStart; k < j; ++k) digit(text[k], true);
            haveDigits = true;
            i = j;
        }
        // A period without digits after it ends the number ("5." and
        // "5.e3" read 5).
    }
    if (!haveDigits) return {};
    if (kept == 0) buf[len++] = '0';
    if (dropped) {
        buf[len++] = '1';
        --scale;
    }
    if (i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        bool negative = false;
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            negative = text[j] == '-';
            ++j;
        }
        const std::size_t expStart = j;
        long e = 0;
        while (j < n && isDigit(text[j])) {
            if (e < 1000000) e = e * 10 + (text[j] - '0');  // far past any double
            ++j;
        }
        if (j > expStart) {
            scale += negative ? -e : e;
            i = j;
        }
    }
    if (scale != 0) {
        buf[len++] = 'e';
        const auto r = std::to_chars(buf + len, buf + sizeof buf, scale);
        len = static_cast<std::size_t>(r.ptr - buf);
    }

    // from_chars converts to the nearest double, whatever the locale. It
    // fails only out of range: a number too small for a double is 0, and one
    // too large is no number a mineral analysis can stand behind, so it reads
    // 0 like any other text that is no number.
    double value = 0.0;
    const auto result = std::from_chars(buf, buf + len, value);
    if (result.ec != std::errc{} || !std::isfinite(value)) value = 0.0;
    return {value, i};
}

double readNumber(std::string_view text) {
    return scanNumber(text).value;
}

bool isWholeNumber(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    const NumberScan scan = scanNumber(text);
    return scan.length > 0 && scan.length == text.size();
}

}  // namespace qarv
