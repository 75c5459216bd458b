#include "sheet/text_grid.h"

#include <algorithm>

namespace qarv {
namespace {

const std::string kEmpty;

constexpr char kTab = '\t';
constexpr char kCr = '\r';
constexpr char kLf = '\n';

}  // namespace

Region Region::spanning(CellPos a, CellPos b) {
    return {std::min(a.row, b.row), std::min(a.column, b.column), std::max(a.row, b.row),
            std::max(a.column, b.column)};
}

TextGrid::TextGrid(int rows, int columns) {
    setColumnCount(columns);
    setRowCount(rows);
}

void TextGrid::setRowCount(int count) {
    count = std::max(count, 0);
    rows_.resize(static_cast<std::size_t>(count), std::vector<Cell>(columnCount_));
}

void TextGrid::setColumnCount(int count) {
    columnCount_ = std::max(count, 0);
    for (auto& row : rows_) row.resize(static_cast<std::size_t>(columnCount_));
    columnWidths_.resize(static_cast<std::size_t>(columnCount_));
    columnAlignments_.resize(static_cast<std::size_t>(columnCount_));
}

bool TextGrid::contains(int row, int column) const {
    return row >= 0 && row < rowCount() && column >= 0 && column < columnCount_;
}

TextGrid::Cell* TextGrid::cellAt(int row, int column) {
    return contains(row, column) ? &rows_[row][column] : nullptr;
}

const TextGrid::Cell* TextGrid::cellAt(int row, int column) const {
    return contains(row, column) ? &rows_[row][column] : nullptr;
}

const std::string& TextGrid::text(int row, int column) const {
    const Cell* cell = cellAt(row, column);
    return cell != nullptr ? cell->text : kEmpty;
}

void TextGrid::setText(int row, int column, std::string text) {
    if (Cell* cell = cellAt(row, column)) cell->text = std::move(text);
}

void TextGrid::setCurrentCell(CellPos cell) {
    current_ = cell;
    corner_ = cell;
}

void TextGrid::setSelectionCorner(CellPos cell) {
    corner_ = cell;
}

void TextGrid::setCurrentAlignment(CellAlignment alignment) {
    if (Cell* cell = cellAt(current_.row, current_.column)) cell->alignment = alignment;
}

void TextGrid::setCurrentColour(Rgb colour) {
    if (Cell* cell = cellAt(current_.row, current_.column)) cell->colour = colour;
}

std::optional<CellAlignment> TextGrid::cellAlignment(int row, int column) const {
    const Cell* cell = cellAt(row, column);
    return cell != nullptr ? cell->alignment : std::nullopt;
}

std::optional<Rgb> TextGrid::cellColour(int row, int column) const {
    const Cell* cell = cellAt(row, column);
    return cell != nullptr ? cell->colour : std::nullopt;
}

std::optional<int> TextGrid::columnWidth(int column) const {
    if (column < 0 || column >= columnCount_) return std::nullopt;
    return columnWidths_[column];
}

void TextGrid::setColumnWidth(int column, int twips) {
    if (column >= 0 && column < columnCount_) columnWidths_[column] = twips;
}

std::optional<CellAlignment> TextGrid::columnAlignment(int column) const {
    if (column < 0 || column >= columnCount_) return std::nullopt;
    return columnAlignments_[column];
}

void TextGrid::setColumnAlignment(int column, CellAlignment alignment) {
    if (column >= 0 && column < columnCount_) columnAlignments_[column] = alignment;
}

std::string TextGrid::getClip(const Region& region) const {
    std::string out;
    for (int r = region.top; r <= region.bottom; ++r) {
        if (r > region.top) out.push_back(kCr);
        for (int c = region.left; c <= region.right; ++c) {
            if (c > region.left) out.push_back(kTab);
            out += text(r, c);
        }
    }
    return out;
}

void TextGrid::setClip(const Region& region, std::string_view text) {
    int r = region.top;
    std::size_t pos = 0;
    while (true) {
        std::size_t rowEnd = text.find(kCr, pos);
        const std::string_view rowText = text.substr(
            pos, rowEnd == std::string_view::npos ? std::string_view::npos : rowEnd - pos);
        if (r > region.bottom) break;
        int c = region.left;
        std::size_t cellPos = 0;
        while (true) {
            const std::size_t cellEnd = rowText.find(kTab, cellPos);
            if (c <= region.right) {
                setText(r, c,
                        std::string(rowText.substr(cellPos, cellEnd == std::string_view::npos
                                                                ? std::string_view::npos
                                                                : cellEnd - cellPos)));
            }
            if (cellEnd == std::string_view::npos || c >= region.right) break;
            cellPos = cellEnd + 1;
            ++c;
        }
        if (rowEnd == std::string_view::npos) break;
        pos = rowEnd + 1;
        if (pos < text.size() && text[pos] == kLf) ++pos;
        ++r;
    }
}

void TextGrid::clearSheet() {
    for (auto& row : rows_) {
        for (auto& cell : row) cell = Cell{};
    }
}

void TextGrid::insertRow(int row) {
    if (row < 0 || row > rowCount()) return;
    rows_.insert(rows_.begin() + row, std::vector<Cell>(columnCount_));
}

void TextGrid::removeRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    rows_.erase(rows_.begin() + row);
}

}  // namespace qarv
