#pragma once
// Shows a TextGrid (the analysis sheet or the results table) in a Qt view.
// Row 0 and column 0 are the grid's fixed cells: they appear as the view's
// header sections, so they stay in place while the data scroll. The model
// holds no copy of the data; commands change the grid and then tell the
// model what changed.

#include <QAbstractTableModel>
#include <functional>

#include "sheet/text_grid.h"

namespace qarv::ui {

// Colours, alignments and fonts of a grid's cells, by grid coordinates
// (row 0 and column 0 included) and Qt item role.
using GridStyle = std::function<QVariant(const TextGrid& grid, int row, int column, int role)>;

class TextGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    TextGridModel(TextGrid& grid, GridStyle style, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    TextGrid& grid() { return grid_; }
    const TextGrid& grid() const { return grid_; }

    // Grid coordinates of a model index and back (data cells only).
    static CellPos cellOf(const QModelIndex& index) {
        return {index.row() + 1, index.column() + 1};
    }
    QModelIndex indexOf(CellPos cell) const { return index(cell.row - 1, cell.column - 1); }

    // The grid changed in shape or in many cells.
    void gridReset();
    // One cell's text changed.
    void cellChanged(CellPos cell);
    // Cells of a region changed.
    void regionChanged(const Region& region);

  private:
    TextGrid& grid_;
    GridStyle style_;
};

}  // namespace qarv::ui
