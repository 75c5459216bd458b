// The item models behind the two grids, watched by Qt's model tester while
// the commands that reshape or refill them run: every signal, row count and
// data role must stay consistent with what the views are told.

#include <QAbstractItemModelTester>
#include <QtTest>

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

namespace {

const QString kExample = QStringLiteral(QARVELION_EXAMPLES_DIR "/example.dor");

}  // namespace

class GridModelsTest : public QObject {
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

    void sheetModelThroughTheEditingCommands();
    void resultsModelAcrossRunsThatAppendRows();

private:
    std::unique_ptr<InTempFolder> folder_;
    std::unique_ptr<FakeDesktop> desk_;
    std::unique_ptr<DataEntryWindow> window_;
};

void GridModelsTest::sheetModelThroughTheEditingCommands() {
    TextGridModel* model = window_->sheetModel();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto action = [this](const char* name) { return window_->menuAction(QString::fromLatin1(name)); };

    action("mnuNewFile")->trigger();
    QCOMPARE(model->rowCount(), 200);
    QCOMPARE(model->columnCount(), 60);
    GridView* view = window_->sheetView();
    view->setCurrentIndex(model->indexOf({5, 2}));
    for (char32_t c : QStringLiteral("42.5\b7").toUcs4()) view->typeCharacter(c);
    view->typeCharacter(13);
    desk_->clipboard.content = QStringLiteral("a\tb\r\nc\td\r\n");
    window_->sheet().setSelectionCorner({6, 3});
    action("mnuEditPaste")->trigger();
    action("mnuEditInsertRow")->trigger();
    QCOMPARE(model->rowCount(), 201);
    action("mnuDelete")->trigger();
    action("mnuDelete")->trigger();
    QCOMPARE(model->rowCount(), 199);
    action("mnuEditSelectAll")->trigger();
    action("mnuEditCut")->trigger();
    action("mnuClear")->trigger();
    QCOMPARE(model->rowCount(), 200);
    desk_->dialogs.answers.push_back(kExample);
    action("mnuOpenFile")->trigger();
    QCOMPARE(model->data(model->indexOf({1, 1}), Qt::DisplayRole).toString(), QStringLiteral("CHR-01 core"));
    // The header sections are the sheet's row 0 and column 0.
    QCOMPARE(model->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Al2O3"));
    QCOMPARE(model->headerData(6, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("7"));
    window_->pressToolbarButton(13);
    action("mnuClose")->trigger();
}

void GridModelsTest::resultsModelAcrossRunsThatAppendRows() {
    ResultsWindow* results = window_->ensureResultsWindow();
    TextGridModel* model = results->tableModel();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model->rowCount(), 1);  // the titles row; row 0 is the header
    QCOMPARE(model->columnCount(), 170);

    desk_->dialogs.answers.push_back(kExample);
    window_->menuAction(QStringLiteral("mnuOpenFile"))->trigger();
    window_->pressToolbarButton(13);
    const int afterOne = model->rowCount();
    QVERIFY(afterOne > 1);
    QCOMPARE(afterOne, results->table().rowCount() - 1);
    window_->pressToolbarButton(13);
    QCOMPARE(model->rowCount(), 2 * afterOne - 1);
    QCOMPARE(results->tableView()->model()->rowCount(), model->rowCount());

    // Edits on the table.
    results->pressToolbarButton(5);
    results->pressToolbarButton(2);
    results->table().setCurrentCell({3, 4});
    results->table().setSelectionCorner({4, 6});
    results->pressToolbarButton(1);
    desk_->clipboard.content = QStringLiteral("1\t2\r3\t4");
    results->pressToolbarButton(3);
    results->tableView()->typeCharacter('9');
    QCOMPARE(model->data(model->indexOf({3, 4}), Qt::DisplayRole).toString(), QStringLiteral("19"));
    QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("1"));
}

QTEST_MAIN(GridModelsTest)
#include "grid_models_test.moc"
