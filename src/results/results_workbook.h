#pragma once
// The results table as a workbook sheet: table cell (r, c) goes to sheet cell
// (r + 1, c + 1), the whole table, heading rows and empty columns included.

#include <optional>
#include <string_view>

#include "results/number_format.h"
#include "results/results_table.h"
#include "spreadsheet/spreadsheet_app.h"
#include "spreadsheet/workbook.h"

namespace qarv {

// The workbook number format that shows exactly a column form's text.
std::string_view workbookNumberFormat(NumberForm form);

// A data cell of the results table as the workbook holds it: the number and
// the format that shows its text, when the column shows a number and the
// text is one in the column's form; nothing for a cell written as text.
struct ResultsNumberCell {
    double value;
    std::string_view format;
};
std::optional<ResultsNumberCell> resultsNumberCell(int column, std::string_view text,
                                                   const NumberFormatSettings& settings);

// Fills the sheet from the results table. Numbers travel as numbers: in the
// columns that show a number, a data cell whose text is a number in the
// column's form is written as that number with the format that shows the
// same text, so the workbook computes with the values and still shows what
// the table shows. Everything else (headings, sample names, labels, texts a
// user typed) is written as text, so a sample named "007" stays "007".
void fillResultsSheet(Worksheet& sheet, const ResultsTable& table,
                      const NumberFormatSettings& settings);

// The send of one table cell (r, c) into the sheet's cell (r + 1, c + 1), as
// fillResultsSheet writes it; returns the run-time error number (424
// without a sheet).
int sendResultsCell(const SheetHandle& sheet, const ResultsTable& table, int row, int column,
                    const NumberFormatSettings& settings);

// A workbook of one sheet holding the results table.
Workbook resultsWorkbook(const ResultsTable& table, const NumberFormatSettings& settings);

}  // namespace qarv
