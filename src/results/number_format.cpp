#include "results/number_format.h"

#include <charconv>
#include <cmath>
#include <limits>

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

// to_chars rounds ties to even; a value exactly halfway is moved one unit in
// the last place away from zero, which rounds it away from zero and cannot
// cross any other rounding boundary.
double tieAwayFromZero(double x, int decimals) {
    if (isHalfway(x, decimals)) {
        return std::nextafter(x, std::copysign(std::numeric_limits<double>::infinity(), x));
    }
    return x;
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
    char buf[400];
    const double x = tieAwayFromZero(value, decimals);
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
    std::string_view text(buf, static_cast<std::size_t>(r.ptr - buf));
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (negative && !allZeroDigits(text)) out.push_back('-');
    const std::size_t point = text.find('.');
    appendGroupedInteger(out, text.substr(0, point), s.groupSeparator);
    if (point != std::string_view::npos) {
        out += s.decimalSeparator;
        out.append(text.substr(point + 1));
    }
}

constexpr int kPlainDigits = 15;

// x in scientific form with 15 significant digits ("-1.23450000000000e+17");
// returns the decimal exponent of the rounded value.
int toScientific(double x, char (&buf)[64], std::string_view& text) {
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific,
                                 kPlainDigits - 1);
    text = std::string_view(buf, static_cast<std::size_t>(r.ptr - buf));
    const std::size_t e = text.find('e');
    std::size_t start = e + 1;
    if (text[start] == '+') ++start;
    int exponent = 0;
    std::from_chars(text.data() + start, text.data() + text.size(), exponent);
    text = text.substr(0, e);
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
    char buf[64];
    std::string_view text;
    // The exponent of the rounded value: one more than e when rounding
    // carries into a new digit.
    const int exponent = toScientific(tieAwayFromZero(value, kPlainDigits - 1 - e), buf, text);
    const bool negative = text.front() == '-';
    if (negative) text.remove_prefix(1);
    // Significant digits without the point, trailing zeros dropped.
    std::string digits;
    for (char c : text) {
        if (c != '.') digits.push_back(c);
    }
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
        case NumberForm::F2: return 2;
        case NumberForm::F3:
        case NumberForm::F3g: return 3;
        case NumberForm::F4: return 4;
        case NumberForm::Plain: return 0;
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
