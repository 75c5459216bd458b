#include "spreadsheet/date_format.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include "spreadsheet/spreadsheet_app.h"
#include "spreadsheet/workbook_file.h"
#include "test_support.h"

namespace qarv {
namespace {

struct FormatCase {
    int id;
    const char* code;
    DateKind kind;
};

class NumberFormatKind : public ::testing::TestWithParam<FormatCase> {};

TEST_P(NumberFormatKind, DatesAndTimesAreRecognised) {
    EXPECT_EQ(dateKindOfFormat(GetParam().id, GetParam().code), GetParam().kind)
        << GetParam().id << " " << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, NumberFormatKind,
    ::testing::Values(FormatCase{0, "", DateKind::None}, FormatCase{2, "", DateKind::None},
                      FormatCase{14, "", DateKind::Date}, FormatCase{17, "", DateKind::Date},
                      FormatCase{18, "", DateKind::Time}, FormatCase{22, "", DateKind::DateTime},
                      FormatCase{46, "", DateKind::Time}, FormatCase{49, "", DateKind::None},
                      FormatCase{164, "yyyy-mm-dd", DateKind::Date},
                      FormatCase{164, "d mmm yyyy", DateKind::Date},
                      FormatCase{164, "hh:mm", DateKind::Time},
                      FormatCase{164, "[h]:mm:ss", DateKind::Time},
                      FormatCase{164, "dd/mm/yyyy hh:mm", DateKind::DateTime},
                      FormatCase{164, "#,##0.000", DateKind::None},
                      FormatCase{164, "0.00\" days\"", DateKind::None},     // quoted text
                      FormatCase{164, "0.0\\d", DateKind::None},            // escaped letter
                      FormatCase{164, "[Red]0.00;[Blue]-0.00", DateKind::None},
                      FormatCase{164, "General", DateKind::None},
                      FormatCase{164, "0.00E+00", DateKind::None}));

struct SerialCase {
    double serial;
    DateKind kind;
    bool date1904;
    const char* shown;  // nullptr: no date text, the number stays
};

class SerialDate : public ::testing::TestWithParam<SerialCase> {};

TEST_P(SerialDate, ShownInIsoForm) {
    const auto shown = serialDateText(GetParam().serial, GetParam().kind, GetParam().date1904);
    if (!GetParam().shown) {
        EXPECT_FALSE(shown.has_value()) << *shown;
    } else {
        ASSERT_TRUE(shown.has_value()) << GetParam().serial;
        EXPECT_EQ(*shown, GetParam().shown);
    }
}

// The serial numbers are those a spreadsheet program gives the dates.
INSTANTIATE_TEST_SUITE_P(
    Serials, SerialDate,
    ::testing::Values(SerialCase{1, DateKind::Date, false, "1900-01-01"},
                      SerialCase{59, DateKind::Date, false, "1900-02-28"},
                      SerialCase{60, DateKind::Date, false, "1900-02-29"},
                      SerialCase{61, DateKind::Date, false, "1900-03-01"},
                      SerialCase{36526, DateKind::Date, false, "2000-01-01"},
                      SerialCase{45000, DateKind::Date, false, "2023-03-15"},
                      SerialCase{2958465, DateKind::Date, false, "9999-12-31"},
                      SerialCase{2958466, DateKind::Date, false, nullptr},
                      SerialCase{-1, DateKind::Date, false, nullptr},
                      SerialCase{0, DateKind::Date, true, "1904-01-01"},
                      SerialCase{34064, DateKind::Date, true, "1997-04-06"},
                      SerialCase{0.5, DateKind::Time, false, "12:00:00"},
                      SerialCase{0.99999999, DateKind::Time, false, "00:00:00"},
                      SerialCase{45000.75, DateKind::DateTime, false, "2023-03-15 18:00:00"},
                      SerialCase{45000.9999999, DateKind::DateTime, false, "2023-03-16 00:00:00"},
                      SerialCase{45000, DateKind::None, false, nullptr}));

// Dates written by libxlsxwriter with built-in and custom formats read as
// their dates; numbers with number formats stay numbers.
TEST(XlsxDates, ReadAsTheirShownDate) {
    test::TempDir dir;
    const auto path = dir.path() / "dates.xlsx";
    lxw_workbook* wb = workbook_new(path.c_str());
    ASSERT_NE(wb, nullptr);
    lxw_worksheet* ws = workbook_add_worksheet(wb, "Analyses");
    lxw_format* iso = workbook_add_format(wb);
    format_set_num_format(iso, "yyyy-mm-dd");
    lxw_format* builtIn = workbook_add_format(wb);
    format_set_num_format_index(builtIn, 14);
    lxw_format* clock = workbook_add_format(wb);
    format_set_num_format(clock, "hh:mm");
    lxw_format* fixed = workbook_add_format(wb);
    format_set_num_format(fixed, "0.000");
    lxw_datetime analysed = {2024, 5, 1, 0, 0, 0};
    lxw_datetime at = {0, 0, 0, 13, 45, 0};
    worksheet_write_datetime(ws, 0, 0, &analysed, iso);
    worksheet_write_datetime(ws, 0, 1, &analysed, builtIn);
    worksheet_write_datetime(ws, 0, 2, &at, clock);
    worksheet_write_number(ws, 0, 3, 45.5, fixed);
    worksheet_write_number(ws, 0, 4, 45413, nullptr);
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);

    const WorkbookReadResult read = readXlsxFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    const Worksheet& sheet = read.book.sheets[0];
    EXPECT_EQ(cellText(sheet, 1, 1), "2024-05-01");
    EXPECT_EQ(cellText(sheet, 1, 2), "2024-05-01");
    EXPECT_EQ(cellText(sheet, 1, 3), "13:45:00");
    EXPECT_EQ(cellText(sheet, 1, 4), "45.5");
    EXPECT_EQ(cellText(sheet, 1, 5), "45413");
}

}  // namespace
}  // namespace qarv
