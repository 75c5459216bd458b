#include "results/results_table.h"

namespace qarv {
namespace {
const std::string kEmpty;
}

ResultsTable::ResultsTable() { buildLayout(); }

const std::string& ResultsTable::text(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kResultColumnCount) return kEmpty;
    return rows_[row][column];
}

void ResultsTable::setText(int row, int column, std::string text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kResultColumnCount) return;
    rows_[row][column] = std::move(text);
}

void ResultsTable::buildLayout() {
    rows_.assign(kResultsHeadingRows, std::vector<std::string>(kResultColumnCount));
    rows_[0][0] = kResultsCornerText;
    const auto& columns = resultColumns();
    for (int c = 1; c < kResultColumnCount; ++c) rows_[0][c] = std::to_string(c);
    for (int c = 0; c < kResultColumnCount; ++c) rows_[1][c] = columns[c].title;
}

void ResultsTable::appendSampleRow(const SampleRow& texts) {
    std::vector<std::string>& row = rows_.emplace_back(kResultColumnCount);
    for (int c = 0; c < kFormattedCellCount; ++c) row[c] = texts[c];
}

std::string ResultsTable::toTsv() const {
    std::string out;
    for (const auto& row : rows_) {
        for (int c = 0; c < kResultColumnCount; ++c) {
            if (c > 0) out.push_back('\t');
            out += row[c];
        }
        out.push_back('\n');
    }
    return out;
}

}  // namespace qarv
