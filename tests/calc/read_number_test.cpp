// readNumber turns every cell of the analysis sheet into a number, so a
// wrong reading silently changes an analysis. These cases pin the reading
// rule: the longest leading decimal number after leading spaces, the period
// as the only decimal character, E/e/D/d exponents that count only when
// digits follow, the nearest double, and 0 for anything that is no number
// (including a number too large for a double).

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "calc/read_number.h"

namespace {

struct ReadCase {
    std::string_view text;
    double value;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ReadNumberTest : public ::testing::TestWithParam<ReadCase> {};

// Exact comparison on purpose: the reading must give the very double that
// the C++ compiler gives the same decimal literal (the nearest double).
TEST_P(ReadNumberTest, ReadsTheLeadingDecimalNumber) {
    const ReadCase& c = GetParam();
    const double got = qarv::readNumber(c.text);
    EXPECT_FALSE(std::isnan(got));
    EXPECT_EQ(got, c.value) << "text \"" << c.text << '"';
}

// Plain numbers, signs and the period in every position the rule allows.
INSTANTIATE_TEST_SUITE_P(Decimals, ReadNumberTest,
                         ::testing::Values(ReadCase{"42", 42}, ReadCase{"0", 0},
                                           ReadCase{"007", 7}, ReadCase{"+7", 7},
                                           ReadCase{"-7", -7}, ReadCase{"0.25", 0.25},
                                           ReadCase{"12.5", 12.5}, ReadCase{".5", 0.5},
                                           ReadCase{"-.5", -0.5}, ReadCase{"+.5", 0.5},
                                           ReadCase{"5.", 5}, ReadCase{"-0.01", -0.01},
                                           ReadCase{"68.119", 68.119}));

// Leading spaces are skipped; the number ends at the first character that
// cannot continue it, and whatever follows is ignored.
INSTANTIATE_TEST_SUITE_P(
    Surroundings, ReadNumberTest,
    ::testing::Values(ReadCase{" 3.5", 3.5}, ReadCase{"   -0.0042", -0.0042},
                      ReadCase{"12,5", 12}, ReadCase{"1,234.5", 1}, ReadCase{"1.5.3", 1.5},
                      ReadCase{"1 2", 1}, ReadCase{"12 %", 12}, ReadCase{"3.5wt%", 3.5},
                      ReadCase{"0x1A", 0}, ReadCase{"5.e3", 5}, ReadCase{"5..5", 5}));

// An exponent letter (E, e, D or d) with an optional sign belongs to the
// number only when digits follow it; otherwise the mantissa stands alone.
INSTANTIATE_TEST_SUITE_P(
    Exponents, ReadNumberTest,
    ::testing::Values(ReadCase{"1E", 1}, ReadCase{"2E+", 2}, ReadCase{"3e-", 3},
                      ReadCase{"1D2", 100}, ReadCase{"1d-2", 0.01}, ReadCase{"2.5E3", 2500},
                      ReadCase{"2.5e+3", 2500}, ReadCase{"-1.5E-3", -0.0015},
                      ReadCase{".5e1", 5}, ReadCase{"1e3x", 1000}, ReadCase{"1e2e3", 100},
                      ReadCase{"1E 2", 1}, ReadCase{"1e+-2", 1}, ReadCase{"7Dx", 7},
                      ReadCase{"1e0000000000000000000002", 100}));

// Texts that do not begin with a number read 0, including the usual
// laboratory notations for "not detected" and the words a double parser
// might otherwise accept.
INSTANTIATE_TEST_SUITE_P(
    NotANumber, ReadNumberTest,
    ::testing::Values(ReadCase{"", 0}, ReadCase{"abc", 0}, ReadCase{"   ", 0},
                      ReadCase{"-", 0}, ReadCase{"+", 0}, ReadCase{".", 0},
                      ReadCase{"-.", 0}, ReadCase{".e5", 0}, ReadCase{"e5", 0},
                      ReadCase{"E", 0}, ReadCase{"--5", 0}, ReadCase{"+-5", 0},
                      ReadCase{"- 5", 0}, ReadCase{"<0.01", 0}, ReadCase{"n.d.", 0},
                      ReadCase{"b.d.l.", 0}, ReadCase{"inf", 0}, ReadCase{"-inf", 0},
                      ReadCase{"nan", 0}, ReadCase{"Infinity", 0}));

// The decimal text converts to the nearest double: exactly halfway cases
// round to even, long mantissas are not truncated, subnormals survive, and
// only a value beyond the largest double reads 0.
INSTANTIATE_TEST_SUITE_P(
    NearestDouble, ReadNumberTest,
    ::testing::Values(
        ReadCase{"0.1", 0.1}, ReadCase{"0.30000000000000004", 0.30000000000000004},
        ReadCase{"9007199254740993", 9007199254740992.0},
        ReadCase{"9007199254740993.0000000000000000001", 9007199254740994.0},
        ReadCase{"123456789012345678901234567890", 123456789012345678901234567890.0},
        ReadCase{"0.000000000000000000000000000001e30", 1.0},
        ReadCase{"2.2250738585072011e-308", 2.2250738585072011e-308},
        ReadCase{"1e-310", 1e-310},
        ReadCase{"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
        ReadCase{"1e-400", 0},
        ReadCase{"1.7976931348623157e308", std::numeric_limits<double>::max()},
        ReadCase{"1e308", 1e308}, ReadCase{"1e309", 0}, ReadCase{"1e400", 0},
        ReadCase{"-1e400", 0}, ReadCase{"1D400", 0}));

}  // namespace
