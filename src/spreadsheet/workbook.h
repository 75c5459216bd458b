#pragma once
// The workbook the program reads from and writes to: named sheets of text
// and number cells, one of them active. Rows and columns are counted from 1,
// sheets from 0.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qarv {

// The largest sheet a workbook file can describe; cells beyond are ignored
// on reading and refused on writing.
inline constexpr int kMaxSheetRows = 1048576;
inline constexpr int kMaxSheetColumns = 16384;

struct Cell {
    enum class Kind { Text, Number };
    Kind kind = Kind::Text;
    // Text cells: the text. Number cells: the text the number is shown as.
    std::string text;
    double number = 0.0;
    // Number cells written to a file: the number format ("#,##0.000");
    // empty for the general format.
    std::string numberFormat;
};

struct Worksheet {
    std::string name;
    // Keyed by (row, column), both from 1; absent keys are empty cells.
    std::map<std::pair<int, int>, Cell> cells;
};

struct Workbook {
    std::vector<Worksheet> sheets;
    std::size_t activeSheet = 0;  // index into sheets

    // The sheet with that name (compared exactly), or null.
    Worksheet* sheetNamed(std::string_view name);
    const Worksheet* sheetNamed(std::string_view name) const;
    // Appends a sheet and returns it.
    Worksheet& addSheet(std::string name);
};

// True for a cell position inside the largest sheet.
constexpr bool isCellInRange(int row, int column) {
    return row >= 1 && row <= kMaxSheetRows && column >= 1 && column <= kMaxSheetColumns;
}

// The cell's value as text: a text cell's text, a number cell's shown
// text, empty for an empty cell or a position outside the sheet.
std::string cellText(const Worksheet& sheet, int row, int column);
// The cell, or null when it is empty.
const Cell* findCell(const Worksheet& sheet, int row, int column);

// Stores a text cell; false (nothing stored) outside the largest sheet.
// Empty text empties the cell.
bool setCellText(Worksheet& sheet, int row, int column, std::string text);
// Stores a number cell shown in the shortest text that reads back to the
// same value; false outside the largest sheet.
bool setCellNumber(Worksheet& sheet, int row, int column, double value,
                   std::string numberFormat = {});

// The shortest decimal text that reads back to the same double: "12.5",
// "100", "0.1", "-3", "1e+22". Negative zero gives "0"; infinities and NaN,
// which no workbook cell holds, give "#NUM!".
std::string shortestNumberText(double value);

// Parses a cell reference such as "A1" or "BH201" (upper- or lower-case
// letters); nothing for anything else or a position outside the largest
// sheet. The result is (row, column).
std::optional<std::pair<int, int>> parseCellReference(std::string_view reference);
// "A", "Z", "AA", "BH", ... for columns 1, 26, 27, 60.
std::string columnLetters(int column);

}  // namespace qarv
