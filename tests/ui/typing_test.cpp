// Typing into the two grids and moving on with Enter and Tab: through the
// grid control's character entry point, and with real key events sent to the
// views (which also shows which window's shortcut owns Ctrl+C).

#include <QLineEdit>
#include <QtTest>

#include "ui/data_entry_window.h"
#include "ui/grid_view.h"
#include "ui/results_window.h"
#include "ui/text_grid_model.h"
#include "ui_fakes.h"

using namespace qarv;
using namespace qarv::ui;
using qarv::test::FakeDesktop;
using qarv::test::InTempFolder;

namespace {

QString cellText(const TextGrid& grid, CellPos cell) {
    return QString::fromStdString(grid.text(cell.row, cell.column));
}

// A results table with three data rows (table rows 2 to 4) whose cells
// read "r/c".
void fillResults(ResultsWindow& results) {
    ResultsTable& table = results.table();
    table.setRowCount(5);
    for (int r = 2; r <= 4; ++r) {
        for (int c = 0; c <= 170; ++c) table.setText(r, c, QStringLiteral("%1/%2").arg(r).arg(c).toStdString());
    }
    results.tableChanged();
}

void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

}  // namespace

class TypingTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<InTempFolder>();
        desk_ = std::make_unique<FakeDesktop>();
        window_ = std::make_unique<DataEntryWindow>(desk_->context);
        window_->newFile();
    }
    void cleanup() {
        window_.reset();
        desk_.reset();
        folder_.reset();
    }

    void charactersAreAppendedToTheCurrentCell_data();
    void charactersAreAppendedToTheCurrentCell();
    void enterAndTabMoveOn_data();
    void enterAndTabMoveOn();
    void typingBeforeACellIsChosenGoesToTheHeaderCell();
    void keyEventsReachTheSheet();
    void keyEventsReachTheResultsTable();
    void arrowKeysMoveWithoutTyping();
    void ctrlCClosesTheDataEntrySheetAndDoesNotCopy();
    void ctrlCCutsInTheResultsWindow();
    void keyInTheEditBufferGivesTheFocusBackToTheGrid();

private:
    GridView* viewOf(const QString& window) {
        if (window == QLatin1String("results")) {
            ResultsWindow* results = window_->ensureResultsWindow();
            fillResults(*results);
            return results->tableView();
        }
        return window_->sheetView();
    }

    std::unique_ptr<InTempFolder> folder_;
    std::unique_ptr<FakeDesktop> desk_;
    std::unique_ptr<DataEntryWindow> window_;
};

void TypingTest::charactersAreAppendedToTheCurrentCell_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");  // one character per code, Latin-1
    QTest::addColumn<QString>("after");

    for (const char* window : {"sheet", "results"}) {
        const QString w = QString::fromLatin1(window);
        QTest::addRow("%s: 1.5 into an empty cell", window) << w << "" << "1.5" << "1.5";
        QTest::addRow("%s: 3 after 1.5", window) << w << "1.5" << "3" << "1.53";
        QTest::addRow("%s: backspace in an empty cell", window) << w << "" << "\b" << "";
        QTest::addRow("%s: backspace removes the last character", window) << w << "12,5" << "\b" << "12,";
        QTest::addRow("%s: backspace then new digits", window) << w << "48.1" << "\b\b.27" << "48.27";
        QTest::addRow("%s: other control characters do nothing", window)
            << w << "7" << QString::fromLatin1("\x01\x1b\x1f") << "7";
        QTest::addRow("%s: letters, commas and blanks go in as typed", window)
            << w << "" << "abc, 12 d" << "abc, 12 d";
        QTest::addRow("%s: a Latin-1 letter", window) << w << "M" << QString::fromLatin1("\xfc") << "M\u00fc";
        QTest::addRow("%s: backspace removes a whole Latin-1 letter", window)
            << w << "M\u00fc" << "\b" << "M";
    }
}

void TypingTest::charactersAreAppendedToTheCurrentCell() {
    QFETCH(QString, window);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, after);

    GridView* view = viewOf(window);
    TextGrid& grid = view->grid();
    const CellPos cell{3, 2};
    grid.setText(cell.row, cell.column, before.toStdString());
    grid.setCurrentCell(cell);
    grid.setSelectionCorner(cell);
    view->gridModel()->cellChanged(cell);

    for (char32_t code : typed.toUcs4()) view->typeCharacter(code);

    QCOMPARE(cellText(grid, cell), after);
    QCOMPARE(grid.currentCell(), cell);
    // The view shows the new text and the edit buffer mirrors it.
    QCOMPARE(view->model()->data(view->gridModel()->indexOf(cell), Qt::DisplayRole).toString(), after);
    QCOMPARE(view->editBuffer()->text(), after);
}

void TypingTest::enterAndTabMoveOn_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("rowCount");  // 0: as laid out
    QTest::addColumn<CellPos>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<CellPos>("to");

    // The sheet moves one column right and wraps to the next row's column 1.
    QTest::newRow("sheet: Enter inside a row") << "sheet" << 0 << CellPos{3, 4} << 13 << CellPos{3, 5};
    QTest::newRow("sheet: Enter in column 59") << "sheet" << 0 << CellPos{5, 59} << 13 << CellPos{5, 60};
    QTest::newRow("sheet: Enter in column 60 of row 7") << "sheet" << 0 << CellPos{7, 60} << 13 << CellPos{8, 1};
    QTest::newRow("sheet: Enter in column 60 of the last row")
        << "sheet" << 0 << CellPos{200, 60} << 13 << CellPos{1, 1};
    QTest::newRow("sheet: Tab in column 60 of row 7") << "sheet" << 0 << CellPos{7, 60} << 9 << CellPos{8, 1};
    QTest::newRow("sheet: Tab in column 60 of the last row")
        << "sheet" << 0 << CellPos{200, 60} << 9 << CellPos{1, 1};
    QTest::newRow("sheet: from the header cell capCell leaves current")
        << "sheet" << 0 << CellPos{0, 60} << 13 << CellPos{1, 1};
    QTest::newRow("sheet: row 200 is not last after Insert Row")
        << "sheet" << 202 << CellPos{200, 60} << 13 << CellPos{201, 1};
    QTest::newRow("sheet: row 201 is last after Insert Row")
        << "sheet" << 202 << CellPos{201, 60} << 9 << CellPos{1, 1};
    QTest::newRow("sheet: last row of a shortened sheet")
        << "sheet" << 3 << CellPos{2, 60} << 13 << CellPos{1, 1};

    // The results table moves one row down; from the last row to row 1,
    // column 0, then down column 0.
    QTest::newRow("results: Enter moves down") << "results" << 0 << CellPos{2, 5} << 13 << CellPos{3, 5};
    QTest::newRow("results: Tab moves down") << "results" << 0 << CellPos{3, 170} << 9 << CellPos{4, 170};
    QTest::newRow("results: Enter on the last row") << "results" << 0 << CellPos{4, 5} << 13 << CellPos{1, 0};
    QTest::newRow("results: Tab on the last row") << "results" << 0 << CellPos{4, 170} << 9 << CellPos{1, 0};
    QTest::newRow("results: on down column 0") << "results" << 0 << CellPos{1, 0} << 13 << CellPos{2, 0};
    QTest::newRow("results: from the column-number row") << "results" << 0 << CellPos{0, 3} << 13 << CellPos{1, 3};
}

void TypingTest::enterAndTabMoveOn() {
    QFETCH(QString, window);
    QFETCH(int, rowCount);
    QFETCH(CellPos, from);
    QFETCH(int, key);
    QFETCH(CellPos, to);

    GridView* view = viewOf(window);
    TextGrid& grid = view->grid();
    if (rowCount > 0) {
        grid.setRowCount(rowCount);
        view->gridModel()->gridReset();
    }
    const std::string before = grid.text(from.row, from.column);
    grid.setCurrentCell(from);
    grid.setSelectionCorner(from);

    view->typeCharacter(static_cast<char32_t>(key));

    QCOMPARE(grid.currentCell(), to);
    QCOMPARE(grid.text(from.row, from.column), before);  // moving on types nothing
    if (to.row >= 1 && to.column >= 1) {
        QCOMPARE(view->currentIndex(), view->gridModel()->indexOf(to));
    }
}

void TypingTest::typingBeforeACellIsChosenGoesToTheHeaderCell() {
    // Clear All leaves row 0, column 60 current: what is typed before the
    // user picks a cell lands in that untitled header cell and stays there
    // until the sheet is next emptied.
    window_->menuAction(QStringLiteral("mnuClear"))->trigger();
    GridView* view = window_->sheetView();
    for (char32_t c : QStringLiteral("ab").toUcs4()) view->typeCharacter(c);
    QCOMPARE(cellText(window_->sheet(), {0, 60}), QStringLiteral("ab"));
    QCOMPARE(view->model()->headerData(59, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("ab"));
    // Laying out the sheet again (Open File runs capCell) leaves it.
    window_->openFile();  // cancelled
    QCOMPARE(cellText(window_->sheet(), {0, 60}), QStringLiteral("ab"));
    window_->newFile();
    QCOMPARE(cellText(window_->sheet(), {0, 60}), QString());
}

void TypingTest::keyEventsReachTheSheet() {
    showActive(*window_);
    GridView* view = window_->sheetView();
    view->setFocus();
    QVERIFY(view->hasFocus());
    // Choosing a cell in the view makes it the sheet's current cell.
    view->setCurrentIndex(view->gridModel()->indexOf({3, 2}));
    QCOMPARE(window_->sheet().currentCell(), (CellPos{3, 2}));

    QTest::keyClicks(view, QStringLiteral("1.5"));
    QTest::keyClick(view, Qt::Key_Backspace);
    QTest::keyClick(view, Qt::Key_7);
    QCOMPARE(cellText(window_->sheet(), {3, 2}), QStringLiteral("1.7"));

    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(window_->sheet().currentCell(), (CellPos{3, 3}));
    QTest::keyClick(view, Qt::Key_Tab);
    QCOMPARE(window_->sheet().currentCell(), (CellPos{3, 4}));
    QVERIFY2(view->hasFocus(), "Tab moved the focus away from the sheet");
    QTest::keyClick(view, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(window_->sheet().currentCell(), (CellPos{3, 5}));
    QCOMPARE(view->currentIndex(), view->gridModel()->indexOf({3, 5}));

    QTest::keyClicks(view, QStringLiteral("x"));
    QCOMPARE(cellText(window_->sheet(), {3, 5}), QStringLiteral("x"));
    QCOMPARE(cellText(window_->sheet(), {3, 2}), QStringLiteral("1.7"));

    // Tab in the last column wraps to the next row's first data column.
    view->setCurrentIndex(view->gridModel()->indexOf({4, 60}));
    QTest::keyClick(view, Qt::Key_Tab);
    QCOMPARE(window_->sheet().currentCell(), (CellPos{5, 1}));
}

void TypingTest::keyEventsReachTheResultsTable() {
    ResultsWindow* results = window_->ensureResultsWindow();
    fillResults(*results);
    showActive(*results);
    GridView* view = results->tableView();
    view->setFocus();
    view->setCurrentIndex(view->gridModel()->indexOf({3, 7}));
    QCOMPARE(results->table().currentCell(), (CellPos{3, 7}));

    QTest::keyClicks(view, QStringLiteral("9"));
    QCOMPARE(cellText(results->table(), {3, 7}), QStringLiteral("3/79"));
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(results->table().currentCell(), (CellPos{4, 7}));
    QTest::keyClick(view, Qt::Key_Tab);
    QCOMPARE(results->table().currentCell(), (CellPos{1, 0}));
    QVERIFY2(view->hasFocus(), "Tab moved the focus away from the results table");
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(results->table().currentCell(), (CellPos{2, 0}));
}

void TypingTest::arrowKeysMoveWithoutTyping() {
    showActive(*window_);
    GridView* view = window_->sheetView();
    view->setFocus();
    view->setCurrentIndex(view->gridModel()->indexOf({6, 3}));
    window_->sheet().setText(6, 3, "5");
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(window_->sheet().currentCell(), (CellPos{7, 4}));
    QCOMPARE(cellText(window_->sheet(), {6, 3}), QStringLiteral("5"));
    QTest::keyClicks(view, QStringLiteral("2"));
    QCOMPARE(cellText(window_->sheet(), {7, 4}), QStringLiteral("2"));
}

void TypingTest::ctrlCClosesTheDataEntrySheetAndDoesNotCopy() {
    showActive(*window_);
    GridView* view = window_->sheetView();
    view->setFocus();
    view->setCurrentIndex(view->gridModel()->indexOf({2, 2}));
    QTest::keyClicks(view, QStringLiteral("51.2"));

    // Ctrl+Y is the sheet's Copy.
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(desk_->clipboard.content, QStringLiteral("51.2"));
    desk_->clipboard.log.clear();
    desk_->clipboard.content = QStringLiteral("untouched");

    // Ctrl+C is Close: the start-up screen comes back and the clipboard is
    // not used.
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(window_->screenTitle(), QStringLiteral("Start-up Screen"));
    QVERIFY(!window_->sheetShown());
    QVERIFY(window_->startupFrameShown());
    QCOMPARE(desk_->clipboard.log, QStringList());
    QCOMPARE(desk_->clipboard.content, QStringLiteral("untouched"));
    QCOMPARE(cellText(window_->sheet(), {2, 2}), QStringLiteral("51.2"));  // Close keeps the texts
}

void TypingTest::ctrlCCutsInTheResultsWindow() {
    ResultsWindow* results = window_->ensureResultsWindow();
    fillResults(*results);
    showActive(*results);
    GridView* view = results->tableView();
    view->setFocus();
    TextGridModel* model = view->gridModel();
    view->setCurrentIndex(model->indexOf({2, 1}));
    view->selectionModel()->select(QItemSelection(model->indexOf({2, 1}), model->indexOf({3, 2})),
                                   QItemSelectionModel::ClearAndSelect);

    // Ctrl+Y copies and leaves the cells.
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(desk_->clipboard.content, QStringLiteral("2/1\t2/2\r3/1\t3/2"));
    QCOMPARE(cellText(results->table(), {2, 1}), QStringLiteral("2/1"));

    // Ctrl+C cuts.
    desk_->clipboard.content.clear();
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(desk_->clipboard.content, QStringLiteral("2/1\t2/2\r3/1\t3/2"));
    for (CellPos cell : {CellPos{2, 1}, CellPos{2, 2}, CellPos{3, 1}, CellPos{3, 2}}) {
        QCOMPARE(cellText(results->table(), cell), QString());
    }
    QCOMPARE(cellText(results->table(), {2, 3}), QStringLiteral("2/3"));
    QCOMPARE(cellText(results->table(), {4, 1}), QStringLiteral("4/1"));
}

void TypingTest::keyInTheEditBufferGivesTheFocusBackToTheGrid() {
    // The edit buffer is the hidden mirror of the current cell. Shift+Tab
    // from the sheet may hand it the focus; the next key pressed there sends
    // the focus back to the sheet, so typing keeps the sheet's rules and
    // never replaces what a cell holds.
    showActive(*window_);
    GridView* view = window_->sheetView();
    view->setFocus();
    window_->sheet().setText(4, 4, "12.5");
    view->setCurrentIndex(view->gridModel()->indexOf({4, 4}));
    QTest::keyClick(view, Qt::Key_Backtab, Qt::ShiftModifier);
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, Qt::Key_X);
    QVERIFY2(view->hasFocus(), qPrintable(QStringLiteral("the focus is on %1 (%2)")
                                              .arg(QApplication::focusWidget()->objectName(),
                                                   QApplication::focusWidget()->metaObject()->className())));
    QVERIFY2(cellText(window_->sheet(), {4, 4}).startsWith(QLatin1String("12.5")),
             qPrintable(cellText(window_->sheet(), {4, 4})));
}

QTEST_MAIN(TypingTest)
#include "typing_test.moc"
