// The results window after a long session: tens of thousands of appended
// rows. Further runs still append exactly their rows below, with the same
// texts as the first run's; Select All and Copy take the whole table; the
// diagram data files hold only the last run. (How fast this is, and that
// memory stays flat over a thousand runs, is measured by qarvelion-soak.)

#include <QtTest>
#include <filesystem>

#include "calc/read_number.h"
#include "results/results_layout.h"
#include "sheet/sheet_layout.h"
#include "test_config.h"
#include "ui/data_entry_window.h"
#include "ui/grid_view.h"
#include "ui/results_window.h"
#include "ui/text_grid_model.h"
#include "ui_fakes.h"

using namespace qarv;
using namespace qarv::ui;
using qarv::test::FakeDesktop;
using qarv::test::InTempFolder;
using qarv::test::readFile;

namespace fs = std::filesystem;

namespace {

const QString kExample = QStringLiteral(QARVELION_EXAMPLES_DIR "/example.dor");
constexpr int kEarlierRows = 30000;

// Rows of a block text are separated by carriage returns.
std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r'));
}

}  // namespace

class LargeTableTest : public QObject {
    Q_OBJECT

  private slots:
    void runsAppendBelowTensOfThousandsOfRows();
};

void LargeTableTest::runsAppendBelowTensOfThousandsOfRows() {
    InTempFolder folder;
    FakeDesktop desk;
    DataEntryWindow window(desk.context);
    desk.dialogs.answers.push_back(kExample);
    window.menuAction(QStringLiteral("mnuOpenFile"))->trigger();
    // The example's analyses repeated down all 200 data rows.
    AnalysisSheet& sheet = window.sheet();
    int analysed = 0;
    while (analysed < kLastDataRow && readNumber(sheet.text(analysed + 1, kAl2O3Column)) > 0)
        ++analysed;
    QVERIFY(analysed > 0);
    for (int r = analysed + 1; r <= kLastDataRow; ++r) {
        for (int c = 1; c <= kLastDataColumn; ++c)
            sheet.setText(r, c, sheet.text((r - 1) % analysed + 1, c));
    }

    window.menuAction(QStringLiteral("mnuOpen"))->trigger();
    ResultsWindow* results = window.resultsWindow();
    QVERIFY(results);
    ResultsTable& table = results->table();
    QCOMPARE(table.rowCount(), kResultsHeadingRows + kLastDataRow);
    std::vector<std::vector<std::string>> firstRun(kLastDataRow);
    std::vector<SampleRow> firstRunRows(kLastDataRow);
    for (int r = 0; r < kLastDataRow; ++r) {
        for (int c = 0; c < kResultColumnCount; ++c)
            firstRun[r].push_back(table.text(kResultsHeadingRows + r, c));
        for (int c = 0; c < kFormattedCellCount; ++c) firstRunRows[r][c] = firstRun[r][c];
    }
    const std::string firstDataFile = readFile(folder.path() / "MgFeCrAl100.dat");

    // A long session's earlier rows, then three more runs through the menu.
    for (int i = 0; i < kEarlierRows; ++i) table.appendSampleRow(firstRunRows[i % kLastDataRow]);
    results->tableChanged();
    constexpr int kMoreRuns = 3;
    for (int run = 0; run < kMoreRuns; ++run)
        window.menuAction(QStringLiteral("mnuOpen"))->trigger();

    const int before = kResultsHeadingRows + kLastDataRow + kEarlierRows;
    QCOMPARE(table.rowCount(), before + kMoreRuns * kLastDataRow);
    QCOMPARE(results->tableModel()->rowCount(),
             table.rowCount() - 1);  // the title row is the header
    for (int run = 0; run < kMoreRuns; ++run) {
        for (int r : {0, 1, kLastDataRow / 2, kLastDataRow - 1}) {
            const int row = before + run * kLastDataRow + r;
            for (int c = 0; c < kResultColumnCount; ++c) {
                if (table.text(row, c) != firstRun[r][c]) {
                    QFAIL(qPrintable(QStringLiteral("run %1, row %2, column %3 differs")
                                         .arg(run + 2)
                                         .arg(r + 1)
                                         .arg(c)));
                }
            }
        }
    }
    QVERIFY(desk.messages.shown.empty());
    // The data files hold the last run only.
    QCOMPARE(readFile(folder.path() / "MgFeCrAl100.dat"), firstDataFile);

    // Select All and Copy take every row of the grown table.
    results->selectAllCells();
    const Region all = table.selection();
    QCOMPARE(all.top, 0);
    QCOMPARE(all.bottom, table.rowCount() - 1);
    QCOMPARE(all.right, kResultColumnCount - 1);
    QItemSelectionModel* selection = results->tableView()->selectionModel();
    QVERIFY(selection->isSelected(
        results->tableModel()->index(results->tableModel()->rowCount() - 1, 1)));
    desk.clipboard.content.clear();
    results->copy();
    const std::string copied = desk.clipboard.content.toStdString();
    QCOMPARE(lineCount(copied) + 1, static_cast<std::size_t>(table.rowCount()));
}

QTEST_MAIN(LargeTableTest)
#include "large_table_test.moc"
