#include "results/results_table.h"

namespace qarv {

ResultsTable::ResultsTable() : TextGrid(kResultsHeadingRows, kResultColumnCount) {
    buildLayout();
}

void ResultsTable::buildLayout() {
    setColumnCount(kResultColumnCount);
    setRowCount(0);
    setRowCount(kResultsHeadingRows);
    setText(0, 0, std::string(kResultsCornerText));
    const auto& columns = resultColumns();
    for (int c = 1; c < kResultColumnCount; ++c) setText(0, c, std::to_string(c));
    for (int c = 0; c < kResultColumnCount; ++c) setText(1, c, std::string(columns[c].title));
}

void ResultsTable::appendSampleRow(const SampleRow& texts) {
    const int row = rowCount();
    setRowCount(row + 1);
    for (int c = 0; c < kFormattedCellCount; ++c) setText(row, c, texts[c]);
}

std::string ResultsTable::toTsv() const {
    std::string out;
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            if (c > 0) out.push_back('\t');
            out += text(r, c);
        }
        out.push_back('\n');
    }
    return out;
}

}  // namespace qarv
