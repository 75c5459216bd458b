// The menus and tool bars of the data-entry and results windows as the user
// sees them (captions, shortcuts, separators, sub-menus, tip texts), what
// each numbered button runs, and which commands are enabled, checked and
// shown on each face of the data-entry window.

#include <QLabel>
#include <QMenuBar>
#include <QtTest>

#include "ui/about_window.h"
#include "ui/data_entry_window.h"
#include "ui/grid_view.h"
#include "ui/results_window.h"
#include "ui_fakes.h"

using namespace qarv;
using namespace qarv::ui;
using qarv::test::FakeDesktop;
using qarv::test::InTempFolder;

namespace {

const QString kHelpFile = qarv::test::kTestApplicationFolder + QStringLiteral("/qarvelion.chm");

QStringList toolbarLines(QToolBar* toolbar) {
    QStringList out;
    int number = 1;
    for (QAction* action : toolbar->actions()) {
        out << QStringLiteral("%1 %2").arg(number++).arg(action->isSeparator() ? QStringLiteral("-")
                                                                               : action->toolTip());
    }
    return out;
}

// What a command left behind, as short lines: the screen title, and every
// dialog, clipboard use, shell request and message it caused.
QStringList effects(FakeDesktop& desk, const QString& title) {
    QStringList out;
    if (!title.isNull()) out << QStringLiteral("title: ") + title;
    for (const auto& call : desk.dialogs.calls) {
        out << QStringLiteral("dialog: %1 %2").arg(call.save ? "save" : "open", call.filter);
    }
    if (!desk.clipboard.log.isEmpty()) out << QStringLiteral("clipboard: ") + desk.clipboard.log.join(',');
    for (const auto& request : desk.shell.requests) {
        out << QStringLiteral("shell: %1 %2").arg(request.target, request.verb);
    }
    for (const auto& message : desk.messages.shown) {
        out << QStringLiteral("message: %1: %2").arg(message.title, message.text);
    }
    return out;
}

void forget(FakeDesktop& desk) {
    desk.dialogs.calls.clear();
    desk.clipboard.log.clear();
    desk.shell.requests.clear();
    desk.messages.shown.clear();
}

// Whether a window of that name is on the screen (each main window has its
// own About window).
bool shownWindow(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->isVisible()) return true;
    }
    return false;
}

}  // namespace

class MenusToolbarTest : public QObject {
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

    void windowCaptions();
    void dataEntryMenuTree();
    void resultsMenuTree();
    void toolbars_data();
    void toolbars();
    void onlyCalculateCarriesACheckMark();
    void faceStates_data();
    void faceStates();
    void dataEntryButtonRunsItsCommand_data();
    void dataEntryButtonRunsItsCommand();
    void resultsButtonRunsItsCommand_data();
    void resultsButtonRunsItsCommand();
    void aboutAndHelpMenuTitlesRunTheirCommands();
    void exitEndsTheProgram_data();
    void exitEndsTheProgram();

private:
    std::unique_ptr<InTempFolder> folder_;
    std::unique_ptr<FakeDesktop> desk_;
    std::unique_ptr<DataEntryWindow> window_;
};

void MenusToolbarTest::windowCaptions() {
    const QString caption = QStringLiteral("Q a r v e l i o n") + QString(236, QLatin1Char(' '));
    QCOMPARE(window_->windowTitle(), caption);
    QCOMPARE(window_->windowTitle().size(), 253);
    const auto label = [this](const char* name) {
        auto* l = window_->findChild<QLabel*>(QString::fromLatin1(name));
        return l ? l->text() : QStringLiteral("(no label %1)").arg(QLatin1String(name));
    };
    QCOMPARE(label("banner"), QStringLiteral("Qarvelion, A Windows Program for Spinel Supergroup Minerals"));
    QCOMPARE(label("lblLabel1Form1"),
             QStringLiteral("     *Calculation    * Classification") + QString(46, QLatin1Char(' ')));
    QCOMPARE(label("programTitle"), QStringLiteral("Q a r v e l i o n"));
    QCOMPARE(window_->screenTitle(), QStringLiteral("Start-up Screen"));
}

void MenusToolbarTest::dataEntryMenuTree() {
    const QStringList want = {
        QStringLiteral("mnuFile|File >"),
        QStringLiteral("  mnuNewFile|New File|Ctrl+N"),
        QStringLiteral("  mnuOpenFile|Open File|Ctrl+O"),
        QStringLiteral("  mnuSaveAs|Save As|Ctrl+S"),
        QStringLiteral("  mnuClose|Close|Ctrl+C"),
        QStringLiteral("  -"),
        QStringLiteral("  mnuOEF|Open Excel File >"),
        QStringLiteral("    -"),
        QStringLiteral("    mnu9703|1997 - 2003 Files (.xls)|Ctrl+G"),
        QStringLiteral("    mnu07Later|2007 - Later (.xlsx)|Ctrl+H"),
        QStringLiteral("    -"),
        QStringLiteral("  mnuEEF|Edit Excel File >"),
        QStringLiteral("    -"),
        QStringLiteral("    mnu9703e|1997 - 2003 Files (.xls)|Ctrl+F1"),
        QStringLiteral("    mnu07Latere|2007 - Later (.xlsx)|Ctrl+F2"),
        QStringLiteral("    -"),
        QStringLiteral("  -"),
        QStringLiteral("  mnuExit|Exit|Ctrl+X"),
        QStringLiteral("mnuEdit|Edit >"),
        QStringLiteral("  mnuClear|Clear All|Ctrl+A"),
        QStringLiteral("  mnuDelete|Remove Row|Ctrl+D"),
        QStringLiteral("  mnuEditInsertRow|Insert Row|Ctrl+I"),
        QStringLiteral("  -"),
        QStringLiteral("  mnuEditCut|Cut|Ctrl+T"),
        QStringLiteral("  mnuEditCopy|Copy|Ctrl+Y"),
        QStringLiteral("  mnuEditPaste|Paste|Ctrl+P"),
        QStringLiteral("  mnuEditDelete|Delete|Ctrl+L"),
        QStringLiteral("  mnuEditSelectAll|Select All|Ctrl+E"),
        QStringLiteral("mnuCalculate|Calculate >"),
        QStringLiteral("  mnuOpen|Open File to Calculate|Ctrl+F"),
        QStringLiteral("mnuAbout|About|"),
        QStringLiteral("mnuHelp|Help") + QString(53, QLatin1Char(' ')) + QStringLiteral(" >"),
        QStringLiteral("  mnuHelpContents|Click Here for Help Index           F1|"),
    };
    const QString differences =
        qarv::test::lineDifferences(qarv::test::describeMenuBar(window_->menuBar()->actions()), want);
    QVERIFY2(differences.isEmpty(), qPrintable(differences));
    // The sheet's context menu is the Edit menu itself.
    QCOMPARE(window_->editMenu(), window_->menuBar()->actions().at(1)->menu());
}

void MenusToolbarTest::resultsMenuTree() {
    ResultsWindow* results = window_->ensureResultsWindow();
    const QStringList want = {
        QStringLiteral("mnuEdit|Edit >"),
        QStringLiteral("  -"),
        QStringLiteral("  mnuEditCut|Cut|Ctrl+C"),
        QStringLiteral("  mnuEditCopy|Copy|Ctrl+Y"),
        QStringLiteral("  mnuEditPaste|Paste|Ctrl+P"),
        QStringLiteral("  mnuEditDelete|Delete|Ctrl+D"),
        QStringLiteral("  mnuEditSelectAll|Select All|Ctrl+S"),
        QStringLiteral("  -"),
        QStringLiteral("  mnuExit|Exit|Ctrl+E"),
        QStringLiteral("mnuOEF1|Excel >"),
        QStringLiteral("  -"),
        QStringLiteral("  mnuSEF|Send Results to Excel (Output.xlsx)|Ctrl+G"),
        QStringLiteral("  mnuOEF|Open Excel File (Output.xlsx)|Ctrl+H"),
        QStringLiteral("  -"),
        QStringLiteral("  mnuEOX|Exit Excel File (i.e., Output.xlsx)|"),
        QStringLiteral("  -"),
        QStringLiteral("mnuGraph|Graph >"),
        QStringLiteral("  mnuClass|Classification Diagrams (Oxyspinel Group)  [1] >"),
        QStringLiteral("  mnuClass2|Classification Diagrams (Oxyspinel Group)  [2] >"),
        QStringLiteral("  mnuTPT|Chromian Spinel Compositional Diagrams  [1] >"),
        QStringLiteral("  mnuMP|Chromian Spinel Compositional Diagrams  [2] >"),
        QStringLiteral("  mnuClassThio|Classification Diagrams (Thiospinel Group) >"),
        QStringLiteral("  mnuClassSele|Classification Diagrams (Selenospinel Group) >"),
        QStringLiteral("mnuAbaout|About|"),
        QStringLiteral("mnuHelp|Help >"),
        QStringLiteral("  mnuHelpContents|Click Here for Help Index           F1|"),
    };
    // The Graph sub-menus' own items are the diagram launcher's concern.
    const QString differences =
        qarv::test::lineDifferences(qarv::test::describeMenuBar(results->menuBar()->actions(), 1), want);
    QVERIFY2(differences.isEmpty(), qPrintable(differences));
    QCOMPARE(results->editMenu(), results->menuBar()->actions().at(0)->menu());
}

void MenusToolbarTest::toolbars_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("lines");  // "n tip" or "n -" for a separator

    QTest::newRow("data-entry window") << "kkj"
                                       << QStringList{"1 New",
                                                      "2 Open",
                                                      "3 Save",
                                                      "4 Close",
                                                      "5 Exit",
                                                      "6 -",
                                                      "7 Cut",
                                                      "8 Copy",
                                                      "9 Paste",
                                                      "10 Delete",
                                                      "11 Select All",
                                                      "12 -",
                                                      "13 Calculate",
                                                      "14 -",
                                                      "15 Load Excel (.xls)  into Grid",
                                                      "16 Load Excel (.xlsx)  into Grid",
                                                      "17 Edit Excel (.xls) File",
                                                      "18 Edit Excel (.xlsx) File",
                                                      "19 -",
                                                      "20 About",
                                                      "21 Help",
                                                      "22 Display Next Screen"};
    QTest::newRow("results window") << "Form10"
                                    << QStringList{"1 Cut",
                                                   "2 Copy",
                                                   "3 Paste",
                                                   "4 Delete",
                                                   "5 Select All",
                                                   "6 -",
                                                   "7 Exit program",
                                                   "8 -",
                                                   "9 Send results to Excel File (Output.xlsx)",
                                                   "10 Open and Edit Excel file (Output.xlsx)",
                                                   "11 -",
                                                   "12 About",
                                                   "13 Plot graph by using Grapher",
                                                   "14 Help",
                                                   "15 -",
                                                   "16 Display Previous Screen"};
}

void MenusToolbarTest::toolbars() {
    QFETCH(QString, window);
    QFETCH(QStringList, lines);

    QMainWindow* w = window_.get();
    if (window == QLatin1String("Form10")) w = window_->ensureResultsWindow();
    QToolBar* toolbar = w->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    QVERIFY(toolbar);
    QCOMPARE(toolbarLines(toolbar), lines);

    // toolbarButton(n) is the button at position n; separators have none.
    const QList<QAction*> actions = toolbar->actions();
    for (int n = 1; n <= actions.size(); ++n) {
        QAction* button = w == window_.get() ? window_->toolbarButton(n)
                                             : window_->resultsWindow()->toolbarButton(n);
        QCOMPARE(button, actions[n - 1]->isSeparator() ? nullptr : actions[n - 1]);
    }
}

void MenusToolbarTest::onlyCalculateCarriesACheckMark() {
    // Over every item reachable from the menu bars.
    const auto checkableItems = [](QMainWindow* w) {
        QStringList out;
        std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
            for (QAction* action : actions) {
                if (action->isCheckable()) out << action->objectName();
                if (action->menu()) walk(action->menu()->actions());
            }
        };
        walk(w->menuBar()->actions());
        return out;
    };
    QCOMPARE(checkableItems(window_.get()), QStringList{QStringLiteral("mnuOpen")});
    QVERIFY(!window_->menuAction(QStringLiteral("mnuOpen"))->isChecked());
    QCOMPARE(checkableItems(window_->ensureResultsWindow()), QStringList());
}

// ---------------------------------------------------------------------------
// The faces of the data-entry window.

void MenusToolbarTest::faceStates_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("startupFrame");
    QTest::addColumn<bool>("sheet");
    QTest::addColumn<QString>("panel");  // "<file>" stands for the analysis file's path
    QTest::addColumn<bool>("panelEnabled");
    QTest::addColumn<bool>("editing");  // Save As, Close, the Edit menu, buttons 3, 4, 7 to 11
    QTest::addColumn<bool>("excelItems");
    QTest::addColumn<bool>("excelButtons");
    QTest::addColumn<bool>("checked");

    QTest::newRow("start-up") << QStringList{} << "Start-up Screen" << true << false << "No Selected File"
                              << false << false << true << true << false;
    QTest::newRow("after New File") << QStringList{"new"} << "New  File" << false << true << "New File" << true
                                    << true << true << true << false;
    QTest::newRow("after Open File") << QStringList{"open file"} << "Data Entry Screen" << false << true
                                     << "<file>" << true << true << false << false << true;
    QTest::newRow("after Open File of a missing file")
        << QStringList{"open missing"} << "Data Entry Screen" << false << true << "<missing>" << true << true
        << true << false << true;
    QTest::newRow("after Open File cancelled") << QStringList{"open cancel"} << "Start-up Screen" << true << false
                                               << "" << true << false << true << true << true;
    QTest::newRow("after Close") << QStringList{"new", "close"} << "Start-up Screen" << true << false
                                 << "New File" << true << false << true << true << false;
    QTest::newRow("after Open File, then Close")
        << QStringList{"open file", "close"} << "Start-up Screen" << true << false << "<file>" << true << false
        << true << true << true;
    QTest::newRow("after Open File, then New File")
        << QStringList{"open file", "new"} << "New  File" << false << true << "New File" << true << true << false
        << false << true;
    QTest::newRow("after New File, Close, New File")
        << QStringList{"new", "close", "new"} << "New  File" << false << true << "New File" << true << true
        << true << true << false;
    QTest::newRow("after Save As") << QStringList{"new", "save"} << "Save As" << false << true << "<saved>"
                                   << true << true << true << true << false;
}

void MenusToolbarTest::faceStates() {
    QFETCH(QStringList, steps);
    QFETCH(QString, title);
    QFETCH(bool, startupFrame);
    QFETCH(bool, sheet);
    QFETCH(QString, panel);
    QFETCH(bool, panelEnabled);
    QFETCH(bool, editing);
    QFETCH(bool, excelItems);
    QFETCH(bool, excelButtons);
    QFETCH(bool, checked);

    const QString file = folder_->file(QStringLiteral("analyses.dor"));
    const QString missing = folder_->file(QStringLiteral("nowhere.dor"));
    const QString saved = folder_->file(QStringLiteral("saved.dor"));
    qarv::test::writeFile(file.toStdString(), qarv::test::dorBytes({{"S1", "1", "2"}}));
    for (const QString& step : steps) {
        if (step == QLatin1String("new")) {
            window_->menuAction(QStringLiteral("mnuNewFile"))->trigger();
        } else if (step == QLatin1String("open file")) {
            desk_->dialogs.answers.push_back(file);
            window_->menuAction(QStringLiteral("mnuOpenFile"))->trigger();
        } else if (step == QLatin1String("open missing")) {
            desk_->dialogs.answers.push_back(missing);
            window_->menuAction(QStringLiteral("mnuOpenFile"))->trigger();
        } else if (step == QLatin1String("open cancel")) {
            window_->menuAction(QStringLiteral("mnuOpenFile"))->trigger();
        } else if (step == QLatin1String("close")) {
            window_->menuAction(QStringLiteral("mnuClose"))->trigger();
        } else if (step == QLatin1String("save")) {
            desk_->dialogs.answers.push_back(saved);
            window_->menuAction(QStringLiteral("mnuSaveAs"))->trigger();
        }
    }
    panel.replace(QLatin1String("<file>"), file)
        .replace(QLatin1String("<missing>"), missing)
        .replace(QLatin1String("<saved>"), saved);

    QCOMPARE(window_->screenTitle(), title);
    QCOMPARE(window_->startupFrameShown(), startupFrame);
    QCOMPARE(window_->sheetShown(), sheet);
    QCOMPARE(!window_->sheetView()->editBuffer()->isHidden(), sheet);
    QCOMPARE(window_->filePanelText(), panel);
    QCOMPARE(window_->filePanelEnabled(), panelEnabled);

    // A missing item counts as disabled; the menu tree test names them all.
    const auto enabled = [this](const char* name) {
        QAction* action = window_->menuAction(QString::fromLatin1(name));
        return action != nullptr && action->isEnabled();
    };
    for (const char* name : {"mnuSaveAs", "mnuClose", "mnuClear", "mnuDelete", "mnuEditInsertRow", "mnuEditCut",
                             "mnuEditCopy", "mnuEditPaste", "mnuEditDelete", "mnuEditSelectAll"}) {
        QVERIFY2(enabled(name) == editing, name);
    }
    for (int n : {3, 4, 7, 8, 9, 10, 11}) {
        QVERIFY2(window_->toolbarButton(n)->isEnabled() == editing, qPrintable(QString::number(n)));
    }
    QCOMPARE(enabled("mnu9703"), excelItems);
    QCOMPARE(enabled("mnu07Later"), excelItems);
    QCOMPARE(window_->toolbarButton(15)->isEnabled(), excelButtons);
    QCOMPARE(window_->toolbarButton(16)->isEnabled(), excelButtons);
    QCOMPARE(window_->menuAction(QStringLiteral("mnuOpen"))->isChecked(), checked);

    // Enabled on every face.
    for (const char* name : {"mnuNewFile", "mnuOpenFile", "mnuOEF", "mnuEEF", "mnu9703e", "mnu07Latere", "mnuExit",
                             "mnuOpen", "mnuAbout", "mnuHelp", "mnuHelpContents", "mnuFile", "mnuEdit",
                             "mnuCalculate"}) {
        QVERIFY2(enabled(name), name);
    }
    for (int n : {1, 2, 5, 13, 17, 18, 20, 21, 22}) {
        QVERIFY2(window_->toolbarButton(n)->isEnabled(), qPrintable(QString::number(n)));
    }
    // Every command is shown on every face; only their enabled state changes.
    for (QAction* action : window_->findChildren<QAction*>()) {
        if (!action->objectName().isEmpty()) QVERIFY2(action->isVisible(), qPrintable(action->objectName()));
    }
}

// ---------------------------------------------------------------------------
// Toolbar dispatch: each number runs its own command, separators nothing.

void MenusToolbarTest::dataEntryButtonRunsItsCommand_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("want");
    QTest::addColumn<QString>("window");  // a window that the command shows

    const QString open = QStringLiteral("dialog: open Spinel(*.dor) |*.dor");
    QTest::newRow("1 New") << 1 << QStringList{"title: New  File"} << "";
    QTest::newRow("2 Open, cancelled") << 2 << QStringList{"title: Start-up Screen", open} << "";
    QTest::newRow("3 Save, cancelled") << 3 << QStringList{"title: Save As", "dialog: save Spinel files(*.dor) |*.dor"}
                                       << "";
    QTest::newRow("4 Close") << 4 << QStringList{"title: Start-up Screen"} << "";
    QTest::newRow("6 separator") << 6 << QStringList{"title: Save As"} << "";
    QTest::newRow("7 Cut") << 7 << QStringList{"title: Save As", "clipboard: clear,set"} << "";
    QTest::newRow("8 Copy") << 8 << QStringList{"title: Save As", "clipboard: clear,set"} << "";
    QTest::newRow("9 Paste") << 9 << QStringList{"title: Save As", "clipboard: get"} << "";
    QTest::newRow("10 Delete") << 10 << QStringList{"title: Save As"} << "";
    QTest::newRow("11 Select All") << 11 << QStringList{"title: Save As"} << "";
    QTest::newRow("12 separator") << 12 << QStringList{"title: Save As"} << "";
    QTest::newRow("13 Calculate") << 13 << QStringList{"title: Data Entry Screen", open} << "Form10";
    QTest::newRow("14 separator") << 14 << QStringList{"title: Save As"} << "";
    QTest::newRow("19 separator") << 19 << QStringList{"title: Save As"} << "";
    QTest::newRow("20 About") << 20 << QStringList{"title: Save As"} << "Form8";
    QTest::newRow("21 Help") << 21 << QStringList{"title: Save As", "shell: " + kHelpFile + " open"} << "";
    QTest::newRow("22 Display Next Screen") << 22 << QStringList{"title: Save As"} << "Form10";
    QTest::newRow("0 outside the toolbar") << 0 << QStringList{"title: Save As"} << "";
    QTest::newRow("23 outside the toolbar") << 23 << QStringList{"title: Save As"} << "";
}

void MenusToolbarTest::dataEntryButtonRunsItsCommand() {
    QFETCH(int, button);
    QFETCH(QStringList, want);
    QFETCH(QString, window);

    // A sheet in editing whose title no button sets: New File, then a
    // cancelled Save As. Cell (2, 2) alone is selected.
    window_->newFile();
    window_->saveAs();
    window_->sheet().setText(2, 2, "7.5");
    window_->sheet().setCurrentCell({2, 2});
    window_->sheet().setSelectionCorner({2, 2});
    desk_->clipboard.content = QStringLiteral("P");
    forget(*desk_);

    window_->pressToolbarButton(button);

    QCOMPARE(effects(*desk_, window_->screenTitle()), want);
    for (const char* name : {"Form8", "Form10"}) {
        QVERIFY2(shownWindow(QString::fromLatin1(name)) == (window == QLatin1String(name)), name);
    }
    // The cell tells Cut, Copy, Paste, Delete and Select All apart.
    const QString cell = QString::fromStdString(window_->sheet().text(2, 2));
    const bool emptied = button == 1 || button == 7 || button == 10;  // New File, Cut, Delete
    QCOMPARE(cell, emptied ? QString() : button == 9 ? QStringLiteral("P") : QStringLiteral("7.5"));
    if (button == 11) {
        QCOMPARE(window_->sheet().selection(), (Region{1, 1, 200, 60}));
    }
}

void MenusToolbarTest::resultsButtonRunsItsCommand_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("want");
    QTest::addColumn<QString>("cell");  // table cell (2, 2) afterwards

    QTest::newRow("1 Cut") << 1 << QStringList{"clipboard: clear,set"} << "";
    QTest::newRow("2 Copy") << 2 << QStringList{"clipboard: clear,set"} << "x";
    QTest::newRow("3 Paste") << 3 << QStringList{"clipboard: get"} << "P";
    QTest::newRow("4 Delete") << 4 << QStringList{} << "";
    QTest::newRow("5 Select All") << 5 << QStringList{} << "x";
    QTest::newRow("6 separator") << 6 << QStringList{} << "x";
    QTest::newRow("8 separator") << 8 << QStringList{} << "x";
    QTest::newRow("11 separator") << 11 << QStringList{} << "x";
    QTest::newRow("12 About") << 12 << QStringList{} << "x";
    QTest::newRow("13 Plot graph, cancelled")
        << 13 << QStringList{"dialog: open Grapher files(*.grf) |*.grf", "shell:  open"} << "x";
    QTest::newRow("14 Help") << 14 << QStringList{"shell: " + kHelpFile + " open"} << "x";
    QTest::newRow("15 separator") << 15 << QStringList{} << "x";
    QTest::newRow("16 Display Previous Screen") << 16 << QStringList{} << "x";
}

void MenusToolbarTest::resultsButtonRunsItsCommand() {
    QFETCH(int, button);
    QFETCH(QStringList, want);
    QFETCH(QString, cell);

    ResultsWindow* results = window_->ensureResultsWindow();
    results->table().setRowCount(3);
    results->table().setText(2, 2, "x");
    results->table().setCurrentCell({2, 2});
    results->table().setSelectionCorner({2, 2});
    results->tableChanged();
    results->show();
    desk_->clipboard.content = QStringLiteral("P");
    forget(*desk_);
    QVERIFY(!window_->isVisible());

    results->pressToolbarButton(button);

    QCOMPARE(effects(*desk_, QString()), want);
    QCOMPARE(QString::fromStdString(results->table().text(2, 2)), cell);
    QCOMPARE(shownWindow(QStringLiteral("Form8")), button == 12);
    QCOMPARE(window_->isVisible(), button == 16);
    QVERIFY(results->isVisible());
    if (button == 5) QCOMPARE(results->table().selection(), (Region{0, 0, 2, 170}));
}

void MenusToolbarTest::aboutAndHelpMenuTitlesRunTheirCommands() {
    // "About" is a menu title that runs About at once.
    window_->menuAction(QStringLiteral("mnuAbout"))->trigger();
    QVERIFY(shownWindow(QStringLiteral("Form8")));

    // Opening the Help menu runs Help, and its item runs Help again.
    QMenu* help = window_->menuAction(QStringLiteral("mnuHelp"))->menu();
    QVERIFY(help);
    help->popup(QPoint(10, 10));
    window_->menuAction(QStringLiteral("mnuHelpContents"))->trigger();
    help->close();
    QCOMPARE(effects(*desk_, QString()),
             (QStringList{"shell: " + kHelpFile + " open", "shell: " + kHelpFile + " open"}));

    forget(*desk_);
    ResultsWindow* results = window_->ensureResultsWindow();
    QMenu* resultsHelp = results->menuAction(QStringLiteral("mnuHelp"))->menu();
    resultsHelp->popup(QPoint(10, 10));
    results->menuAction(QStringLiteral("mnuHelpContents"))->trigger();
    resultsHelp->close();
    QCOMPARE(effects(*desk_, QString()),
             (QStringList{"shell: " + kHelpFile + " open", "shell: " + kHelpFile + " open"}));

    qarv::test::topLevelNamed(QStringLiteral("Form8"))->close();
    results->menuAction(QStringLiteral("mnuAbaout"))->trigger();
    QVERIFY(shownWindow(QStringLiteral("Form8")));
}

// ---------------------------------------------------------------------------
// Exit, from either window, ends the program.

void MenusToolbarTest::exitEndsTheProgram_data() {
    QTest::addColumn<QString>("from");
    QTest::newRow("File menu, results window never opened") << "mnuExit";
    QTest::newRow("toolbar button 5, results window never opened") << "button 5";
    QTest::newRow("toolbar button 5 with the results window open") << "button 5 with results";
    QTest::newRow("results window's Edit menu") << "results mnuExit";
    QTest::newRow("results window's button 7") << "results button 7";
}

void MenusToolbarTest::exitEndsTheProgram() {
    QFETCH(QString, from);
    window_->show();
    QPointer<ResultsWindow> results;
    if (from.contains(QLatin1String("results"))) {
        results = window_->ensureResultsWindow();
        results->show();
    }
    QTimer::singleShot(0, this, [&] {
        if (from == QLatin1String("mnuExit")) {
            window_->menuAction(QStringLiteral("mnuExit"))->trigger();
        } else if (from.startsWith(QLatin1String("button 5"))) {
            window_->pressToolbarButton(5);
        } else if (from == QLatin1String("results mnuExit")) {
            results->menuAction(QStringLiteral("mnuExit"))->trigger();
        } else {
            results->pressToolbarButton(7);
        }
    });
    // Should the program not end, this ends the event loop with another code.
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!window_->isVisible());
    if (results) QVERIFY(!results->isVisible());
}

QTEST_MAIN(MenusToolbarTest)
#include "menus_toolbar_test.moc"
