#include "results/number_format.h"

#include "calc/read_number.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace qarv {
namespace {

// Whether x lies exactly halfway between two neighbours of the decimal grid
// 10^-decimals (decimals may be negative: a grid of tens, hundreds ...).
bool isHalfway(double x, int decimals) {
    x = std::fabs(x);
    if (decimals >= 0) {
        // x = (j + 1/2) 10^-d  <=>  x 2^(d+1) is an odd integer.
        if (decimals > 1100) return false;
        const double t = std::ldexp(x, decimals + 1);
        return std::isfinite(t) && t < 0x1p53 && std::floor(t) == t && std::fmod(t, 2.0) == 1.0;
    }
    // x = (j + 1/2) 10^k: only possible while 5^k fits a double's mantissa.
    const int k = -decimals;
    if (k > 22) return false;
    const double grid = std::pow(10.0, k);  // exact for k <= 22
    return std::fmod(x, grid) == grid / 2;
}

// Adds one unit in the last place to a run of decimal digits (a period is
// passed over); true when the carry runs out of the first digit.
bool incrementDigits(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '.') continue;
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return false;
        }
    }
    return true;
}

void appendGroupedInteger(std::string& out, std::string_view digits, const std::string& group) {
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += group;
        out.push_back(digits[i]);
    }
}

bool allZeroDigits(std::string_view s) {
    for (char c : s) {
        if (c >= '1' && c <= '9') return false;
    }
    return true;
}

// The double's exact value as m * 2^q, m an integer below 2^53.
struct BinaryValue {
    std::uint64_t m;
    int q;
};

BinaryValue binaryOf(double a) {
    std::uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased == 0) return {fraction, -1074};
    return {fraction | (std::uint64_t{1} << 52), biased - 1075};
}

constexpr std::uint64_t kPow5[] = {1ull,
                                   5ull,
                                   25ull,
                                   125ull,
                                   625ull,
                                   3125ull,
                                   15625ull,
                                   78125ull,
                                   390625ull,
                                   1953125ull,
                                   9765625ull,
                                   48828125ull,
                                   244140625ull,
                                   1220703125ull,
                                   6103515625ull,
                                   30517578125ull,
                                   152587890625ull,
                                   762939453125ull,
                                   3814697265625ull,
                                   19073486328125ull,
                                   95367431640625ull,
                                   476837158203125ull,
                                   2384185791015625ull,
                                   11920928955078125ull,
                                   59604644775390625ull,
                                   298023223876953125ull,
                                   1490116119384765625ull,
                                   7450580596923828125ull};
constexpr int kMaxPow5 = 27;

constexpr std::uint64_t kPow10[] = {1ull,
                                    10ull,
                                    100ull,
                                    1000ull,
                                    10000ull,
                                    100000ull,
                                    1000000ull,
                                    10000000ull,
                                    100000000ull,
                                    1000000000ull,
                                    10000000000ull,
                                    100000000000ull,
                                    1000000000000ull,
                                    10000000000000ull,
                                    100000000000000ull,
                                    1000000000000000ull,
                                    10000000000000000ull,
                                    100000000000000000ull,
                                    1000000000000000000ull,
                                    10000000000000000000ull};

constexpr char kTwoDigits[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// a * 10^s rounded half away from zero, computed exactly on a's binary
// value (a >= 0, 0 <= s <= 27); false when the result does not fit 64 bits.
inline bool roundScaled(double a, int s, std::uint64_t& out) {
    const BinaryValue b = binaryOf(a);
    using U128 = unsigned __int128;
    const U128 p = static_cast<U128>(b.m) * kPow5[s];  // below 2^116
    const int shift = b.q + s;                         // a * 10^s = p * 2^shift
    if (shift >= 0) {
        if (shift >= 64 || (p >> (64 - shift)) != 0) return false;
        const U128 n = p << shift;
        if ((n >> 64) != 0) return false;
        out = static_cast<std::uint64_t>(n);
        return true;
    }
    const int k = -shift;
    if (k >= 120) {  // p < 2^116: the value is below 1/16 and rounds to 0
        out = 0;
        return true;
    }
    U128 n = p >> k;
    const U128 rest = p - (n << k);
    if (rest >= (static_cast<U128>(1) << (k - 1))) ++n;  // halves go away from zero
    if ((n >> 64) != 0) return false;
    out = static_cast<std::uint64_t>(n);
    return true;
}

// The decimal digits of n, most significant first; returns their count.
int decimalDigits(std::uint64_t n, char* digits) {
    char tmp[20];
    char* p = tmp + sizeof tmp;
    while (n >= 100) {
        p -= 2;
        std::memcpy(p, kTwoDigits + 2 * (n % 100), 2);
        n /= 100;
    }
    if (n >= 10) {
        p -= 2;
        std::memcpy(p, kTwoDigits + 2 * n, 2);
    } else {
        *--p = static_cast<char>('0' + n);
    }
    const int len = static_cast<int>(tmp + sizeof tmp - p);
    std::memcpy(digits, p, static_cast<std::size_t>(len));
    return len;
}

void appendFixedDigits(std::string& out, bool negative, std::uint64_t scaled, int decimals,
                       const NumberFormatSettings& s) {
    // Composed right to left in a local buffer, then appended at once.
    const std::string& group = s.groupSeparator;
    const std::string& point = s.decimalSeparator;
    if (group.size() > 8 || point.size() > 8) {
        // Separators of unusual length take the general way.
        char digits[24];
        const std::uint64_t unit = kPow10[decimals];
        const int n = decimalDigits(scaled / unit, digits);
        if (negative && scaled != 0) out.push_back('-');
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) out += group;
            out.push_back(digits[i]);
        }
        out += point;
        char frac[8];
        std::uint64_t fraction = scaled % unit;
        for (int i = decimals - 1; i >= 0; --i) {
            frac[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        out.append(frac, static_cast<std::size_t>(decimals));
        return;
    }
    char buf[20 * 9 + 16];
    char* end = buf + sizeof buf;
    char* p = end;
    const bool shownAsZero = scaled == 0;
    // Division by a constant for each form (decimals is 2, 3 or 4).
    const std::uint64_t whole0 = decimals == 2   ? scaled / 100
                                 : decimals == 3 ? scaled / 1000
                                                 : scaled / 10000;
    const std::uint64_t unit = kPow10[decimals];
    std::uint64_t whole = whole0;
    auto fraction = static_cast<unsigned>(scaled - whole * unit);  // below 10^4
    if (decimals & 1) {
        *--p = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    for (int i = decimals / 2; i > 0; --i) {
        p -= 2;
        std::memcpy(p, kTwoDigits + 2 * (fraction % 100), 2);
        fraction /= 100;
    }
    if (point.size() == 1) {
        *--p = point[0];
    } else {
        p -= point.size();
        std::memcpy(p, point.data(), point.size());
    }
    if (whole < 1000) {
        // No group separator below a thousand.
        if (whole >= 10) {
            p -= 2;
            std::memcpy(p, kTwoDigits + 2 * (whole % 100), 2);
            whole /= 100;
            if (whole != 0) *--p = static_cast<char>('0' + whole);
        } else {
            *--p = static_cast<char>('0' + whole);
        }
    } else {
        int count = 0;
        do {
            if (count > 0 && count % 3 == 0) {
                p -= group.size();
                std::memcpy(p, group.data(), group.size());
            }
            *--p = static_cast<char>('0' + whole % 10);
            whole /= 10;
            ++count;
        } while (whole != 0);
    }
    if (negative && !shownAsZero) *--p = '-';  // no minus sign on a value shown as zero
    out.append(p, static_cast<std::size_t>(end - p));
}

void appendFixed(std::string& out, double value, int decimals, const NumberFormatSettings& s) {
    // Exact integer arithmetic wherever the scaled value fits 64 bits,
    // which is every value below about 10^15.
    std::uint64_t scaled;
    if (roundScaled(std::fabs(value), decimals, scaled)) {
        appendFixedDigits(out, std::signbit(value), scaled, decimals, s);
        return;
    }
    // to_chars rounds to nearest with ties to even on the exact binary value.
    // A value exactly halfway has a finite expansion one digit longer, ending
    // in 5: that digit is dropped and the rest rounded away from zero.
    const bool halfway = isHalfway(value, decimals);
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed,
                                 decimals + (halfway ? 1 : 0));
    std::string_view text(buf, static_cast<std::size_t>(r.ptr - buf));
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    std::string digits(text);
    if (halfway) {
        digits.pop_back();
        if (!digits.empty() && digits.back() == '.') digits.pop_back();
        if (incrementDigits(digits)) digits.insert(digits.begin(), '1');
    }
    if (negative && !allZeroDigits(digits)) out.push_back('-');
    const std::size_t point = digits.find('.');
    appendGroupedInteger(out, std::string_view(digits).substr(0, point), s.groupSeparator);
    if (point != std::string::npos) {
        out += s.decimalSeparator;
        out.append(digits, point + 1);
    }
}

constexpr int kPlainDigits = 15;

// x's significant digits (no sign, no point) rounded half away from zero to
// 15, and the decimal exponent of the rounded value; e is the exponent of x.
int roundToSignificant(double x, int e, std::string& digits) {
    const bool halfway = isHalfway(x, kPlainDigits - 1 - e);
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific,
                                 kPlainDigits - 1 + (halfway ? 1 : 0));
    std::string_view text(buf, static_cast<std::size_t>(r.ptr - buf));
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    const std::size_t e_pos = text.find('e');
    std::size_t start = e_pos + 1;
    if (text[start] == '+') ++start;
    int exponent = 0;
    std::from_chars(text.data() + start, text.data() + text.size(), exponent);
    digits.clear();
    for (char c : text.substr(0, e_pos)) {
        if (c != '.') digits.push_back(c);
    }
    if (halfway) {
        // The exact expansion ends in the 16th digit, a 5.
        digits.pop_back();
        if (incrementDigits(digits)) {
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            ++exponent;
        }
    }
    return exponent;
}

// The 15 significant digits of a > 0 rounded half away from zero, by exact
// integer arithmetic, and the decimal exponent of the rounded value; false
// where the scale is out of the fast range (below 10^-13, from 10^15 on).
bool plainDigitsFast(double a, std::uint64_t& n, int& exponent) {
    const BinaryValue b = binaryOf(a);
    // log10(a) from the binary exponent, checked against the digit count.
    const int log2 = b.q + 63 - __builtin_clzll(b.m);
    // floor(log2 * log10(2)) in integers (exact over the range of doubles).
    int e = (log2 * 78913) >> 18;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int scale = kPlainDigits - 1 - e;
        if (scale < 0 || scale > kMaxPow5) return false;
        if (!roundScaled(a, scale, n)) return false;
        if (n < kPow10[kPlainDigits - 1]) {
            --e;
        } else if (n >= kPow10[kPlainDigits]) {
            ++e;  // a guess one too low, or a rounding up to the next power
        } else {
            exponent = e;
            return true;
        }
    }
    return false;
}

void appendPlain(std::string& out, double value, const NumberFormatSettings& s) {
    if (value == 0) {
        out.push_back('0');
        return;
    }
    const double magnitude = std::fabs(value);
    char digitBuf[24];
    std::size_t digitCount = 0;
    int exponent = 0;
    std::uint64_t n = 0;
    if (plainDigitsFast(magnitude, n, exponent)) {
        digitCount = static_cast<std::size_t>(decimalDigits(n, digitBuf));
    } else {
        // The 15th significant digit sits on the grid 10^(e - 14), e being
        // the decimal exponent of the value itself; log10 may be off by one
        // right next to a power of ten, so the guess is checked.
        int e = static_cast<int>(std::floor(std::log10(magnitude)));
        if (magnitude < std::pow(10.0, e)) --e;
        if (magnitude >= std::pow(10.0, e + 1)) ++e;
        std::string digits;
        exponent = roundToSignificant(value, e, digits);
        if (exponent >= 308) {
            // Rounded up past the largest double, the text would read back as
            // no number: the digits are cut instead of rounded.
            std::string text =
                digits.substr(0, 1) + "." + digits.substr(1) + "e" + std::to_string(exponent);
            double check = 0;
            const auto r = std::from_chars(text.data(), text.data() + text.size(), check);
            if (r.ec != std::errc{}) {
                char exact[64];
                const auto t = std::to_chars(exact, exact + sizeof exact, magnitude,
                                             std::chars_format::scientific, 20);
                digits.clear();
                for (const char* c = exact; c < t.ptr && *c != 'e'; ++c) {
                    if (*c != '.') digits.push_back(*c);
                }
                digits.resize(kPlainDigits);
            }
        }
        digitCount = std::min(digits.size(), sizeof digitBuf);
        std::memcpy(digitBuf, digits.data(), digitCount);
    }
    while (digitCount > 1 && digitBuf[digitCount - 1] == '0') --digitCount;
    const std::string_view digits(digitBuf, digitCount);

    if (value < 0) out.push_back('-');
    if (exponent >= 15) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out += s.decimalSeparator;
            out.append(digits.substr(1));
        }
        out += "E+";
        if (exponent < 10) out.push_back('0');
        char e[8];
        const auto r = std::to_chars(e, e + sizeof e, exponent);
        out.append(e, r.ptr);
    } else if (exponent < 0) {
        out.push_back('0');
        out += s.decimalSeparator;
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits;
            out.append(intDigits - digits.size(), '0');
        } else {
            out.append(digits.substr(0, intDigits));
            out += s.decimalSeparator;
            out.append(digits.substr(intDigits));
        }
    }
}

}  // namespace

int decimalsOf(NumberForm form) {
    switch (form) {
        case NumberForm::F2:
            return 2;
        case NumberForm::F3:
        case NumberForm::F3g:
            return 3;
        case NumberForm::F4:
            return 4;
        case NumberForm::Plain:
            return 0;
    }
    return 0;
}

void appendNumber(std::string& out, double value, NumberForm form,
                  const NumberFormatSettings& settings) {
    if (!std::isfinite(value)) value = 0;  // never "nan" or "inf" in a table or file
    if (form != NumberForm::Plain) {
        // The usual magnitudes, by exact integer arithmetic.
        const int decimals = decimalsOf(form);
        std::uint64_t scaled;
        if (roundScaled(std::fabs(value), decimals, scaled)) {
            appendFixedDigits(out, std::signbit(value), scaled, decimals, settings);
            return;
        }
    }
    if (form == NumberForm::Plain) {
        appendPlain(out, value, settings);
    } else {
        appendFixed(out, value, decimalsOf(form), settings);
    }
}

std::string formatNumber(double value, NumberForm form, const NumberFormatSettings& settings) {
    std::string out;
    appendNumber(out, value, form, settings);
    return out;
}

double readFormatted(std::string_view text, const NumberFormatSettings& settings) {
    // The text with group separators dropped and the decimal separator made
    // a period, in a buffer on the stack for every usual length.
    char small[64];
    std::string large;
    char* plain = small;
    if (text.size() > sizeof small) {
        large.resize(text.size());
        plain = large.data();
    }
    std::size_t len = 0;
    const std::string_view group = settings.groupSeparator;
    const std::string_view decimal = settings.decimalSeparator;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            plain[len++] = c;
            ++i;
        } else if (!decimal.empty() && text.substr(i, decimal.size()) == decimal) {
            plain[len++] = '.';
            i += decimal.size();
        } else if (!group.empty() && text.substr(i, group.size()) == group) {
            i += group.size();
        } else {
            plain[len++] = c;
            ++i;
        }
    }
    double value = 0;
    if (simpleDecimalValue(std::string_view(plain, len), value)) return value;
    const auto r = std::from_chars(plain, plain + len, value);
    if (r.ec != std::errc{} || !std::isfinite(value)) return 0;
    return value;
}

}  // namespace qarv
