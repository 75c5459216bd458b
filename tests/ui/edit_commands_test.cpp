// The Edit commands of both windows over selections made with the mouse in
// every direction: Copy, Cut, Delete, Paste, Select All, Insert Row, Remove
// Row, Clear All, the clipboard held by another program, and the context
// menu.

#include <QScrollBar>
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

// Rows 1 to 12, columns 1 to 8 of the sheet hold "r.c"; everything else is
// empty.
constexpr int kFilledRows = 12;
constexpr int kFilledColumns = 8;

QString pattern(int r, int c) { return QStringLiteral("%1.%2").arg(r).arg(c); }

QString cellText(const TextGrid& grid, int r, int c) { return QString::fromStdString(grid.text(r, c)); }

QPoint centreOf(GridView* view, CellPos cell) {
    return view->visualRect(view->gridModel()->indexOf(cell)).center();
}

// A click on one cell, then a Shift+click on the other: the user's way of
// selecting a rectangle, here in whichever direction the two cells give.
void selectByMouse(GridView* view, CellPos anchor, CellPos end) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(view, anchor));
    if (!(end == anchor)) QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, centreOf(view, end));
}

// The block text of a rectangle of the "r.c" pattern, built cell by cell.
QString patternBlock(int top, int left, int bottom, int right) {
    QStringList rows;
    for (int r = top; r <= bottom; ++r) {
        QStringList cells;
        for (int c = left; c <= right; ++c) cells << pattern(r, c);
        rows << cells.join(QLatin1Char('\t'));
    }
    return rows.join(QLatin1Char('\r'));
}

}  // namespace

class EditCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<InTempFolder>();
        desk_ = std::make_unique<FakeDesktop>();
        window_ = std::make_unique<DataEntryWindow>(desk_->context);
        window_->resize(1100, 700);
        window_->newFile();
        AnalysisSheet& sheet = window_->sheet();
        for (int r = 1; r <= kFilledRows; ++r) {
            for (int c = 1; c <= kFilledColumns; ++c) sheet.setText(r, c, pattern(r, c).toStdString());
        }
        window_->sheetModel()->regionChanged({1, 1, kFilledRows, kFilledColumns});
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() {
        window_.reset();
        desk_.reset();
        folder_.reset();
    }

    void copyCutDeleteOverASelection_data();
    void copyCutDeleteOverASelection();
    void paste_data();
    void paste();
    void selectAllTakesTheWholeDataArea();
    void resultsSelectAllTakesTheHeadingsToo();
    void resultsEditCommandsWorkOnTheTable();
    void insertRow_data();
    void insertRow();
    void removeRow_data();
    void removeRow();
    void clearAll();
    void clipboardHeldByAnotherProgram_data();
    void clipboardHeldByAnotherProgram();
    void rightButtonOpensTheEditMenu_data();
    void rightButtonOpensTheEditMenu();

private:
    QAction* item(const char* name) { return window_->menuAction(QString::fromLatin1(name)); }
    GridView* view() { return window_->sheetView(); }
    // Every filled cell outside the rectangle still holds its pattern text.
    void checkOutsideUnchanged(const Region& region) {
        for (int r = 1; r <= kFilledRows + 1; ++r) {
            for (int c = 1; c <= kFilledColumns + 1; ++c) {
                if (r >= region.top && r <= region.bottom && c >= region.left && c <= region.right) continue;
                const QString want = r <= kFilledRows && c <= kFilledColumns ? pattern(r, c) : QString();
                QVERIFY2(cellText(window_->sheet(), r, c) == want,
                         qPrintable(QStringLiteral("cell (%1, %2) changed").arg(r).arg(c)));
            }
        }
    }
    ResultsWindow* resultsWithRows() {
        ResultsWindow* results = window_->ensureResultsWindow();
        ResultsTable& table = results->table();
        table.setRowCount(4);
        for (int r = 2; r <= 3; ++r) {
            for (int c = 0; c <= 170; ++c) table.setText(r, c, pattern(r, c).toStdString());
        }
        results->tableChanged();
        results->resize(1100, 600);
        results->show();
        if (!QTest::qWaitForWindowExposed(results)) qWarning("results window not exposed");
        return results;
    }

    std::unique_ptr<InTempFolder> folder_;
    std::unique_ptr<FakeDesktop> desk_;
    std::unique_ptr<DataEntryWindow> window_;
};

// ---------------------------------------------------------------------------

void EditCommandsTest::copyCutDeleteOverASelection_data() {
    QTest::addColumn<CellPos>("anchor");
    QTest::addColumn<CellPos>("end");
    QTest::addColumn<QString>("command");

    // Rows 3 to 10, columns 2 to 5 (8 x 4 cells), selected from each corner.
    const struct {
        const char* direction;
        CellPos anchor, end;
    } directions[] = {
        {"down and right", {3, 2}, {10, 5}},
        {"up and left", {10, 5}, {3, 2}},
        {"up and right", {10, 2}, {3, 5}},
        {"down and left", {3, 5}, {10, 2}},
    };
    for (const char* command : {"mnuEditCopy", "mnuEditCut", "mnuEditDelete"}) {
        for (const auto& d : directions) {
            QTest::addRow("%s, selection made %s", command + 7, d.direction) << d.anchor << d.end << command;
        }
    }
}

void EditCommandsTest::copyCutDeleteOverASelection() {
    QFETCH(CellPos, anchor);
    QFETCH(CellPos, end);
    QFETCH(QString, command);

    selectByMouse(view(), anchor, end);
    const Region region{3, 2, 10, 5};
    QCOMPARE(window_->sheet().selection(), region);
    desk_->clipboard.content = QStringLiteral("before");

    window_->menuAction(command)->trigger();

    const bool copies = command != QLatin1String("mnuEditDelete");
    const bool empties = command != QLatin1String("mnuEditCopy");
    if (copies) {
        QCOMPARE(desk_->clipboard.log, (QStringList{"clear", "set"}));
        QCOMPARE(desk_->clipboard.content, patternBlock(3, 2, 10, 5));
    } else {
        QCOMPARE(desk_->clipboard.log, QStringList());
        QCOMPARE(desk_->clipboard.content, QStringLiteral("before"));
    }
    for (int r = 3; r <= 10; ++r) {
        for (int c = 2; c <= 5; ++c) {
            QCOMPARE(cellText(window_->sheet(), r, c), empties ? QString() : pattern(r, c));
        }
    }
    // The view shows what the sheet holds.
    QCOMPARE(view()->model()->data(view()->gridModel()->indexOf({7, 4})).toString(),
             empties ? QString() : pattern(7, 4));
    checkOutsideUnchanged(region);
    QVERIFY(desk_->messages.shown.empty());
}

// ---------------------------------------------------------------------------

void EditCommandsTest::paste_data() {
    QTest::addColumn<CellPos>("anchor");  // (0, 0): the selection New File leaves
    QTest::addColumn<CellPos>("end");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QStringList>("changes");  // "r,c=text"; every other cell keeps its text

    const QString block = QStringLiteral("a\tb\rc\td");
    const QStringList square = {"4,3=a", "4,4=b", "5,3=c", "5,4=d"};
    QTest::newRow("one selected cell takes only the first piece") << CellPos{4, 3} << CellPos{4, 3} << block
                                                                  << QStringList{"4,3=a"};
    QTest::newRow("a region as large as the block") << CellPos{4, 3} << CellPos{5, 4} << block << square;
    QTest::newRow("a larger region keeps the cells the block does not reach")
        << CellPos{4, 3} << CellPos{7, 6} << block << square;
    QTest::newRow("pieces beyond the region are dropped")
        << CellPos{4, 3} << CellPos{4, 4} << QStringLiteral("a\tb\tc\rd\te") << QStringList{"4,3=a", "4,4=b"};
    QTest::newRow("region selected up and left") << CellPos{5, 4} << CellPos{4, 3} << block << square;
    QTest::newRow("region selected up and right") << CellPos{5, 3} << CellPos{4, 4} << block << square;
    QTest::newRow("region selected down and left") << CellPos{4, 4} << CellPos{5, 3} << block << square;
    QTest::newRow("CR LF line ends and a final line break land exactly")
        << CellPos{4, 3} << CellPos{7, 6} << QStringLiteral("a\tb\r\nc\td\r\n") << square;
    QTest::newRow("empty pieces empty their cells")
        << CellPos{4, 3} << CellPos{4, 6} << QStringLiteral("1\t\t3\r\n") << QStringList{"4,3=1", "4,4=", "4,5=3"};
    QTest::newRow("an empty clipboard changes nothing") << CellPos{4, 3} << CellPos{5, 4} << QString()
                                                        << QStringList{};
    QTest::newRow("text beyond Latin letters")
        << CellPos{4, 3} << CellPos{4, 4} << QStringLiteral("M\u00fcller\t5,5") << QStringList{"4,3=M\u00fcller", "4,4=5,5"};
    QTest::newRow("right after New File the block lands at (1, 1)")
        << CellPos{0, 0} << CellPos{0, 0} << block << QStringList{"1,1=a", "1,2=b", "2,1=c", "2,2=d"};
}

void EditCommandsTest::paste() {
    QFETCH(CellPos, anchor);
    QFETCH(CellPos, end);
    QFETCH(QString, clipboard);
    QFETCH(QStringList, changes);

    if (!(anchor == CellPos{0, 0})) selectByMouse(view(), anchor, end);
    desk_->clipboard.content = clipboard;

    item("mnuEditPaste")->trigger();

    QCOMPARE(desk_->clipboard.log, QStringList{"get"});
    QStringList got;
    for (int r = 1; r <= kFilledRows + 1; ++r) {
        for (int c = 1; c <= kFilledColumns + 1; ++c) {
            const QString want = r <= kFilledRows && c <= kFilledColumns ? pattern(r, c) : QString();
            const QString text = cellText(window_->sheet(), r, c);
            if (text != want) got << QStringLiteral("%1,%2=%3").arg(r).arg(c).arg(text);
        }
    }
    QCOMPARE(got, changes);
    if (!changes.isEmpty()) {
        const QString first = changes.front().section(QLatin1Char('='), 1);
        const QStringList at = changes.front().section(QLatin1Char('='), 0, 0).split(QLatin1Char(','));
        QCOMPARE(view()->model()->data(view()->gridModel()->indexOf({at[0].toInt(), at[1].toInt()})).toString(),
                 first);
    }
}

// ---------------------------------------------------------------------------

void EditCommandsTest::selectAllTakesTheWholeDataArea() {
    view()->verticalScrollBar()->setValue(view()->verticalScrollBar()->maximum());
    view()->setCurrentIndex(view()->gridModel()->indexOf({150, 7}));
    QVERIFY(view()->verticalScrollBar()->value() > 0);

    item("mnuEditSelectAll")->trigger();

    QCOMPARE(window_->sheet().currentCell(), (CellPos{1, 1}));
    QCOMPARE(window_->sheet().selection(), (Region{1, 1, 200, 60}));
    QVERIFY(window_->sheetShown());
    QCOMPARE(view()->verticalScrollBar()->value(), 0);  // row 1 is the first visible row
    QCOMPARE(view()->selectionModel()->selectedIndexes().size(), 200 * 60);

    item("mnuEditCopy")->trigger();
    QStringList rows;
    for (int r = 1; r <= 200; ++r) {
        QStringList cells;
        for (int c = 1; c <= 60; ++c) cells << (r <= kFilledRows && c <= kFilledColumns ? pattern(r, c) : QString());
        rows << cells.join(QLatin1Char('\t'));
    }
    QCOMPARE(desk_->clipboard.content, rows.join(QLatin1Char('\r')));
}

void EditCommandsTest::resultsSelectAllTakesTheHeadingsToo() {
    ResultsWindow* results = resultsWithRows();
    results->tableView()->setCurrentIndex(results->tableModel()->indexOf({3, 9}));

    results->menuAction(QStringLiteral("mnuEditSelectAll"))->trigger();
    QCOMPARE(results->table().currentCell(), (CellPos{0, 0}));
    QCOMPARE(results->table().selection(), (Region{0, 0, 3, 170}));

    results->menuAction(QStringLiteral("mnuEditCopy"))->trigger();
    const QStringList rows = desk_->clipboard.content.split(QLatin1Char('\r'));
    QCOMPARE(rows.size(), 4);
    // Row 0: the product name and the column numbers 1 to 170.
    QStringList numbers{QStringLiteral("Qarvelion")};
    for (int c = 1; c <= 170; ++c) numbers << QString::number(c);
    QCOMPARE(rows[0], numbers.join(QLatin1Char('\t')));
    // Row 1: the column titles, starting with the oxide block's.
    const QStringList titles = rows[1].split(QLatin1Char('\t'));
    QCOMPARE(titles.size(), 171);
    const QStringList oxideTitles = {"Sample No", "[SiO2", "TiO2",  "GeO2", "Al2O3", "Ti2O3", "Cr2O3", "V2O3",
                                     "Fe2O3",     "Mn2O3", "Co2O3", "VO",   "FeO",   "MgO",   "CaO",   "MnO",
                                     "CuO",       "ZnO",   "CoO",   "NiO",  "Na2O",  "K2O",   "Li2O",  "Sb2O5",
                                     "Total (%)]", ""};
    QCOMPARE(titles.mid(0, oxideTitles.size()), oxideTitles);
    QCOMPARE(titles[79], QStringLiteral("Sample No"));
    QCOMPARE(titles[163], QStringLiteral("Spinel Species]"));
    QCOMPARE(rows[2], patternBlock(2, 0, 2, 170));
}

void EditCommandsTest::resultsEditCommandsWorkOnTheTable() {
    ResultsWindow* results = resultsWithRows();
    GridView* table = results->tableView();
    selectByMouse(table, {3, 4}, {2, 2});  // up and left
    QCOMPARE(results->table().selection(), (Region{2, 2, 3, 4}));

    results->menuAction(QStringLiteral("mnuEditCut"))->trigger();
    QCOMPARE(desk_->clipboard.content, patternBlock(2, 2, 3, 4));
    QCOMPARE(cellText(results->table(), 2, 2), QString());
    QCOMPARE(cellText(results->table(), 3, 4), QString());
    QCOMPARE(cellText(results->table(), 3, 5), pattern(3, 5));

    selectByMouse(table, {2, 6}, {3, 7});
    desk_->clipboard.content = QStringLiteral("x\ty\r\nz\tw\r\n");
    results->menuAction(QStringLiteral("mnuEditPaste"))->trigger();
    QCOMPARE(cellText(results->table(), 2, 6), QStringLiteral("x"));
    QCOMPARE(cellText(results->table(), 3, 7), QStringLiteral("w"));

    results->menuAction(QStringLiteral("mnuEditDelete"))->trigger();
    QCOMPARE(cellText(results->table(), 2, 6), QString());
    QCOMPARE(cellText(results->table(), 3, 7), QString());
    QCOMPARE(cellText(results->table(), 3, 8), pattern(3, 8));
}

// ---------------------------------------------------------------------------

void EditCommandsTest::insertRow_data() {
    QTest::addColumn<CellPos>("current");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("inserted");  // 0: none

    QTest::newRow("at row 5") << CellPos{5, 3} << 202 << 5;
    QTest::newRow("at the last row") << CellPos{200, 3} << 202 << 200;
    QTest::newRow("at the header row nothing happens") << CellPos{0, 60} << 201 << 0;
}

void EditCommandsTest::insertRow() {
    QFETCH(CellPos, current);
    QFETCH(int, rows);
    QFETCH(int, inserted);

    AnalysisSheet& sheet = window_->sheet();
    sheet.setText(200, 2, "last");
    sheet.setCurrentCell(current);
    sheet.setSelectionCorner(current);
    item("mnuEditInsertRow")->trigger();

    QCOMPARE(sheet.rowCount(), rows);
    QCOMPARE(window_->sheetModel()->rowCount(), rows - 1);
    if (inserted == 0) {
        checkOutsideUnchanged({});
        return;
    }
    for (int c = 0; c <= 60; ++c) QCOMPARE(cellText(sheet, inserted, c), QString());  // row number too
    // The rows from there down moved one place; their numbers are stale.
    if (inserted <= kFilledRows) QCOMPARE(cellText(sheet, inserted + 1, 1), pattern(inserted, 1));
    QCOMPARE(cellText(sheet, inserted + 1, 0), QString::number(inserted));
    QCOMPARE(cellText(sheet, 201, 2), QStringLiteral("last"));
    QCOMPARE(cellText(sheet, 201, 0), QStringLiteral("200"));
}

void EditCommandsTest::removeRow_data() {
    QTest::addColumn<int>("rowsBefore");
    QTest::addColumn<CellPos>("current");
    QTest::addColumn<int>("rowsAfter");

    QTest::newRow("row 5") << 201 << CellPos{5, 2} << 200;
    QTest::newRow("the header row stays") << 201 << CellPos{0, 60} << 201;
    QTest::newRow("of two data rows one goes") << 3 << CellPos{1, 2} << 2;
    QTest::newRow("the last data row stays") << 2 << CellPos{1, 2} << 2;
}

void EditCommandsTest::removeRow() {
    QFETCH(int, rowsBefore);
    QFETCH(CellPos, current);
    QFETCH(int, rowsAfter);

    AnalysisSheet& sheet = window_->sheet();
    sheet.setRowCount(rowsBefore);
    window_->sheetModel()->gridReset();
    sheet.setCurrentCell(current);
    sheet.setSelectionCorner(current);
    item("mnuDelete")->trigger();

    QCOMPARE(sheet.rowCount(), rowsAfter);
    QCOMPARE(window_->sheetModel()->rowCount(), rowsAfter - 1);
    if (rowsAfter == rowsBefore) {
        QCOMPARE(cellText(sheet, 1, 1), pattern(1, 1));
        return;
    }
    const int removed = current.row;
    // The rows below moved up one place and keep their old numbers.
    QCOMPARE(cellText(sheet, removed, 1), pattern(removed + 1, 1));
    QCOMPARE(cellText(sheet, removed, 0), QString::number(removed + 1));
    QCOMPARE(cellText(sheet, removed - 1, 1), removed > 1 ? pattern(removed - 1, 1) : QStringLiteral("Sample No [Oxyspinel]"));
}

void EditCommandsTest::clearAll() {
    AnalysisSheet& sheet = window_->sheet();
    sheet.insertRow(3);
    sheet.setText(0, 60, "typed into the untitled header");
    sheet.setText(0, 5, "overwritten");
    sheet.setText(9, 0, "x");
    window_->sheetModel()->gridReset();

    item("mnuClear")->trigger();

    QCOMPARE(sheet.rowCount(), 201);
    QCOMPARE(sheet.columnCount(), 61);
    for (int r = 1; r <= 200; ++r) {
        for (int c = 1; c <= 60; ++c) QCOMPARE(cellText(sheet, r, c), QString());
    }
    QCOMPARE(cellText(sheet, 0, 60), QString());
    QCOMPARE(cellText(sheet, 0, 5), QStringLiteral("Al2O3"));
    QCOMPARE(cellText(sheet, 9, 0), QStringLiteral("9"));
    QCOMPARE(sheet.currentCell(), (CellPos{0, 60}));
    QCOMPARE(view()->model()->data(view()->gridModel()->indexOf({1, 1})).toString(), QString());
}

// ---------------------------------------------------------------------------

void EditCommandsTest::clipboardHeldByAnotherProgram_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("button");

    QTest::newRow("data-entry Cut (7)") << "kkj" << 7;
    QTest::newRow("data-entry Copy (8)") << "kkj" << 8;
    QTest::newRow("data-entry Paste (9)") << "kkj" << 9;
    QTest::newRow("results Cut (1)") << "Form10" << 1;
    QTest::newRow("results Copy (2)") << "Form10" << 2;
    QTest::newRow("results Paste (3)") << "Form10" << 3;
}

void EditCommandsTest::clipboardHeldByAnotherProgram() {
    QFETCH(QString, window);
    QFETCH(int, button);

    const bool results = window == QLatin1String("Form10");
    ResultsWindow* resultsWindow = results ? resultsWithRows() : nullptr;
    TextGrid& grid = results ? static_cast<TextGrid&>(resultsWindow->table()) : window_->sheet();
    grid.setCurrentCell({2, 2});
    grid.setSelectionCorner({3, 3});
    const std::string before = grid.getClip(grid.all());
    desk_->clipboard.heldByOtherProgram = true;

    if (results) {
        resultsWindow->pressToolbarButton(button);
    } else {
        window_->pressToolbarButton(button);
    }

    QCOMPARE(desk_->messages.texts(), QStringList{QStringLiteral("Can't open clipboard")});
    QCOMPARE(desk_->messages.shown.front().title, QStringLiteral("Qarvelion"));
    // The command ends at the failing step: Cut empties nothing when its
    // copy failed.
    QVERIFY2(grid.getClip(grid.all()) == before, "the grid changed");
}

// ---------------------------------------------------------------------------

void EditCommandsTest::rightButtonOpensTheEditMenu_data() {
    QTest::addColumn<QString>("window");
    QTest::newRow("data-entry sheet") << "kkj";
    QTest::newRow("results table") << "Form10";
}

void EditCommandsTest::rightButtonOpensTheEditMenu() {
    QFETCH(QString, window);
    const bool results = window == QLatin1String("Form10");
    ResultsWindow* resultsWindow = results ? resultsWithRows() : nullptr;
    GridView* grid = results ? resultsWindow->tableView() : view();
    QMenu* edit = results ? resultsWindow->editMenu() : window_->editMenu();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(grid, {3, 4}));

    const QPoint at = centreOf(grid, {3, 4});
    QTest::mousePress(grid->viewport(), Qt::RightButton, Qt::NoModifier, at);
    QCOMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(edit));
    // Horizontally centred on the pointer.
    const int pointerX = grid->viewport()->mapToGlobal(at).x();
    QVERIFY2(qAbs(edit->geometry().center().x() - pointerX) <= 2,
             qPrintable(QStringLiteral("menu centre %1, pointer %2").arg(edit->geometry().center().x()).arg(pointerX)));
    // The edit buffer holds the current cell's text.
    QCOMPARE(grid->editBuffer()->text(), pattern(3, 4));
    edit->close();
    QTest::mouseRelease(grid->viewport(), Qt::RightButton, Qt::NoModifier, at);
    QCOMPARE(cellText(grid->grid(), 3, 4), pattern(3, 4));  // a click changes nothing
}

QTEST_MAIN(EditCommandsTest)
#include "edit_commands_test.moc"
