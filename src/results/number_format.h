#pragma once
// The text forms of numbers in the results table and the diagram data files.

#include <string>
#include <string_view>

namespace qarv {

// The regional digit-group and decimal characters (UTF-8 texts).
struct NumberFormatSettings {
    std::string groupSeparator = ",";
    std::string decimalSeparator = ".";
};

enum class NumberForm {
    F2,     // "#,##0.00"
    F3,     // "#,##0.000"
    F3g,    // "#,###0.000": the same output as F3
    F4,     // "#,##0.0000"
    Plain,  // general: up to 15 significant digits, no grouping
};

// Decimals shown by a fixed form (0 for Plain).
int decimalsOf(NumberForm form);

// Fixed forms: rounded half away from zero on the double's exact value, the
// integer digits grouped by three, at least one integer digit; a value that
// rounds to zero has no minus sign. Plain form: rounded half away from zero
// to 15 significant digits, no trailing zeros, no exponent below 10^15 and
// "E+" with at least two exponent digits from there on ("1.5E+17").
std::string formatNumber(double value, NumberForm form, const NumberFormatSettings& settings);
void appendNumber(std::string& out, double value, NumberForm form,
                  const NumberFormatSettings& settings);

// The number a text written by formatNumber shows, read with the same
// characters it was written with. Text that is no such number reads 0.
double readFormatted(std::string_view text, const NumberFormatSettings& settings);

}  // namespace qarv
