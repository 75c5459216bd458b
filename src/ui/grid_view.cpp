#include "ui/grid_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <climits>

namespace qarv::ui {
namespace {

// Twips to pixels at 96 dots per inch: 15 twips a pixel.
int pixelsOf(int twips) {
    return (twips + 7) / 15;
}

}  // namespace

GridView::GridView(TextGridModel* model, EnterMove enterMove, QWidget* parent)
    : QTableView(parent), model_(model), enterMove_(enterMove), editBuffer_(new QLineEdit(this)) {
    setModel(model);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Rows as low as the edit buffer (238 twips), the grid's minimum.
    verticalHeader()->setMinimumSectionSize(pixelsOf(238));
    verticalHeader()->setDefaultSectionSize(pixelsOf(238) + 2);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // A pale selection keeps selected numbers readable.
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, QColor(204, 224, 248));
    colours.setColor(QPalette::HighlightedText, QColor(0, 0, 0));
    setPalette(colours);

    // Kept outside the visible part of the window, as the user never types
    // into it directly; it mirrors the current cell.
    editBuffer_->setGeometry(-8, 0, 8, 16);
    editBuffer_->setFrame(false);
    // The focus never stays in it: a key pressed there goes to the grid.
    editBuffer_->setFocusPolicy(Qt::NoFocus);
    editBuffer_->installEventFilter(this);
    connect(editBuffer_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (syncing_) return;
        const std::string value = text.toStdString();
        if (grid().currentText() == value) return;
        grid().setCurrentText(value);
        model_->cellChanged(grid().currentCell());
        emit edited();
    });
}

void GridView::setColumnWidthTwips(int gridColumn, int twips) {
    if (gridColumn == 0) {
        verticalHeader()->setFixedWidth(pixelsOf(twips));
    } else {
        setColumnWidth(gridColumn - 1, pixelsOf(twips));
    }
}

void GridView::showGridSelection() {
    syncing_ = true;
    const TextGrid& g = grid();
    const Region region = g.selection();
    QItemSelectionModel* selection = selectionModel();
    const CellPos current = g.currentCell();
    const QModelIndex currentIndex = model_->indexOf(current);
    if (currentIndex.isValid()) {
        selection->setCurrentIndex(currentIndex, QItemSelectionModel::NoUpdate);
    } else {
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    const QModelIndex topLeft =
        model_->indexOf({std::max(region.top, 1), std::max(region.left, 1)});
    const QModelIndex bottomRight = model_->indexOf({region.bottom, region.right});
    if (topLeft.isValid() && bottomRight.isValid()) {
        selection->select(QItemSelection(topLeft, bottomRight),
                          QItemSelectionModel::ClearAndSelect);
    } else {
        selection->clearSelection();
    }
    if (g.firstVisibleRow() >= 1) {
        const QModelIndex first = model_->index(g.firstVisibleRow() - 1, 0);
        if (first.isValid()) scrollTo(first, QAbstractItemView::PositionAtTop);
    }
    syncing_ = false;
}

void GridView::typeCharacter(char32_t code) {
    const CellPos before = grid().currentCell();
    qarv::typeCharacter(grid(), code, enterMove_);
    const CellPos after = grid().currentCell();
    if (after == before) {
        model_->cellChanged(after);
        syncing_ = true;
        editBuffer_->setText(QString::fromStdString(grid().currentText()));
        syncing_ = false;
        emit edited();
    } else {
        showGridSelection();
        const QModelIndex index = model_->indexOf(after);
        if (index.isValid()) scrollTo(index);
    }
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editBuffer_ && event->type() == QEvent::KeyPress) {
        setFocus();
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

bool GridView::event(QEvent* event) {
    // Tab moves on in the grid instead of moving the focus away.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            typeCharacter(9);
            return true;
        }
    }
    return QTableView::event(event);
}

void GridView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        typeCharacter(13);
        return;
    }
    if (key == Qt::Key_Backspace) {
        typeCharacter(8);
        return;
    }
    const bool command =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const QString text = event->text();
    if (!command && !text.isEmpty() && text.front().isPrint()) {
        for (char32_t c : text.toUcs4()) typeCharacter(c);
        return;
    }
    // Arrow and page keys move the current cell the view's usual way.
    QTableView::keyPressEvent(event);
}

void GridView::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    syncing_ = true;
    editBuffer_->setText(QString::fromStdString(grid().currentText()));
    syncing_ = false;
    if (event->button() == Qt::RightButton)
        emit contextMenuWanted(event->globalPosition().toPoint());
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    // A click sets the current cell to the edit buffer's text, which mirrors
    // it, so it changes nothing.
    const std::string value = editBuffer_->text().toStdString();
    if (grid().currentText() != value) {
        grid().setCurrentText(value);
        model_->cellChanged(grid().currentCell());
    }
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!syncing_) takeSelectionFromView();
}

void GridView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    if (!syncing_) takeSelectionFromView();
}

void GridView::takeSelectionFromView() {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    const CellPos cell = TextGridModel::cellOf(current);
    // The selection is one rectangle; its corner is the one opposite the
    // current cell.
    CellPos corner = cell;
    const QItemSelection selection = selectionModel()->selection();
    if (!selection.isEmpty()) {
        int top = INT_MAX, left = INT_MAX, bottom = -1, right = -1;
        for (const QItemSelectionRange& range : selection) {
            top = std::min(top, range.top());
            left = std::min(left, range.left());
            bottom = std::max(bottom, range.bottom());
            right = std::max(right, range.right());
        }
        const int r = current.row(), c = current.column();
        if (r >= top && r <= bottom && c >= left && c <= right) {
            corner.row = (r == top ? bottom : top) + 1;
            corner.column = (c == left ? right : left) + 1;
        }
    }
    grid().setCurrentCell(cell);
    grid().setSelectionCorner(corner);
}

}  // namespace qarv::ui
