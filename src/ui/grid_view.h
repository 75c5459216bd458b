#pragma once
// The grid control of both windows: a table view over a TextGridModel whose
// current cell and selection follow the grid model's, and whose keys follow
// the program's typing rules instead of the item view's defaults.

#include <QLineEdit>
#include <QTableView>

#include "sheet/grid_editing.h"
#include "ui/text_grid_model.h"

namespace qarv::ui {

class GridView : public QTableView {
    Q_OBJECT
  public:
    GridView(TextGridModel* model, EnterMove enterMove, QWidget* parent = nullptr);

    TextGridModel* gridModel() const { return model_; }
    TextGrid& grid() const { return model_->grid(); }

    // The hidden one-line field that mirrors the current cell.
    QLineEdit* editBuffer() const { return editBuffer_; }

    // Shows the grid's current cell and selection (after a command changed
    // them) and scrolls to its first visible row.
    void showGridSelection();
    // Applies the column widths (twips) to the view.
    void setColumnWidthTwips(int gridColumn, int twips);

    // Types one character as the user would (also used by tests).
    void typeCharacter(char32_t code);

  signals:
    // Right button pressed: the window pops up its Edit menu here.
    void contextMenuWanted(const QPoint& globalPos);
    // The grid's text changed through typing or the edit buffer.
    void edited();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

  private:
    void takeSelectionFromView();

    TextGridModel* model_;
    EnterMove enterMove_;
    QLineEdit* editBuffer_;
    bool syncing_ = false;
};

}  // namespace qarv::ui
