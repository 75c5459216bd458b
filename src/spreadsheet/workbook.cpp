#include "spreadsheet/workbook.h"

#include <charconv>
#include <cmath>

namespace qarv {

Worksheet* Workbook::sheetNamed(std::string_view name) {
    for (Worksheet& sheet : sheets)
        if (sheet.name == name) return &sheet;
    return nullptr;
}

const Worksheet* Workbook::sheetNamed(std::string_view name) const {
    for (const Worksheet& sheet : sheets)
        if (sheet.name == name) return &sheet;
    return nullptr;
}

Worksheet& Workbook::addSheet(std::string name) {
    sheets.push_back(Worksheet{std::move(name), {}});
    return sheets.back();
}

const Cell* findCell(const Worksheet& sheet, int row, int column) {
    const auto it = sheet.cells.find({row, column});
    return it == sheet.cells.end() ? nullptr : &it->second;
}

std::string cellText(const Worksheet& sheet, int row, int column) {
    const Cell* cell = findCell(sheet, row, column);
    return cell ? cell->text : std::string();
}

bool setCellText(Worksheet& sheet, int row, int column, std::string text) {
    if (!isCellInRange(row, column)) return false;
    if (text.empty()) {
        sheet.cells.erase({row, column});
        return true;
    }
    Cell& cell = sheet.cells[{row, column}];
    cell = Cell{};
    cell.text = std::move(text);
    return true;
}

bool setCellNumber(Worksheet& sheet, int row, int column, double value, std::string numberFormat) {
    if (!isCellInRange(row, column)) return false;
    Cell& cell = sheet.cells[{row, column}];
    cell.kind = Cell::Kind::Number;
    cell.number = value;
    cell.text = shortestNumberText(value);
    cell.numberFormat = std::move(numberFormat);
    return true;
}

std::string shortestNumberText(double value) {
    if (!std::isfinite(value)) return "#NUM!";
    if (value == 0.0) return "0";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::optional<std::pair<int, int>> parseCellReference(std::string_view reference) {
    std::size_t i = 0;
    long column = 0;
    while (i < reference.size()) {
        char c = reference[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z') break;
        column = column * 26 + (c - 'A' + 1);
        if (column > kMaxSheetColumns) return std::nullopt;
        ++i;
    }
    if (i == 0 || i == reference.size()) return std::nullopt;
    long row = 0;
    for (; i < reference.size(); ++i) {
        const char c = reference[i];
        if (c < '0' || c > '9') return std::nullopt;
        row = row * 10 + (c - '0');
        if (row > kMaxSheetRows) return std::nullopt;
    }
    if (row < 1) return std::nullopt;
    return std::pair<int, int>{static_cast<int>(row), static_cast<int>(column)};
}

std::string columnLetters(int column) {
    std::string letters;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        letters.insert(letters.begin(), static_cast<char>('A' + digit));
        column = (column - 1) / 26;
    }
    return letters;
}

}  // namespace qarv
