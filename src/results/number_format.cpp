#include "results/number_format.h"

#include <charconv>
#include <cmath>

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

void appendFixed(std::string& out, double value, int decimals, const NumberFormatSettings& s) {
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

void appendPlain(std::string& out, double value, const NumberFormatSettings& s) {
    if (value == 0) {
        out.push_back('0');
        return;
    }
    // The 15th significant digit sits on the grid 10^(e - 14), e being the
    // decimal exponent of the value itself; log10 may be off by one right
    // next to a power of ten, so the guess is checked.
    const double magnitude = std::fabs(value);
    int e = static_cast<int>(std::floor(std::log10(magnitude)));
    if (magnitude < std::pow(10.0, e)) --e;
    if (magnitude >= std::pow(10.0, e + 1)) ++e;
    std::string digits;
    const int exponent = roundToSignificant(value, e, digits);
    const bool negative = value < 0;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    if (negative) out.push_back('-');
    if (exponent >= 15) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out += s.decimalSeparator;
            out.append(digits, 1);
        }
        out += "E+";
        if (exponent < 10) out.push_back('0');
        out += std::to_string(exponent);
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
            out.append(digits, 0, intDigits);
            out += s.decimalSeparator;
            out.append(digits, intDigits);
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
    std::string plain;
    plain.reserve(text.size());
    const std::string& group = settings.groupSeparator;
    const std::string& decimal = settings.decimalSeparator;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!decimal.empty() && text.compare(i, decimal.size(), decimal) == 0) {
            plain.push_back('.');
            i += decimal.size();
        } else if (!group.empty() && text.compare(i, group.size(), group) == 0) {
            i += group.size();
        } else {
            plain.push_back(text[i]);
            ++i;
        }
    }
    double value = 0;
    const auto r = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (r.ec != std::errc{} || !std::isfinite(value)) return 0;
    return value;
}

}  // namespace qarv
