// The Excel commands of both windows over the program's own workbook layer:
// sending the results table into Output.xlsx, showing it without touching
// the installed file, quitting, loading a workbook laid out like the sheet,
// and opening the installed entry workbooks for editing.

#include <QProgressBar>
#include <QTest>

#include "results/results_workbook.h"
#include "spreadsheet/workbook_file.h"
#include "ui/data_entry_window.h"
#include "ui/grid_view.h"
#include "ui/results_window.h"
#include "ui_fakes.h"

using namespace qarv;
using namespace qarv::test;

namespace {

// An application folder with an empty Output.xlsx, as the build makes it.
struct AppFolder {
    TempDir dir;
    AppFolder() {
        Workbook output;
        output.addSheet("Sheet1");
        writeXlsxFile(output, dir.path() / "Output.xlsx");
    }
    QString path() const { return QString::fromStdString(dir.path().string()); }
};

void addTwoRows(ResultsTable& table) {
    SampleRow row;
    row[rc::kOxySample] = "Chr 1";
    row[rc::kOxides + Al2O3] = "15.000";
    row[rc::kOxySpecies] = "Chromite";
    table.appendSampleRow(row);
    row[rc::kOxySample] = "007";
    table.appendSampleRow(row);
}

}  // namespace

class ExcelCommands : public QObject {
    Q_OBJECT
private slots:
    void sendThenShowWritesACopyWithTheWholeTable_data();
    void sendThenShowWritesACopyWithTheWholeTable();
    void withoutOutputWorkbookTheSendWritesNothingAndShowsNoMessage();
    void quitEndsTheLinkAndClosesTheWindow();
    void loadCopiesTheBlockOfTheActiveSheet();
    void cancelledLoadFromTheMenuStopsWithWaitPlease();
    void editOpensTheInstalledWorkbookAndWritesNothing_data();
    void editOpensTheInstalledWorkbookAndWritesNothing();
};

void ExcelCommands::sendThenShowWritesACopyWithTheWholeTable_data() {
    QTest::addColumn<bool>("fromToolbar");
    QTest::newRow("menu") << false;
    QTest::newRow("toolbar") << true;
}

void ExcelCommands::sendThenShowWritesACopyWithTheWholeTable() {
    QFETCH(bool, fromToolbar);
    AppFolder folder;
    FakeDesktop desktop;
    desktop.context.applicationFolder = folder.path();
    const std::string installed = readFile(folder.dir.path() / "Output.xlsx");
    ui::ResultsWindow window(desktop.context);
    addTwoRows(window.table());
    window.tableChanged();

    if (fromToolbar) {
        window.pressToolbarButton(9);
        window.pressToolbarButton(10);
    } else {
        window.menuAction(QStringLiteral("mnuSEF"))->trigger();
        window.menuAction(QStringLiteral("mnuOEF"))->trigger();
    }
    QVERIFY(desktop.messages.shown.empty());
    QCOMPARE(window.headingCaption(), QStringLiteral("Calculation Screen"));
    QVERIFY(window.progressBar()->isHidden());
    // The walk leaves the last cell current.
    QCOMPARE(window.table().currentCell().row, 3);
    QCOMPARE(window.table().currentCell().column, 170);

    // One request: a copy outside the application folder, never the
    // installed workbook, which is left as it was.
    QCOMPARE(desktop.shell.requests.size(), std::size_t{1});
    const QString shown = desktop.shell.requests[0].target;
    QVERIFY(shown.endsWith(QStringLiteral("/Output.xlsx")));
    QVERIFY(!shown.startsWith(folder.path()));
    QCOMPARE(readFile(folder.dir.path() / "Output.xlsx"), installed);

    const WorkbookReadResult book = readWorkbookFile(shown.toStdString());
    QVERIFY2(book.ok(), book.message.c_str());
    const Worksheet& sheet = book.book.sheets.at(0);
    QCOMPARE(cellText(sheet, 1, 1), std::string("Qarvelion"));
    QCOMPARE(cellText(sheet, 1, 2), std::string("1"));
    QCOMPARE(cellText(sheet, 2, 1), std::string("Sample No"));
    QCOMPARE(cellText(sheet, 3, 1), std::string("Chr 1"));
    QCOMPARE(cellText(sheet, 4, 1), std::string("007"));
    QCOMPARE(findCell(sheet, 4, 1)->kind, Cell::Kind::Text);
    const Cell* al2o3 = findCell(sheet, 3, rc::kOxides + Al2O3 + 1);
    QVERIFY(al2o3 != nullptr);
    QCOMPARE(al2o3->kind, Cell::Kind::Number);
    QCOMPARE(al2o3->number, 15.0);
    QCOMPARE(cellText(sheet, 3, rc::kOxySpecies + 1), std::string("Chromite"));
    std::filesystem::remove_all(std::filesystem::path(shown.toStdString()).parent_path());
}

void ExcelCommands::withoutOutputWorkbookTheSendWritesNothingAndShowsNoMessage() {
    TempDir emptyFolder;
    FakeDesktop desktop;
    desktop.context.applicationFolder = QString::fromStdString(emptyFolder.path().string());
    ui::ResultsWindow window(desktop.context);
    window.pressToolbarButton(9);
    window.pressToolbarButton(10);  // the application shows no workbook
    QVERIFY(desktop.messages.shown.empty());
    QVERIFY(desktop.shell.requests.empty());
    QVERIFY(!std::filesystem::exists(emptyFolder.path() / "Output.xlsx"));
}

void ExcelCommands::quitEndsTheLinkAndClosesTheWindow() {
    AppFolder folder;
    FakeDesktop desktop;
    desktop.context.applicationFolder = folder.path();
    auto* window = new ui::ResultsWindow(desktop.context);
    QPointer<ui::ResultsWindow> alive(window);
    window->show();
    window->menuAction(QStringLiteral("mnuEOX"))->trigger();
    QTRY_VERIFY(alive.isNull());
    QVERIFY(desktop.messages.shown.empty());
}

void ExcelCommands::loadCopiesTheBlockOfTheActiveSheet() {
    TempDir files;
    Workbook book;
    book.addSheet("First");
    Worksheet& data = book.addSheet("Second");
    book.activeSheet = 1;
    setCellText(data, 1, 1, "Row No");
    setCellText(data, 2, 2, "Chr 1");
    setCellText(data, 2, 6, "15\tcr");          // a tab must not split the cell
    setCellNumber(data, 201, 60, 12.5);          // BH201: the block's last cell
    setCellText(data, 1, 61, "beyond");          // BI1 is not read
    setCellText(data, 202, 1, "below");          // A202 is not read
    const auto path = files.path() / "analyses.xlsx";
    QCOMPARE(writeXlsxFile(book, path), 0);

    FakeDesktop desktop;
    desktop.dialogs.answers.push_back(QString::fromStdString(path.string()));
    ui::DataEntryWindow window(desktop.context);
    window.pressToolbarButton(16);
    QVERIFY(desktop.messages.shown.empty());
    QCOMPARE(desktop.dialogs.calls.back().filter, QStringLiteral("Excel files (*.xlsx)|*.xlsx"));
    QCOMPARE(window.screenTitle(), QStringLiteral("Data Entry Screen"));
    QCOMPARE(desktop.context.currentFileName, path.string());
    const AnalysisSheet& sheet = window.sheet();
    QCOMPARE(sheet.columnCount(), 60);
    QCOMPARE(sheet.rowCount(), 201);
    QCOMPARE(sheet.text(0, 0), std::string("Row No"));
    QCOMPARE(sheet.text(1, 1), std::string("Chr 1"));
    QCOMPARE(sheet.text(1, 5), std::string("15 cr"));
    QCOMPARE(sheet.text(200, 59), std::string("12.5"));
    QCOMPARE(sheet.text(0, 1), std::string());  // New File's titles were overwritten by row 1
}

void ExcelCommands::cancelledLoadFromTheMenuStopsWithWaitPlease() {
    FakeDesktop desktop;
    ui::DataEntryWindow window(desktop.context);
    window.menuAction(QStringLiteral("mnu9703"))->trigger();
    QCOMPARE(desktop.dialogs.calls.back().filter, QStringLiteral("Excel files (*.xls)|*.xls"));
    QCOMPARE(window.screenTitle(), QStringLiteral("Wait  Please"));
    QVERIFY(!window.sheetShown());  // the cancel ran Close

    window.pressToolbarButton(15);  // the button goes on to the end
    QCOMPARE(window.screenTitle(), QStringLiteral("Data Entry Screen"));
    QCOMPARE(window.sheet().columnCount(), 60);
    QVERIFY(desktop.messages.shown.empty());
}

void ExcelCommands::editOpensTheInstalledWorkbookAndWritesNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("workbook");
    QTest::newRow("menu xls") << "mnu9703e" << "DuVaruri.xls";
    QTest::newRow("menu xlsx") << "mnu07Latere" << "DuVaruri.xlsx";
    QTest::newRow("button 17") << "17" << "DuVaruri.xls";
    QTest::newRow("button 18") << "18" << "DuVaruri.xlsx";
}

void ExcelCommands::editOpensTheInstalledWorkbookAndWritesNothing() {
    QFETCH(QString, how);
    QFETCH(QString, workbook);
    FakeDesktop desktop;
    ui::DataEntryWindow window(desktop.context);
    window.newFile();
    window.sheet().setCurrentText("text in the current cell");  // once made the edit close at once
    bool isButton = false;
    const int button = how.toInt(&isButton);
    if (isButton) {
        window.pressToolbarButton(button);
    } else {
        window.menuAction(how)->trigger();
    }
    QCOMPARE(desktop.shell.requests.size(), std::size_t{1});
    QCOMPARE(desktop.shell.requests[0].target, kTestApplicationFolder + QLatin1Char('/') + workbook);
    QCOMPARE(desktop.shell.requests[0].verb, QStringLiteral("open"));
    QCOMPARE(window.screenTitle(), QStringLiteral("Data Entry Screen"));
}

QTEST_MAIN(ExcelCommands)
#include "excel_commands_test.moc"
