#pragma once
// The editing commands shared by the data-entry grid and the results table:
// typing, moving on with Enter and Tab, rows, and the clipboard commands'
// effect on the cells (the clipboard itself belongs to the window).

#include <string>
#include <string_view>

#include "sheet/analysis_sheet.h"
#include "sheet/text_grid.h"

namespace qarv {

// Where Enter and Tab move the current cell.
enum class EnterMove {
    NextColumn,  // data-entry grid: one column right, wrapping to the next row's column 1
    NextRow,     // results table: one row down, wrapping to row 1, column 0
};

// A character typed on the grid: Enter and Tab move on, Backspace removes
// the last character, other control characters do nothing, and any other
// character is appended to the current cell's text (UTF-8).
void typeCharacter(TextGrid& grid, char32_t code, EnterMove move);

// The block text of the selection (Copy puts it on the clipboard).
std::string selectionText(const TextGrid& grid);
// Empties every cell of the selection (Delete, and Cut after copying).
void emptySelection(TextGrid& grid);
// Lays clipboard text over the selection. Text copied from other programs
// ends its lines with CR LF and usually ends with a line break: CR LF counts
// as one row break and one final line break is ignored, so the block lands
// exactly and no cell beyond it is emptied. Empty text changes nothing.
void pasteText(TextGrid& grid, std::string_view text);

// Select All: from (firstRow, firstColumn) to the last row and column;
// the first visible row becomes firstRow.
void selectAll(TextGrid& grid, int firstRow, int firstColumn);

// Insert Row: an empty row before the current row, if it is a data row.
void insertRowAtCurrent(TextGrid& grid);
// Remove Row: removes the current data row, keeping at least one data row.
void removeCurrentRow(TextGrid& grid);

// Clear All: every cell emptied, then the sheet laid out again.
void clearAll(AnalysisSheet& sheet);

}  // namespace qarv
