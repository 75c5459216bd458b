// "Open File to Calculate" from the data-entry window: a run after Open
// File, a run that asks for the file itself, a cancelled dialog, repeated
// runs appending to the results table, and what the two windows show.

#include <QtTest>
#include <filesystem>
#include <set>

#include "test_config.h"
#include "ui/data_entry_window.h"
#include "ui/results_window.h"
#include "ui/text_grid_model.h"
#include "ui_fakes.h"

using namespace qarv;
using namespace qarv::ui;
using qarv::test::FakeDesktop;
using qarv::test::InTempFolder;

namespace fs = std::filesystem;

namespace {

const QString kExample = QStringLiteral(QARVELION_EXAMPLES_DIR "/example.dor");
// The example's oxide analyses stand in sheet rows 1 to 12.
constexpr int kExampleRows = 12;

// The names of the 57 diagram data files, as the golden output lists them.
std::set<std::string> expectedDataFiles() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(QARVELION_TEST_DATA_DIR) / "golden/sheet-101/expected")) {
        if (entry.path().extension() == ".dat") names.insert(entry.path().filename().string());
    }
    return names;
}

std::set<std::string> dataFilesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".dat") names.insert(entry.path().filename().string());
    }
    return names;
}

QString cellText(const TextGrid& grid, int r, int c) { return QString::fromStdString(grid.text(r, c)); }

}  // namespace

class CalculationTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<InTempFolder>();
        desk_ = std::make_unique<FakeDesktop>();
        window_ = std::make_unique<DataEntryWindow>(desk_->context);
    }
    void cleanup() {
        window_.reset();
        desk_.reset();
        folder_.reset();
    }

    void runAfterOpenFile();
    void theMenuItemLeavesTheCheckMarkAsItIs();
    void theMenuItemAsksAgainUntilAFileIsOpened();
    void runAsksForTheFileWhenNoneWasOpened();
    void runWithTheDialogCancelledStillCalculates();
    void secondRunAppendsBelowTheFirst();
    void runCalculatesTheSheetAsEdited();
    void aResultsWindowCreatedAnewStartsEmpty();

private:
    void openExample() {
        desk_->dialogs.answers.push_back(kExample);
        window_->menuAction(QStringLiteral("mnuOpenFile"))->trigger();
        QCOMPARE(window_->screenTitle(), QStringLiteral("Data Entry Screen"));
        desk_->dialogs.calls.clear();
    }

    std::unique_ptr<InTempFolder> folder_;
    std::unique_ptr<FakeDesktop> desk_;
    std::unique_ptr<DataEntryWindow> window_;
};

void CalculationTest::runAfterOpenFile() {
    openExample();
    QVERIFY(window_->resultsWindow() == nullptr);

    window_->pressToolbarButton(13);

    QVERIFY(desk_->dialogs.calls.empty());  // the sheet is already loaded
    QCOMPARE(window_->screenTitle(), QStringLiteral("Data Entry Screen"));
    ResultsWindow* results = window_->resultsWindow();
    QVERIFY(results);
    QVERIFY(results->isVisible());
    QCOMPARE(results->table().rowCount(), 2 + kExampleRows);
    for (int r = 1; r <= kExampleRows; ++r) {
        QCOMPARE(cellText(results->table(), r + 1, 0), cellText(window_->sheet(), r, 1));
        QCOMPARE(cellText(results->table(), r + 1, 79), cellText(window_->sheet(), r, 26));
        QCOMPARE(cellText(results->table(), r + 1, 139), cellText(window_->sheet(), r, 52));
    }
    QCOMPARE(results->statusPanelText(1), kExample);
    QCOMPARE(results->statusPanelText(2), QStringLiteral("3"));
    QCOMPARE(results->statusPanelText(3), QStringLiteral("4"));
    QCOMPARE(results->statusPanelText(4), QStringLiteral("Droop (1987)"));
    QCOMPARE(results->statusPanelTip(1), QStringLiteral("File"));
    QCOMPARE(results->statusPanelTip(2), QStringLiteral("Formula based on cations"));
    QCOMPARE(results->statusPanelTip(3), QStringLiteral("Formula based on oxygens"));
    QCOMPARE(results->statusPanelTip(4), QStringLiteral("Ferric iron estimation method"));
    QCOMPARE(results->statusPanelTip(5), QStringLiteral("Clock"));
    QCOMPARE(results->statusPanelTip(6), QStringLiteral("Date"));
    QCOMPARE(results->headingCaption(), QStringLiteral("Calculation Screen"));
    QCOMPARE(results->titleCaption(), QStringLiteral("Qarvelion, A Windows Program for Spinel Supergroup Minerals"));
    QCOMPARE(results->windowTitle(), QStringLiteral("Q a r v e l i o n"));
    QCOMPARE(results->tableModel()->rowCount(), 1 + kExampleRows);

    // Every run writes the 57 diagram data files into the working folder.
    QCOMPARE(dataFilesIn(folder_->path()), expectedDataFiles());
    // The data-entry side is as the run found it.
    QCOMPARE(window_->filePanelText(), kExample);
    QVERIFY(window_->menuAction(QStringLiteral("mnuOpen"))->isChecked());
    QVERIFY(desk_->messages.shown.empty());
}

void CalculationTest::theMenuItemLeavesTheCheckMarkAsItIs() {
    // "Open File to Calculate" from the Calculate menu (or Ctrl+F) runs the
    // same command as the toolbar's Calculate. Its check mark records that a
    // file was opened; the run reads it and never changes it.
    QAction* calculate = window_->menuAction(QStringLiteral("mnuOpen"));
    openExample();
    calculate->trigger();
    QVERIFY2(desk_->dialogs.calls.empty(), "a file had been opened, yet the run asked for one");
    QVERIFY(calculate->isChecked());
    calculate->trigger();
    QVERIFY(desk_->dialogs.calls.empty());
    QVERIFY(calculate->isChecked());
    QCOMPARE(window_->resultsWindow()->table().rowCount(), 2 + 2 * kExampleRows);
}

void CalculationTest::theMenuItemAsksAgainUntilAFileIsOpened() {
    // Without Open File every run asks for the file, from the menu too.
    QAction* calculate = window_->menuAction(QStringLiteral("mnuOpen"));
    desk_->dialogs.answers = {kExample, kExample};
    calculate->trigger();
    QVERIFY(!calculate->isChecked());
    calculate->trigger();
    QCOMPARE(desk_->dialogs.calls.size(), std::size_t{2});
    QVERIFY(!calculate->isChecked());
}

void CalculationTest::runAsksForTheFileWhenNoneWasOpened() {
    // While the dialog is up, the run has started: the title reads "Wait
    // Please" and the results window exists with its run constants.
    QStringList seen;
    desk_->dialogs.whileShown = [&] {
        seen << window_->screenTitle();
        ResultsWindow* results = window_->resultsWindow();
        seen << (results ? results->statusPanelText(2) + results->statusPanelText(3) + results->statusPanelText(4)
                         : QStringLiteral("no results window"));
    };
    desk_->dialogs.answers.push_back(kExample);

    window_->pressToolbarButton(13);

    QCOMPARE(desk_->dialogs.calls.size(), std::size_t{1});
    QVERIFY(!desk_->dialogs.calls[0].save);
    QCOMPARE(desk_->dialogs.calls[0].filter, QStringLiteral("Spinel(*.dor) |*.dor"));
    QCOMPARE(seen, (QStringList{"Wait Please", "34Droop (1987)"}));
    QCOMPARE(window_->screenTitle(), QStringLiteral("Data Entry Screen"));
    QCOMPARE(window_->filePanelText(), kExample);
    QCOMPARE(cellText(window_->sheet(), 1, 1), QStringLiteral("CHR-01 core"));
    ResultsWindow* results = window_->resultsWindow();
    QCOMPARE(results->table().rowCount(), 2 + kExampleRows);
    QCOMPARE(results->statusPanelText(1), kExample);
    QVERIFY(desk_->messages.shown.empty());

    // The run only reads the check mark: the next run asks again.
    QVERIFY(!window_->menuAction(QStringLiteral("mnuOpen"))->isChecked());
    desk_->dialogs.whileShown = nullptr;
    desk_->dialogs.answers.push_back(kExample);
    window_->pressToolbarButton(13);
    QCOMPARE(desk_->dialogs.calls.size(), std::size_t{2});
    QCOMPARE(results->table().rowCount(), 2 + 2 * kExampleRows);
}

void CalculationTest::runWithTheDialogCancelledStillCalculates() {
    window_->newFile();
    window_->sheet().setText(1, 1, "typed");
    window_->sheet().setText(1, 5, "10");

    window_->pressToolbarButton(13);

    QCOMPARE(desk_->dialogs.calls.size(), std::size_t{1});
    QCOMPARE(window_->screenTitle(), QStringLiteral("Data Entry Screen"));
    QCOMPARE(window_->filePanelText(), QString());
    ResultsWindow* results = window_->resultsWindow();
    QVERIFY(results);
    QVERIFY(results->isVisible());
    QVERIFY(results->table().rowCount() > 2);  // the run went on over the sheet
    QCOMPARE(results->statusPanelText(1), QString());
    QCOMPARE(results->statusPanelText(4), QStringLiteral("Droop (1987)"));
    QCOMPARE(dataFilesIn(folder_->path()), expectedDataFiles());
    QVERIFY(desk_->messages.shown.empty());  // a cancel leaves no error to show
}

void CalculationTest::secondRunAppendsBelowTheFirst() {
    openExample();
    window_->pressToolbarButton(13);
    ResultsWindow* results = window_->resultsWindow();
    // Showing the data-entry window and back leaves the table as it is.
    results->pressToolbarButton(16);
    window_->pressToolbarButton(22);
    QCOMPARE(window_->resultsWindow(), results);
    window_->pressToolbarButton(13);

    const ResultsTable& table = results->table();
    QCOMPARE(table.rowCount(), 2 + 2 * kExampleRows);
    for (int r = 2; r < 2 + kExampleRows; ++r) {
        for (int c = 0; c <= 170; ++c) {
            QVERIFY2(table.text(r + kExampleRows, c) == table.text(r, c),
                     qPrintable(QStringLiteral("row %1, column %2").arg(r + kExampleRows).arg(c)));
        }
    }
    QCOMPARE(results->tableModel()->rowCount(), 1 + 2 * kExampleRows);
    QCOMPARE(dataFilesIn(folder_->path()), expectedDataFiles());
}

void CalculationTest::runCalculatesTheSheetAsEdited() {
    openExample();
    window_->sheet().setText(2, 1, "renamed after loading");
    window_->sheet().setText(3, 26, "");
    window_->pressToolbarButton(13);
    const ResultsTable& table = window_->resultsWindow()->table();
    QCOMPARE(cellText(table, 3, 0), QStringLiteral("renamed after loading"));
    QCOMPARE(cellText(table, 4, 79), QString());
}

void CalculationTest::aResultsWindowCreatedAnewStartsEmpty() {
    openExample();
    window_->pressToolbarButton(13);
    QPointer<ResultsWindow> first = window_->resultsWindow();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
    QVERIFY(window_->resultsWindow() == nullptr);

    window_->pressToolbarButton(13);
    ResultsWindow* second = window_->resultsWindow();
    QVERIFY(second);
    QCOMPARE(second->table().rowCount(), 2 + kExampleRows);
    QCOMPARE(cellText(second->table(), 0, 0), QStringLiteral("Qarvelion"));
    QCOMPARE(cellText(second->table(), 1, 0), QStringLiteral("Sample No"));
}

QTEST_MAIN(CalculationTest)
#include "calculation_test.moc"
