#include "spreadsheet/workbook_import.h"

namespace qarv {

void importWorksheetBlock(const Worksheet& worksheet, AnalysisSheet& sheet) {
    sheet.setColumnCount(kImportColumns);
    sheet.setRowCount(kImportRows);
    for (int r = 0; r < kImportRows; ++r) {
        for (int c = 0; c < kImportColumns; ++c) {
            std::string text = cellText(worksheet, r + 1, c + 1);
            for (char& ch : text) {
                if (ch == '\t' || ch == '\r' || ch == '\n') ch = ' ';
            }
            sheet.setCurrentCell({r, c});
            sheet.setCurrentText(std::move(text));
        }
    }
}

}  // namespace qarv
