#include "results/results_workbook.h"

#include <optional>

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

std::optional<ResultsNumberCell> resultsNumberCell(int column, std::string_view text,
                                                   const NumberFormatSettings& settings) {
    if (column < 0 || column >= kResultColumnCount || text.empty()) return std::nullopt;
    const ResultColumn& layout = resultColumns()[column];
    if (layout.kind != ResultKind::Number) return std::nullopt;
    const double value = readFormatted(text, settings);
    if (formatNumber(value, layout.form, settings) != text) return std::nullopt;
    return ResultsNumberCell{value, workbookNumberFormat(layout.form)};
}

namespace {

// A data cell whose text is a number in its column's form: it formats back
// to the same text.
std::optional<ResultsNumberCell> numberIn(const ResultsTable& table, int row, int column,
                                          const NumberFormatSettings& settings) {
    if (row < kResultsHeadingRows) return std::nullopt;
    return resultsNumberCell(column, table.text(row, column), settings);
}

}  // namespace

void fillResultsSheet(Worksheet& sheet, const ResultsTable& table,
                      const NumberFormatSettings& settings) {
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int c = 0; c < table.columnCount(); ++c) {
            if (const auto number = numberIn(table, r, c, settings)) {
                setCellNumber(sheet, r + 1, c + 1, number->value, std::string(number->format));
            } else {
                setCellText(sheet, r + 1, c + 1, table.text(r, c));
            }
        }
    }
}

int sendResultsCell(const SheetHandle& sheet, const ResultsTable& table, int row, int column,
                    const NumberFormatSettings& settings) {
    if (const auto number = numberIn(table, row, column, settings)) {
        return writeNumberCell(sheet, row + 1, column + 1, number->value,
                               std::string(number->format));
    }
    return writeCell(sheet, row + 1, column + 1, table.text(row, column));
}

Workbook resultsWorkbook(const ResultsTable& table, const NumberFormatSettings& settings) {
    Workbook book;
    fillResultsSheet(book.addSheet("Results"), table, settings);
    return book;
}

}  // namespace qarv
