// The data-entry window's file commands from its menu and toolbar: New File
// and its template, Open File (a file, a shorter file, a missing or empty
// file, a cancelled dialog), Save As under the name as typed, and the shared
// file dialog.

#include <QtTest>
#include <filesystem>

#include "ui/data_entry_window.h"
#include "ui/grid_view.h"
#include "ui/text_grid_model.h"
#include "ui_fakes.h"

using namespace qarv;
using namespace qarv::ui;
using qarv::test::dorBytes;
using qarv::test::FakeDesktop;
using qarv::test::InTempFolder;
using qarv::test::readFile;
using qarv::test::writeFile;

namespace fs = std::filesystem;

namespace {

QString cellText(const TextGrid& grid, int r, int c) { return QString::fromStdString(grid.text(r, c)); }

// What an empty sheet's file holds: a quote, 200 rows of 59 tabs with a
// carriage return between rows, a quote, CR LF.
std::string emptyForm() {
    std::string rows;
    for (int r = 0; r < 200; ++r) {
        if (r > 0) rows += '\r';
        rows += std::string(59, '\t');
    }
    return "\"" + rows + "\"\r\n";
}

// Rows of an analysis file, as cell texts in Windows-1252 on disk.
const std::vector<std::vector<std::string>> kAnalyses = {
    {"CHR 01 core", "0.12", "0.35", "", "12,5", " 7", "007"},
    {"Spl-2", "abc", "1e2", ".5"},
    {"M\xfcller 3", "1.5"},  // u-umlaut as the single byte 0xFC
};

}  // namespace

class FileCommandsTest : public QObject {
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

    void newFileWritesTheEmptyTemplate();
    void newFileEmptiesWhatCloseKept();
    void openFileLoadsTheSheet();
    void openFileOfAShorterFileKeepsTheRest();
    void openFileCancelled();
    void openFileOfAMissingFile();
    void openFileOfAnEmptyFileShowsNoMessage();
    void saveAsWritesTheFileUnderTheTypedName();
    void saveAsOfAnEmptySheet();
    void saveAsCancelled();
    void theDialogProposesTheLastName();

private:
    QAction* item(const char* name) { return window_->menuAction(QString::fromLatin1(name)); }
    QString writeAnalyses(const QString& name, const std::string& bytes) {
        const QString path = folder_->file(name);
        writeFile(path.toStdString(), bytes);
        return path;
    }
    void fillRow10() {
        window_->newFile();
        window_->sheet().setText(10, 3, "old");
        window_->sheet().setText(10, 60, "old too");
    }

    std::unique_ptr<InTempFolder> folder_;
    std::unique_ptr<FakeDesktop> desk_;
    std::unique_ptr<DataEntryWindow> window_;
};

void FileCommandsTest::newFileWritesTheEmptyTemplate() {
    window_->pressToolbarButton(1);

    const fs::path tem = folder_->path() / "dor.tem";
    QVERIFY(fs::exists(tem));
    QCOMPARE(fs::file_size(tem), std::uintmax_t{12003});
    QVERIFY(readFile(tem) == emptyForm());
    QCOMPARE(window_->screenTitle(), QStringLiteral("New  File"));
    QVERIFY(desk_->dialogs.calls.empty());
    QVERIFY(desk_->messages.shown.empty());

    // Filled cells, text typed into the untitled header cell: the next New
    // File empties all of it and writes the empty form again.
    window_->sheet().setText(4, 4, "21.3");
    window_->sheet().setText(200, 60, "x");
    window_->sheet().setText(0, 60, "typed into the header");
    item("mnuNewFile")->trigger();
    QVERIFY(readFile(tem) == emptyForm());
    QCOMPARE(cellText(window_->sheet(), 4, 4), QString());
    QCOMPARE(cellText(window_->sheet(), 0, 60), QString());
    QCOMPARE(cellText(window_->sheet(), 0, 5), QStringLiteral("Al2O3"));
    // Writing the template leaves the whole data area selected.
    QCOMPARE(window_->sheet().selection(), (Region{1, 1, 200, 60}));
    QCOMPARE(window_->sheet().currentCell(), (CellPos{1, 1}));
}

void FileCommandsTest::newFileEmptiesWhatCloseKept() {
    window_->newFile();
    window_->sheet().setText(2, 3, "7");
    item("mnuClose")->trigger();
    QCOMPARE(cellText(window_->sheet(), 2, 3), QStringLiteral("7"));  // Close keeps the texts
    item("mnuNewFile")->trigger();
    QCOMPARE(cellText(window_->sheet(), 2, 3), QString());
    QVERIFY(window_->sheetShown());
}

void FileCommandsTest::openFileLoadsTheSheet() {
    fillRow10();
    const QString path = writeAnalyses(QStringLiteral("analyses.dor"), dorBytes(kAnalyses));
    desk_->dialogs.answers.push_back(path);

    window_->pressToolbarButton(2);

    QCOMPARE(desk_->dialogs.calls.size(), std::size_t{1});
    QVERIFY(!desk_->dialogs.calls[0].save);
    QCOMPARE(desk_->dialogs.calls[0].filter, QStringLiteral("Spinel(*.dor) |*.dor"));
    QCOMPARE(QString::fromStdString(desk_->context.currentFileName), path);
    QCOMPARE(window_->screenTitle(), QStringLiteral("Data Entry Screen"));
    QCOMPARE(window_->filePanelText(), path);
    QVERIFY(window_->menuAction(QStringLiteral("mnuOpen"))->isChecked());
    QVERIFY(desk_->messages.shown.empty());

    const AnalysisSheet& sheet = window_->sheet();
    // Every text exactly as it stands between the quotes.
    QCOMPARE(cellText(sheet, 1, 1), QStringLiteral("CHR 01 core"));
    QCOMPARE(cellText(sheet, 1, 2), QStringLiteral("0.12"));
    QCOMPARE(cellText(sheet, 1, 4), QString());
    QCOMPARE(cellText(sheet, 1, 5), QStringLiteral("12,5"));
    QCOMPARE(cellText(sheet, 1, 6), QStringLiteral(" 7"));
    QCOMPARE(cellText(sheet, 1, 7), QStringLiteral("007"));
    QCOMPARE(cellText(sheet, 2, 2), QStringLiteral("abc"));
    QCOMPARE(cellText(sheet, 2, 4), QStringLiteral(".5"));
    QCOMPARE(cellText(sheet, 3, 1), QStringLiteral("M\u00fcller 3"));
    // The file's empty cells empty what the sheet held there.
    QCOMPARE(cellText(sheet, 10, 3), QString());
    QCOMPARE(cellText(sheet, 10, 60), QString());
    // The view shows the loaded texts.
    GridView* view = window_->sheetView();
    QCOMPARE(view->model()->data(view->gridModel()->indexOf({1, 1})).toString(), QStringLiteral("CHR 01 core"));
    QCOMPARE(sheet.selection(), (Region{1, 1, 200, 60}));
}

void FileCommandsTest::openFileOfAShorterFileKeepsTheRest() {
    fillRow10();
    const QString path = writeAnalyses(QStringLiteral("three rows.dor"), dorBytes(kAnalyses, 3, 60));
    desk_->dialogs.answers.push_back(path);
    item("mnuOpenFile")->trigger();

    QCOMPARE(cellText(window_->sheet(), 1, 1), QStringLiteral("CHR 01 core"));
    QCOMPARE(cellText(window_->sheet(), 3, 2), QStringLiteral("1.5"));
    QCOMPARE(cellText(window_->sheet(), 10, 3), QStringLiteral("old"));
}

void FileCommandsTest::openFileCancelled() {
    fillRow10();
    window_->pressToolbarButton(2);

    QCOMPARE(desk_->dialogs.calls.size(), std::size_t{1});
    QCOMPARE(window_->screenTitle(), QStringLiteral("Start-up Screen"));
    QVERIFY(window_->startupFrameShown());
    QVERIFY(!window_->sheetShown());
    QCOMPARE(window_->filePanelText(), QString());
    QVERIFY(window_->menuAction(QStringLiteral("mnuOpen"))->isChecked());
    QCOMPARE(cellText(window_->sheet(), 10, 3), QStringLiteral("old"));
    QCOMPARE(desk_->context.currentFileName, std::string());
    QVERIFY(desk_->messages.shown.empty());
}

void FileCommandsTest::openFileOfAMissingFile() {
    fillRow10();
    const QString path = folder_->file(QStringLiteral("not there.dor"));
    desk_->dialogs.answers.push_back(path);

    window_->pressToolbarButton(2);

    QCOMPARE(window_->screenTitle(), QStringLiteral("Data Entry Screen"));
    QVERIFY(window_->sheetShown());
    QCOMPARE(window_->filePanelText(), path);
    QCOMPARE(cellText(window_->sheet(), 10, 3), QStringLiteral("old"));
    QCOMPARE(cellText(window_->sheet(), 10, 60), QStringLiteral("old too"));
    QVERIFY(desk_->messages.shown.empty());
}

void FileCommandsTest::openFileOfAnEmptyFileShowsNoMessage() {
    // Reading a file without a quoted text leaves the data area as it was;
    // like every failing step of Open File it is passed over without a
    // message (the read runs past the end of the file, an error without a
    // text).
    fillRow10();
    const QString path = writeAnalyses(QStringLiteral("empty.dor"), std::string());
    desk_->dialogs.answers.push_back(path);

    window_->pressToolbarButton(2);

    QCOMPARE(window_->screenTitle(), QStringLiteral("Data Entry Screen"));
    QCOMPARE(cellText(window_->sheet(), 10, 3), QStringLiteral("old"));
    QCOMPARE(desk_->messages.texts(), QStringList());
}

void FileCommandsTest::saveAsWritesTheFileUnderTheTypedName() {
    window_->newFile();
    AnalysisSheet& sheet = window_->sheet();
    sheet.setText(1, 1, "CHR 01 core");
    sheet.setText(1, 5, "12,5");
    sheet.setText(1, 6, " 7");
    sheet.setText(1, 7, "007");
    sheet.setText(2, 1, "M\u00fcller \u03a9");  // the omega has no Windows-1252 byte
    sheet.setText(200, 60, "last");
    const QString path = folder_->file(QStringLiteral("analyses"));  // typed without extension
    desk_->dialogs.answers.push_back(path);

    window_->pressToolbarButton(3);

    QCOMPARE(desk_->dialogs.calls.size(), std::size_t{1});
    QVERIFY(desk_->dialogs.calls[0].save);
    QCOMPARE(desk_->dialogs.calls[0].filter, QStringLiteral("Spinel files(*.dor) |*.dor"));
    QVERIFY(fs::exists(folder_->path() / "analyses"));
    QVERIFY(!fs::exists(folder_->path() / "analyses.dor"));
    std::vector<std::vector<std::string>> rows(200);
    rows[0] = {"CHR 01 core", "", "", "", "12,5", " 7", "007"};
    rows[1] = {"M\xfcller ?"};
    rows[199] = std::vector<std::string>(59);
    rows[199].push_back("last");
    const std::string want = dorBytes(rows);
    const std::string got = readFile(folder_->path() / "analyses");
    QVERIFY2(got == want, qarv::test::firstDifference(want, got).c_str());

    QCOMPARE(window_->screenTitle(), QStringLiteral("Save As"));
    QCOMPARE(window_->filePanelText(), path);
    QCOMPARE(desk_->context.currentFileName, std::string());  // Save As does not set it
    QVERIFY(window_->menuAction(QStringLiteral("mnuClose"))->isEnabled());
    QVERIFY(!window_->menuAction(QStringLiteral("mnuOpen"))->isChecked());
    QVERIFY(desk_->messages.shown.empty());

    // Opening the saved file in a fresh window gives the cells back.
    FakeDesktop other;
    DataEntryWindow reader(other.context);
    other.dialogs.answers.push_back(path);
    reader.openFile();
    QCOMPARE(cellText(reader.sheet(), 1, 1), QStringLiteral("CHR 01 core"));
    QCOMPARE(cellText(reader.sheet(), 1, 6), QStringLiteral(" 7"));
    QCOMPARE(cellText(reader.sheet(), 1, 7), QStringLiteral("007"));
    QCOMPARE(cellText(reader.sheet(), 2, 1), QStringLiteral("M\u00fcller ?"));
    QCOMPARE(cellText(reader.sheet(), 200, 60), QStringLiteral("last"));
}

void FileCommandsTest::saveAsOfAnEmptySheet() {
    window_->newFile();
    desk_->dialogs.answers.push_back(folder_->file(QStringLiteral("empty.dor")));
    item("mnuSaveAs")->trigger();
    QCOMPARE(fs::file_size(folder_->path() / "empty.dor"), std::uintmax_t{12003});
    QVERIFY(readFile(folder_->path() / "empty.dor") == emptyForm());
}

void FileCommandsTest::saveAsCancelled() {
    window_->newFile();
    window_->pressToolbarButton(3);
    QCOMPARE(window_->screenTitle(), QStringLiteral("Save As"));
    QCOMPARE(window_->filePanelText(), QString());
    QVERIFY(window_->sheetShown());
    QCOMPARE(std::distance(fs::directory_iterator(folder_->path()), fs::directory_iterator{}), 1);  // dor.tem
    QVERIFY(desk_->messages.shown.empty());
}

void FileCommandsTest::theDialogProposesTheLastName() {
    // One dialog for every file command: it proposes the name chosen last.
    const QString opened = writeAnalyses(QStringLiteral("opened.dor"), dorBytes(kAnalyses));
    const QString saved = folder_->file(QStringLiteral("saved.dor"));
    desk_->dialogs.answers = {opened, saved};
    item("mnuOpenFile")->trigger();
    item("mnuSaveAs")->trigger();
    item("mnuOpenFile")->trigger();  // cancelled
    QCOMPARE(desk_->dialogs.calls.size(), std::size_t{3});
    QCOMPARE(desk_->dialogs.calls[1].proposed, opened);
    QCOMPARE(desk_->dialogs.calls[2].proposed, saved);
}

QTEST_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
