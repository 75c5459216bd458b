// The text forms of numbers that the results table and the diagram data
// files show. Fixed forms round half away from zero on the double's exact
// binary value: a decimal like 2.675 that is stored just below the halfway
// point rounds down, while a value that is an exact binary tie (0.125,
// 0.0625) rounds away from zero. The plain form keeps 15 significant digits.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "results/number_format.h"

namespace qarv {
namespace {

const NumberFormatSettings kUs{",", "."};
const NumberFormatSettings kGerman{".", ","};
const NumberFormatSettings kFrenchNbsp{"\u00A0", ","};
const NumberFormatSettings kNarrowNbsp{"\u202F", ","};
const NumberFormatSettings kSwiss{"'", "."};
const NumberFormatSettings kNoGrouping{"", "."};

struct FixedCase {
    double value;
    NumberForm form;
    const char* want;
};

class FixedForms : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FixedForms, RoundHalfAwayFromZeroOnTheExactValue) {
    const FixedCase& c = GetParam();
    EXPECT_EQ(formatNumber(c.value, c.form, kUs), c.want) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Rounding, FixedForms,
    ::testing::Values(
        // Decimal "ties" that are stored below the tie round down, above it up.
        FixedCase{2.675, NumberForm::F2, "2.67"},    // 2.67499999999999982...
        FixedCase{1.005, NumberForm::F2, "1.00"},    // 1.00499999999999989...
        FixedCase{1.115, NumberForm::F2, "1.11"},    // 1.11499999999999999...
        FixedCase{8.345, NumberForm::F2, "8.35"},    // 8.34500000000000063...
        FixedCase{1.0005, NumberForm::F3, "1.000"},  // 1.00049999999999994...
        FixedCase{1.0015, NumberForm::F3, "1.002"},  // 1.00150000000000005...
        FixedCase{1.0025, NumberForm::F3, "1.002"},  // 1.00249999999999994...
        FixedCase{35.0004, NumberForm::F3, "35.000"}, FixedCase{79.9996, NumberForm::F3, "80.000"},
        FixedCase{79.9994, NumberForm::F3, "79.999"},
        FixedCase{0.00015, NumberForm::F4, "0.0001"},  // 0.000149999999999999986...
        // Exact binary ties round away from zero (round-half-even would not).
        FixedCase{0.125, NumberForm::F2, "0.13"}, FixedCase{-0.125, NumberForm::F2, "-0.13"},
        FixedCase{0.375, NumberForm::F2, "0.38"}, FixedCase{0.0625, NumberForm::F3, "0.063"},
        FixedCase{-0.0625, NumberForm::F3, "-0.063"}, FixedCase{0.3125, NumberForm::F3, "0.313"},
        FixedCase{1.0625, NumberForm::F3, "1.063"}, FixedCase{0.03125, NumberForm::F4, "0.0313"},
        FixedCase{0.15625, NumberForm::F4, "0.1563"},
        FixedCase{1234567.125, NumberForm::F2, "1,234,567.13"},
        // Ties of large values, whose unit in the last place is close to the
        // rounding step: the tie is decided on the exact digits, not by
        // nudging the value (which once turned .0625 into .066).
        FixedCase{17592186044416.0625, NumberForm::F3, "17,592,186,044,416.063"},  // 2^44 + 1/16
        FixedCase{999999999999999.875, NumberForm::F2, "999,999,999,999,999.88"},
        FixedCase{1000000000000000.125, NumberForm::F2, "1,000,000,000,000,000.13"},
        FixedCase{241264265751995.46875, NumberForm::F4, "241,264,265,751,995.4688"},
        FixedCase{-241264265751995.46875, NumberForm::F4, "-241,264,265,751,995.4688"},
        FixedCase{999999999999.9995, NumberForm::F3, "1,000,000,000,000.000"},  // stored above the tie
        // At least one integer digit, trailing zeros kept.
        FixedCase{0, NumberForm::F2, "0.00"}, FixedCase{0.5, NumberForm::F3, "0.500"},
        FixedCase{3, NumberForm::F4, "3.0000"}, FixedCase{100, NumberForm::F2, "100.00"},
        // No minus sign on a value that rounds to zero.
        FixedCase{-0.0, NumberForm::F2, "0.00"}, FixedCase{-0.004, NumberForm::F2, "0.00"},
        FixedCase{-0.0004, NumberForm::F3, "0.000"}, FixedCase{-0.00004, NumberForm::F4, "0.0000"},
        FixedCase{-0.0005, NumberForm::F3, "-0.001"},  // -0.000500000000000000010...
        FixedCase{-1e-300, NumberForm::F4, "0.0000"},
        // Digit grouping, also where rounding carries into a new group.
        FixedCase{999.994, NumberForm::F2, "999.99"},
        FixedCase{999.995, NumberForm::F2, "1,000.00"},  // 999.99500000000000455...
        FixedCase{999.9995, NumberForm::F3, "1,000.000"},
        FixedCase{1234.5678, NumberForm::F4, "1,234.5678"},
        FixedCase{-1234.5, NumberForm::F2, "-1,234.50"},
        FixedCase{1234567, NumberForm::F3, "1,234,567.000"},
        FixedCase{-999999.99995, NumberForm::F4, "-999,999.9999"},
        FixedCase{123456.0, NumberForm::F2, "123,456.00"},
        FixedCase{1e15, NumberForm::F2, "1,000,000,000,000,000.00"},
        // F3g is written "#,###0.000" and shows the same as F3.
        FixedCase{0.98765, NumberForm::F3g, "0.988"}, FixedCase{0.0625, NumberForm::F3g, "0.063"},
        FixedCase{1234567, NumberForm::F3g, "1,234,567.000"},
        FixedCase{0, NumberForm::F3g, "0.000"}, FixedCase{-0.0004, NumberForm::F3g, "0.000"}));

struct SettingsCase {
    const char* name;
    NumberFormatSettings settings;
    double value;
    NumberForm form;
    std::string want;
};

void PrintTo(const SettingsCase& c, std::ostream* os) {
    *os << c.name;
}

class FormsWithRegionalCharacters : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(FormsWithRegionalCharacters, UseTheGivenGroupAndDecimalCharacters) {
    const SettingsCase& c = GetParam();
    EXPECT_EQ(formatNumber(c.value, c.form, c.settings), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, FormsWithRegionalCharacters,
    ::testing::Values(
        SettingsCase{"GermanF3", kGerman, 1234567.891, NumberForm::F3, "1.234.567,891"},
        SettingsCase{"GermanF2Small", kGerman, 0.125, NumberForm::F2, "0,13"},
        SettingsCase{"GermanNegative", kGerman, -1234.5, NumberForm::F4, "-1.234,5000"},
        SettingsCase{"NoBreakSpaceGroup", kFrenchNbsp, 1234567.891, NumberForm::F3,
                     "1\u00A0234\u00A0567,891"},
        SettingsCase{"NarrowNoBreakSpaceGroup", kNarrowNbsp, 35400, NumberForm::F2,
                     "35\u202F400,00"},
        SettingsCase{"NarrowNoBreakSpaceBelowAThousand", kNarrowNbsp, 999.5, NumberForm::F3,
                     "999,500"},
        SettingsCase{"Swiss", kSwiss, 1234567.5, NumberForm::F2, "1'234'567.50"},
        SettingsCase{"NoGroupingCharacter", kNoGrouping, 1234567, NumberForm::F3, "1234567.000"},
        SettingsCase{"PlainUsesTheDecimalCharacterWithoutGrouping", kGerman, 1234567.5,
                     NumberForm::Plain, "1234567,5"},
        SettingsCase{"PlainSmallWithDecimalComma", kGerman, 0.25, NumberForm::Plain, "0,25"},
        SettingsCase{"PlainExponentWithDecimalComma", kGerman, 1.5e17, NumberForm::Plain,
                     "1,5E+17"},
        SettingsCase{"PlainMultiByteDecimal", {"", "\u066B"}, 2.5, NumberForm::Plain, "2\u066B5"}),
    [](const ::testing::TestParamInfo<SettingsCase>& info) { return info.param.name; });

struct PlainCase {
    double value;
    const char* want;
};

class PlainForm : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainForm, FifteenSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(formatNumber(GetParam().value, NumberForm::Plain, kUs), GetParam().want)
        << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, PlainForm,
    ::testing::Values(
        PlainCase{0, "0"}, PlainCase{-0.0, "0"}, PlainCase{1, "1"}, PlainCase{100, "100"},
        PlainCase{1.5, "1.5"}, PlainCase{-1.5, "-1.5"}, PlainCase{20.52, "20.52"},
        PlainCase{0.1, "0.1"}, PlainCase{0.1 + 0.2, "0.3"}, PlainCase{1.0000000000000002, "1"},
        PlainCase{2.0 / 3.0, "0.666666666666667"}, PlainCase{1.0 / 3.0, "0.333333333333333"},
        PlainCase{-2.0 / 3.0, "-0.666666666666667"},
        PlainCase{1234567.5, "1234567.5"},  // no digit grouping
        PlainCase{123.456, "123.456"}, PlainCase{1e-5, "0.00001"},
        PlainCase{0.000123456789012345678, "0.000123456789012346"},
        PlainCase{2.220446049250313e-16, "0.000000000000000222044604925031"},
        // The 15th digit rounds half away from zero on exact binary ties.
        PlainCase{100000000000000.5, "100000000000001"},
        PlainCase{100000000000002.5, "100000000000003"},
        PlainCase{-100000000000002.5, "-100000000000003"},
        PlainCase{12345678901234.25, "12345678901234.3"},
        PlainCase{123456789012345.6, "123456789012346"},
        PlainCase{0.0000002384185791015625, "0.000000238418579101563"},  // 2^-22, a tie
        PlainCase{1000000000000005.0, "1.00000000000001E+15"},           // a tie above 10^15
        PlainCase{-2000000000000005.0, "-2.00000000000001E+15"},
        // Rounding up across a power of ten.
        PlainCase{99999999999999.95, "100000000000000"}, PlainCase{9.9999999999999995, "10"},
        PlainCase{9.9999999999999982, "10"},  // the double just below 10
        PlainCase{0.99999999999999989, "1"}, PlainCase{999999999999999.5, "1E+15"},
        PlainCase{999999999999999.875, "1E+15"}, PlainCase{999999999999999.0, "999999999999999"},
        // From 10^15 on: exponent form.
        PlainCase{1e15, "1E+15"}, PlainCase{-1e15, "-1E+15"}, PlainCase{1.5e17, "1.5E+17"},
        PlainCase{123456789012345678.0, "1.23456789012346E+17"}, PlainCase{1e21, "1E+21"},
        PlainCase{1e100, "1E+100"},
        // Rounded up, the largest double would show a number beyond every
        // double, which reads back as no number: its digits are cut instead.
        PlainCase{1.7976931348623157e308, "1.79769313486231E+308"},
        PlainCase{-1.7976931348623157e308, "-1.79769313486231E+308"},
        PlainCase{1.797693134862314e308, "1.79769313486231E+308"}));

struct ReadCase {
    const char* text;
    NumberFormatSettings settings;
    double want;
};

class ReadFormatted : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadFormatted, ReadsTheNumberATextShowsWithItsOwnCharacters) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(readFormatted(c.text, c.settings), c.want) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadFormatted,
    ::testing::Values(ReadCase{"35,400", kUs, 35400}, ReadCase{"35,400", kGerman, 35.4},
                      ReadCase{"35.400", kGerman, 35400}, ReadCase{"35.400", kUs, 35.4},
                      ReadCase{"1,234,567.891", kUs, 1234567.891},
                      ReadCase{"1.234.567,891", kGerman, 1234567.891},
                      ReadCase{"1\u00A0234,5", kFrenchNbsp, 1234.5},
                      ReadCase{"35\u202F400,00", kNarrowNbsp, 35400},
                      ReadCase{"1'234.5", kSwiss, 1234.5}, ReadCase{"80.000", kUs, 80},
                      ReadCase{"79.999", kUs, 79.999}, ReadCase{"1,000.000", kUs, 1000},
                      ReadCase{"-0.13", kUs, -0.13}, ReadCase{"0.000", kUs, 0},
                      ReadCase{"0", kUs, 0}, ReadCase{"1E+15", kUs, 1e15},
                      ReadCase{"1,5E+17", kGerman, 1.5e17},
                      ReadCase{"0.000000000000000222044604925031", kUs, 2.22044604925031e-16},
                      ReadCase{"", kUs, 0}, ReadCase{"abc", kUs, 0}));

TEST(NumberFormatRoundTrip, EveryFormReadsBackAsTheNumberItShows) {
    // Whatever the regional characters, a text reads back as the rounded
    // number it shows: the same number as the ungrouped text with a period.
    for (const NumberFormatSettings& s : {kUs, kGerman, kFrenchNbsp, kNarrowNbsp, kSwiss}) {
        for (double v : {0.0, 35.0004, -1234.56789, 79.9996, 1234567.125, 0.0625, 2.0 / 3.0,
                         -987654321.98765}) {
            for (NumberForm form : {NumberForm::F2, NumberForm::F3, NumberForm::F4}) {
                SCOPED_TRACE(s.groupSeparator + s.decimalSeparator + " " + std::to_string(v));
                const std::string shown = formatNumber(v, form, kNoGrouping);
                EXPECT_EQ(readFormatted(formatNumber(v, form, s), s),
                          std::strtod(shown.c_str(), nullptr))
                    << shown;
            }
            const double plain = readFormatted(formatNumber(v, NumberForm::Plain, s), s);
            EXPECT_NEAR(plain, v, std::fabs(v) * 1e-14);
        }
    }
}

// The exact decimal expansion of |x| (every double has a finite one), as
// integer digits and fraction digits.
struct ExactDecimal {
    std::string whole, fraction;
};
ExactDecimal exactDecimal(double x) {
    std::vector<char> buf(1500);
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(x),
                                 std::chars_format::fixed, 1074);
    std::string text(buf.data(), r.ptr);
    const std::size_t point = text.find('.');
    return {text.substr(0, point), text.substr(point + 1)};
}

// Digits rounded half away from zero at `keep` digits: a carry may add one.
std::string roundedDigits(std::string digits, std::size_t keep) {
    const bool up = digits.size() > keep && digits[keep] >= '5';
    digits.resize(keep, '0');
    if (up) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i == 0) {
            digits.insert(digits.begin(), '1');
        } else {
            ++digits[i - 1];
        }
    }
    return digits;
}

// Fixed and plain forms against the exact decimal expansion, over values of
// every magnitude the formatting meets, their neighbours and their halves.
TEST(NumberFormatExact, FormsAgreeWithTheExactDecimalExpansion) {
    std::mt19937_64 random(12345);
    std::vector<double> values;
    for (int i = 0; i < 20000; ++i) {
        const double mantissa = std::uniform_real_distribution<double>(1, 10)(random);
        const int exponent = std::uniform_int_distribution<int>(-16, 17)(random);
        double v = mantissa * std::pow(10.0, exponent);
        if (i % 3 == 0) v = std::round(v * 1e4) / 1e4;  // decimal inputs as typed
        if (i % 5 == 0) v = std::ldexp(std::round(std::ldexp(v, 20)) + 0.5, -20);  // binary ties
        if (i % 2 == 0) v = -v;
        values.push_back(v);
        values.push_back(std::nextafter(v, 0.0));
    }
    for (double v : values) {
        const ExactDecimal exact = exactDecimal(v);
        for (NumberForm form : {NumberForm::F2, NumberForm::F3, NumberForm::F4}) {
            const std::size_t d = static_cast<std::size_t>(decimalsOf(form));
            std::string digits =
                roundedDigits(exact.whole + exact.fraction, exact.whole.size() + d);
            std::string whole = digits.substr(0, digits.size() - d);
            const std::string fraction = digits.substr(digits.size() - d);
            while (whole.size() > 1 && whole[0] == '0') whole.erase(0, 1);
            const bool zero = (whole + fraction).find_first_not_of('0') == std::string::npos;
            const std::string want = (v < 0 && !zero ? "-" : "") + whole + "." + fraction;
            ASSERT_EQ(formatNumber(v, form, kNoGrouping), want) << std::hexfloat << v;
        }
        // Plain: 15 significant digits, trailing zeros dropped.
        if (v == 0) continue;
        const std::string all = exact.whole + exact.fraction;
        const std::size_t first = all.find_first_not_of('0');
        const int exponent = static_cast<int>(exact.whole.size()) - 1 - static_cast<int>(first);
        std::string sig = roundedDigits(all.substr(first), 15);
        const int shownExponent = exponent + (sig.size() > 15 ? 1 : 0);
        sig.resize(15);
        while (sig.size() > 1 && sig.back() == '0') sig.pop_back();
        std::string want = v < 0 ? "-" : "";
        if (shownExponent >= 15) {
            want += sig.substr(0, 1) + (sig.size() > 1 ? "." + sig.substr(1) : "") + "E+" +
                    std::to_string(shownExponent);
        } else if (shownExponent < 0) {
            want += "0." + std::string(-shownExponent - 1, '0') + sig;
        } else if (sig.size() <= static_cast<std::size_t>(shownExponent) + 1) {
            want += sig + std::string(shownExponent + 1 - sig.size(), '0');
        } else {
            want += sig.substr(0, shownExponent + 1) + "." + sig.substr(shownExponent + 1);
        }
        ASSERT_EQ(formatNumber(v, NumberForm::Plain, kNoGrouping), want) << std::hexfloat << v;
    }
}

TEST(NumberFormat, AppendNumberAddsToWhatIsThere) {
    std::string out = "Total: ";
    appendNumber(out, 1234.5, NumberForm::F2, kUs);
    appendNumber(out, 0.5, NumberForm::Plain, kUs);
    EXPECT_EQ(out, "Total: 1,234.500.5");
}

}  // namespace
}  // namespace qarv
