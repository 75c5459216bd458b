#include "results/results_workbook.h"

namespace qarv {

std::string_view workbookNumberFormat(NumberForm form) {
    switch (form) {
        case NumberForm::F2:
            return "#,##0.00";
        case NumberForm::F3:
            return "#,##0.000";
        case NumberForm::F3g:
            return "#,###0.000";
        case NumberForm::F4:
            return "#,##0.0000";
        case NumberForm::Plain:
            return "";
    }
    return "";
}

void fillResultsSheet(Worksheet& sheet, const ResultsTable& table,
                      const NumberFormatSettings& settings) {
    const auto& columns = resultColumns();
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int c = 0; c < table.columnCount(); ++c) {
            const std::string& text = table.text(r, c);
            const ResultColumn& column = columns[c];
            if (r >= kResultsHeadingRows && column.kind == ResultKind::Number && !text.empty()) {
                // A number in the column's form formats back to the same text.
                const double value = readFormatted(text, settings);
                if (formatNumber(value, column.form, settings) == text) {
                    setCellNumber(sheet, r + 1, c + 1, value,
                                  std::string(workbookNumberFormat(column.form)));
                    continue;
                }
            }
            setCellText(sheet, r + 1, c + 1, text);
        }
    }
}

Workbook resultsWorkbook(const ResultsTable& table, const NumberFormatSettings& settings) {
    Workbook book;
    fillResultsSheet(book.addSheet("Results"), table, settings);
    return book;
}

}  // namespace qarv
