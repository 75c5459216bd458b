#include "ui/text_grid_model.h"

#include <algorithm>

namespace qarv::ui {

TextGridModel::TextGridModel(TextGrid& grid, GridStyle style, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), style_(std::move(style)) {}

int TextGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(grid_.rowCount() - 1, 0);
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(grid_.columnCount() - 1, 0);
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const CellPos cell = cellOf(index);
    if (role == Qt::DisplayRole) {
        return QString::fromStdString(grid_.text(cell.row, cell.column));
    }
    return style_ ? style_(grid_, cell.row, cell.column, role) : QVariant();
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section < 0) return {};
    const int row = orientation == Qt::Horizontal ? 0 : section + 1;
    const int column = orientation == Qt::Horizontal ? section + 1 : 0;
    if (!grid_.contains(row, column)) return {};
    if (role == Qt::DisplayRole) return QString::fromStdString(grid_.text(row, column));
    return style_ ? style_(grid_, row, column, role) : QVariant();
}

Qt::ItemFlags TextGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TextGridModel::gridReset() {
    beginResetModel();
    endResetModel();
}

void TextGridModel::cellChanged(CellPos cell) {
    regionChanged({cell.row, cell.column, cell.row, cell.column});
}

void TextGridModel::regionChanged(const Region& region) {
    if (region.top <= 0) {
        emit headerDataChanged(Qt::Horizontal, std::max(region.left - 1, 0),
                               std::max(region.right - 1, 0));
    }
    if (region.left <= 0) {
        emit headerDataChanged(Qt::Vertical, std::max(region.top - 1, 0),
                               std::max(region.bottom - 1, 0));
    }
    const int top = std::max(region.top, 1) - 1;
    const int left = std::max(region.left, 1) - 1;
    const int bottom = std::min(region.bottom - 1, rowCount() - 1);
    const int right = std::min(region.right - 1, columnCount() - 1);
    if (top <= bottom && left <= right) {
        emit dataChanged(index(top, left), index(bottom, right));
    }
}

}  // namespace qarv::ui
