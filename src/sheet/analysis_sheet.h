#pragma once
// The analysis sheet: the one table of text cells that the user fills and
// that the calculation run reads. A plain model; the grid only shows it.

#include "sheet/sheet_layout.h"
#include "sheet/text_grid.h"

namespace qarv {

class AnalysisSheet : public TextGrid {
  public:
    // An empty sheet of 201 rows and 61 columns, not yet laid out.
    AnalysisSheet();

    // Rows 1 to the last row, columns 1 to the last column.
    Region dataArea() const;
    // Makes (1, 1) current and (last row, last column) the selection corner.
    void selectDataArea();

    // Lays out the fixed parts: 201 rows, 61 columns, row numbers, headers,
    // widths, alignments and header colours. Never writes a data cell.
    void capCell();
};

}  // namespace qarv
