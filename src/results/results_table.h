#pragma once
// The results table: two heading rows, then one row per analysed row, in the
// order the runs processed them. Plain text cells; the window only shows it.

#include <string>

#include "results/results_layout.h"
#include "results/sample_row.h"
#include "sheet/text_grid.h"

namespace qarv {

inline constexpr int kResultsHeadingRows = 2;

class ResultsTable : public TextGrid {
  public:
    // A table with its two heading rows (see buildLayout).
    ResultsTable();

    // Back to the two heading rows alone: row 0 the column numbers with
    // "Qarvelion" in column 0, row 1 the column titles.
    void buildLayout();
    // Appends a row: cells 0 to 163 receive the texts, 164 to 170 stay empty.
    void appendSampleRow(const SampleRow& texts);

    // The whole table as text: cells joined by tabs, each row ended by a line
    // feed.
    std::string toTsv() const;
};

}  // namespace qarv
