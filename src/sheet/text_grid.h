#pragma once
// A table of text cells with a current cell and a selection, copied and laid
// out as block text: the model behind both the analysis sheet and the results
// table. Plain data; a grid control only shows it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sheet/sheet_layout.h"  // Rgb, CellAlignment

namespace qarv {

struct CellPos {
    int row = 0;
    int column = 0;
    friend bool operator==(const CellPos&, const CellPos&) = default;
};

// A rectangle of cells, both corners included.
struct Region {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    // The rectangle spanned by two corner cells given in either order.
    static Region spanning(CellPos a, CellPos b);
    int rowCount() const { return bottom - top + 1; }
    int columnCount() const { return right - left + 1; }
    friend bool operator==(const Region&, const Region&) = default;
};

class TextGrid {
  public:
    TextGrid(int rows, int columns);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    int columnCount() const { return columnCount_; }
    // Rows beyond the new count are dropped with their contents; new rows
    // and columns are empty.
    void setRowCount(int count);
    void setColumnCount(int count);

    bool contains(int row, int column) const;
    // Text of a cell; an empty text for a cell outside the sheet.
    const std::string& text(int row, int column) const;
    // Writes a cell; ignored outside the sheet.
    void setText(int row, int column, std::string text);

    CellPos currentCell() const { return current_; }
    void setCurrentCell(CellPos cell);
    CellPos selectionCorner() const { return corner_; }
    void setSelectionCorner(CellPos cell);
    // The rectangle between the current cell and the selection corner.
    Region selection() const { return Region::spanning(current_, corner_); }
    int firstVisibleRow() const { return firstVisibleRow_; }
    void setFirstVisibleRow(int row) { firstVisibleRow_ = row; }

    const std::string& currentText() const { return text(current_.row, current_.column); }
    void setCurrentText(std::string text) {
        setText(current_.row, current_.column, std::move(text));
    }
    void setCurrentAlignment(CellAlignment alignment);
    void setCurrentColour(Rgb colour);

    std::optional<CellAlignment> cellAlignment(int row, int column) const;
    std::optional<Rgb> cellColour(int row, int column) const;
    std::optional<int> columnWidth(int column) const;
    void setColumnWidth(int column, int twips);
    std::optional<CellAlignment> columnAlignment(int column) const;
    void setColumnAlignment(int column, CellAlignment alignment);

    // Every cell.
    Region all() const { return {0, 0, rowCount() - 1, columnCount_ - 1}; }

    // Block text of a region: cells joined by tabs, rows by carriage returns.
    std::string getClip(const Region& region) const;
    // Lays a block text over a region: piece (i, j) goes to (top + i, left + j);
    // pieces outside the region are dropped, cells without a piece keep their
    // texts. A line feed right after a carriage return is taken as part of
    // the row break, so text with CR LF line ends lands as it does with CR.
    void setClip(const Region& region, std::string_view text);

    // Empties every cell, fixed ones included, and drops per-cell alignment
    // and colour; the counts stay.
    void clearSheet();
    // Inserts an empty row before `row`; ignored outside 1..rowCount.
    void insertRow(int row);
    // Removes the row at `row`; ignored outside the sheet.
    void removeRow(int row);

  private:
    struct Cell {
        std::string text;
        std::optional<CellAlignment> alignment;
        std::optional<Rgb> colour;
    };
    Cell* cellAt(int row, int column);
    const Cell* cellAt(int row, int column) const;

    std::vector<std::vector<Cell>> rows_;
    int columnCount_ = 0;
    std::vector<std::optional<int>> columnWidths_;
    std::vector<std::optional<CellAlignment>> columnAlignments_;
    CellPos current_{};
    CellPos corner_{};
    int firstVisibleRow_ = 1;
};

}  // namespace qarv
