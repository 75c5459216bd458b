#include "sheet/analysis_sheet.h"

#include <string>

namespace qarv {

AnalysisSheet::AnalysisSheet() : TextGrid(kSheetRowCount, kSheetColumnCount) {}

Region AnalysisSheet::dataArea() const {
    return {1, 1, rowCount() - 1, columnCount() - 1};
}

void AnalysisSheet::selectDataArea() {
    const Region area = dataArea();
    setCurrentCell({area.top, area.left});
    setSelectionCorner({area.bottom, area.right});
}

void AnalysisSheet::capCell() {
    setColumnCount(kSheetColumnCount);
    setRowCount(kSheetRowCount);
    for (int r = 1; r <= kLastDataRow; ++r) {
        setCurrentCell({r, 0});
        setCurrentText(std::to_string(r));
        setCurrentAlignment(CellAlignment::Centre);
    }
    const auto& columns = sheetColumns();
    setCurrentCell({0, 0});
    setCurrentAlignment(columns[0].headerAlignment);
    setCurrentText(std::string(columns[0].header));
    for (int c = 1; c <= kLastDataColumn; ++c) {
        const SheetColumn& column = columns[c];
        setCurrentCell({0, c});
        setCurrentAlignment(column.headerAlignment);
        // The untitled spacer columns keep whatever their header cell holds.
        if (!column.header.empty()) setCurrentText(std::string(column.header));
        if (column.width) setColumnWidth(c, *column.width);
        if (column.isValue) setColumnAlignment(c, column.dataAlignment);
        if (column.headerColour) setCurrentColour(*column.headerColour);
    }
}

}  // namespace qarv
