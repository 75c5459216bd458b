// The three golden sheets through the desktop program, as a user runs them:
// Open File, then Calculate ("Open File to Calculate"). The results table must equal the
// expected table cell for cell and the diagram data files in the working
// folder the expected files byte for byte.

#include <QtTest>
#include <filesystem>

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

std::vector<std::string> split(const std::string& text, char at) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t to = text.find(at, from);
        parts.push_back(text.substr(from, to == std::string::npos ? std::string::npos : to - from));
        if (to == std::string::npos) break;
        from = to + 1;
    }
    return parts;
}

}  // namespace

class GoldenRunTest : public QObject {
    Q_OBJECT

private slots:
    void goldenSheet_data();
    void goldenSheet();
};

void GoldenRunTest::goldenSheet_data() {
    QTest::addColumn<QString>("sheet");
    QTest::newRow("sheet-101") << "sheet-101";
    QTest::newRow("sheet-103 (sulfides and selenides only)") << "sheet-103";
    QTest::newRow("sheet-105 (oxides, then sulfides and negative Al2O3)") << "sheet-105";
}

void GoldenRunTest::goldenSheet() {
    QFETCH(QString, sheet);
    const fs::path dir = fs::path(QARVELION_TEST_DATA_DIR) / "golden" / sheet.toStdString();
    const fs::path expected = dir / "expected";

    InTempFolder folder;
    FakeDesktop desk;
    DataEntryWindow window(desk.context);
    desk.dialogs.answers.push_back(QString::fromStdString((dir / "input.dor").string()));
    window.menuAction(QStringLiteral("mnuOpenFile"))->trigger();
    window.pressToolbarButton(13);  // Calculate: "Open File to Calculate"
    QVERIFY(desk.messages.shown.empty());
    QCOMPARE(desk.dialogs.calls.size(), std::size_t{1});
    ResultsWindow* results = window.resultsWindow();
    QVERIFY(results);

    // The table, cell for cell.
    std::vector<std::string> lines = split(qarv::test::readFile(expected / "results.tsv"), '\n');
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    const ResultsTable& table = results->table();
    QCOMPARE(table.rowCount(), static_cast<int>(lines.size()));
    QStringList differences;
    for (int r = 0; r < static_cast<int>(lines.size()); ++r) {
        const std::vector<std::string> cells = split(lines[r], '\t');
        QVERIFY2(static_cast<int>(cells.size()) == table.columnCount(),
                 qPrintable(QStringLiteral("line %1 has %2 cells").arg(r + 1).arg(cells.size())));
        for (int c = 0; c < table.columnCount(); ++c) {
            if (table.text(r, c) != cells[c] && differences.size() < 20) {
                differences << QStringLiteral("(%1, %2): want \"%3\", got \"%4\"")
                                   .arg(r)
                                   .arg(c)
                                   .arg(QString::fromStdString(cells[c]), QString::fromStdString(table.text(r, c)));
            }
        }
    }
    QVERIFY2(differences.isEmpty(), qPrintable(differences.join(QLatin1Char('\n'))));
    // The view's model sees every row (row 0 is its header).
    QCOMPARE(results->tableModel()->rowCount(), table.rowCount() - 1);

    // The diagram data files in the working folder, byte for byte, and no
    // others.
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(expected)) {
        if (entry.path().extension() != ".dat") continue;
        const std::string name = entry.path().filename().string();
        const fs::path got = folder.path() / name;
        QVERIFY2(fs::exists(got), name.c_str());
        const std::string want = qarv::test::readFile(entry.path());
        const std::string have = qarv::test::readFile(got);
        QVERIFY2(want == have, (name + ": " + qarv::test::firstDifference(want, have)).c_str());
        ++compared;
    }
    QCOMPARE(compared, 57);
    int written = 0;
    for (const auto& entry : fs::directory_iterator(folder.path())) written += entry.path().extension() == ".dat";
    QCOMPARE(written, 57);
}

QTEST_MAIN(GoldenRunTest)
#include "golden_run_test.moc"
