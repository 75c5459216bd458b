#include "sheet/grid_editing.h"

#include <algorithm>

namespace qarv {
namespace {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Removes the last UTF-8 character of a text.
void dropLastCharacter(std::string& text) {
    if (text.empty()) return;
    std::size_t i = text.size() - 1;
    while (i > 0 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) --i;
    text.erase(i);
}

bool isDataRow(const TextGrid& grid, int row) {
    return row >= 1 && row < grid.rowCount();
}

}  // namespace

void typeCharacter(TextGrid& grid, char32_t code, EnterMove move) {
    const CellPos cell = grid.currentCell();
    if (code == 13 || code == 9) {
        const int lastRow = grid.rowCount() - 1;
        const int lastColumn = grid.columnCount() - 1;
        if (move == EnterMove::NextColumn) {
            if (cell.column + 1 <= lastColumn) {
                grid.setCurrentCell({cell.row, cell.column + 1});
            } else {
                grid.setCurrentCell({cell.row == lastRow ? 1 : cell.row + 1, 1});
            }
        } else {
            if (cell.row != lastRow) {
                grid.setCurrentCell({cell.row + 1, cell.column});
            } else {
                grid.setCurrentCell({1, 0});
            }
        }
        return;
    }
    if (code == 8) {
        std::string text = grid.currentText();
        dropLastCharacter(text);
        grid.setCurrentText(std::move(text));
        return;
    }
    if (code < 32) return;
    std::string text = grid.currentText();
    appendUtf8(text, code);
    grid.setCurrentText(std::move(text));
}

std::string selectionText(const TextGrid& grid) {
    return grid.getClip(grid.selection());
}

void emptySelection(TextGrid& grid) {
    const Region region = grid.selection();
    for (int r = region.top; r <= region.bottom; ++r) {
        for (int c = region.left; c <= region.right; ++c) grid.setText(r, c, std::string());
    }
}

void pasteText(TextGrid& grid, std::string_view text) {
    if (text.empty()) return;
    if (text.size() >= 2 && text.substr(text.size() - 2) == "\r\n") {
        text.remove_suffix(2);
    } else if (text.back() == '\r' || text.back() == '\n') {
        text.remove_suffix(1);
    }
    // Only the rows that land in the selection are looked at: a clipboard
    // of any size costs no more than the selection it fills.
    const Region target = grid.selection();
    std::size_t end = 0;
    for (int row = 0; row < target.rowCount() && end < text.size(); ++row) {
        const std::size_t lineEnd = text.find_first_of("\r\n", end);
        if (lineEnd == std::string_view::npos) {
            end = text.size();
            break;
        }
        end = lineEnd + (text.compare(lineEnd, 2, "\r\n") == 0 ? 2 : 1);
    }
    text = text.substr(0, end);
    // Line feeds alone (from programs that end lines with LF) are row breaks
    // too; setClip takes CR and CR LF.
    std::string rows(text);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] == '\n' && (i == 0 || rows[i - 1] != '\r')) rows[i] = '\r';
    }
    grid.setClip(grid.selection(), rows);
}

void selectAll(TextGrid& grid, int firstRow, int firstColumn) {
    grid.setCurrentCell({firstRow, firstColumn});
    grid.setSelectionCorner({grid.rowCount() - 1, grid.columnCount() - 1});
    grid.setFirstVisibleRow(firstRow);
}

void insertRowAtCurrent(TextGrid& grid) {
    const int row = grid.currentCell().row;
    if (isDataRow(grid, row)) grid.insertRow(row);
}

void removeCurrentRow(TextGrid& grid) {
    const int row = grid.currentCell().row;
    if (!isDataRow(grid, row) || grid.rowCount() <= 2) return;
    grid.removeRow(row);
    // The row below takes the removed row's place; on the last row the
    // current cell moves up to the new last row.
    const CellPos cell = grid.currentCell();
    grid.setCurrentCell({std::min(cell.row, grid.rowCount() - 1), cell.column});
}

void clearAll(AnalysisSheet& sheet) {
    sheet.clearSheet();
    sheet.capCell();
}

}  // namespace qarv
