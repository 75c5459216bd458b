// The results window's Graph menu and its generic template command: every
// item found in the window's menus sends exactly one shell request for its
// template, the sub-menus are laid out as the catalogue groups them, and the
// generic command hands on whatever its dialog returns.

#include <QMenuBar>
#include <QtTest>
#include <set>

#include "diagrams/diagram_catalogue.h"
#include "ui/data_entry_window.h"
#include "ui/results_window.h"
#include "ui_fakes.h"

using namespace qarv;
using namespace qarv::ui;
using qarv::test::FakeDesktop;
using qarv::test::InTempFolder;

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

// Every item of the Graph menu's sub-menus, in menu order.
QList<QAction*> graphItems(ResultsWindow& results) {
    QList<QAction*> items;
    QMenu* graph = results.menuAction(QStringLiteral("mnuGraph"))->menu();
    for (QAction* sub : graph->actions()) {
        if (sub->menu() == nullptr) continue;
        for (QAction* action : sub->menu()->actions()) {
            if (!action->isSeparator()) items << action;
        }
    }
    return items;
}

}  // namespace

class DiagramLauncherTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<InTempFolder>();
        desk_ = std::make_unique<FakeDesktop>();
        window_ = std::make_unique<DataEntryWindow>(desk_->context);
        // No calculation has run: the window comes from Display Next Screen.
        window_->pressToolbarButton(22);
        results_ = window_->resultsWindow();
        QVERIFY(results_);
    }
    void cleanup() {
        window_.reset();
        desk_.reset();
        folder_.reset();
    }

    void everyGraphItemOpensItsTemplate();
    void subMenusFollowTheCatalogueGroups();
    void itemsFoundByTheirCaption_data();
    void itemsFoundByTheirCaption();
    void genericCommandSendsWhatTheDialogReturns_data();
    void genericCommandSendsWhatTheDialogReturns();

private:
    std::unique_ptr<InTempFolder> folder_;
    std::unique_ptr<FakeDesktop> desk_;
    std::unique_ptr<DataEntryWindow> window_;
    ResultsWindow* results_ = nullptr;
};

void DiagramLauncherTest::everyGraphItemOpensItsTemplate() {
    const QList<QAction*> items = graphItems(*results_);
    QCOMPARE(items.size(), 76);
    std::set<QString> templates;
    for (QAction* action : items) {
        const DiagramEntry* entry = findDiagramEntry(action->objectName().toStdString());
        QVERIFY2(entry, qPrintable(action->objectName()));
        QCOMPARE(action->text(), qs(entry->caption));
        desk_->shell.requests.clear();
        desk_->context.currentFileName = "before";

        action->trigger();

        QCOMPARE(desk_->shell.requests.size(), std::size_t{1});
        QCOMPARE(desk_->shell.requests[0].target, qs(entry->templateFile));
        QCOMPARE(desk_->shell.requests[0].verb, QStringLiteral("open"));
        QCOMPARE(QString::fromStdString(desk_->context.currentFileName), qs(entry->templateFile));
        templates.insert(desk_->shell.requests[0].target);
    }
    QCOMPARE(templates.size(), std::size_t{76});  // no two items open the same template
    QVERIFY(desk_->messages.shown.empty());
    QVERIFY(desk_->dialogs.calls.empty());
}

void DiagramLauncherTest::subMenusFollowTheCatalogueGroups() {
    QMenu* graph = results_->menuAction(QStringLiteral("mnuGraph"))->menu();
    QStringList got;
    qarv::test::describeMenu(graph, got);
    QStringList want;
    for (int s = 0; s < kDiagramSubmenuCount; ++s) {
        const DiagramSubmenu& sub = diagramSubmenus()[s];
        want << qs(sub.item) + QLatin1Char('|') + qs(sub.caption) + QStringLiteral(" >");
        for (const DiagramMenuLine& line : diagramSubmenuLines(s)) {
            want << (line.isSeparator() ? QStringLiteral("  -")
                                        : QStringLiteral("  ") + qs(line.entry->item) + QLatin1Char('|') +
                                              qs(line.entry->caption) + QLatin1Char('|'));
        }
    }
    const QString differences = qarv::test::lineDifferences(got, want);
    QVERIFY2(differences.isEmpty(), qPrintable(differences));
}

void DiagramLauncherTest::itemsFoundByTheirCaption_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("templateFile");

    QTest::newRow("the chromite diagram of the typical session")
        << "[9]  100Mg/(Mg+Fe2+) - 100Cr/(Cr+Al) [Irvine and Findlay (1972)]" << "mnuMgMgFeCrCrAl8"
        << "MgFeCrAl100_1.grf";
    QTest::newRow("item 8 whose name ends in 8a")
        << "[8]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Lee (1999; see references therein for discrimination fields)]"
        << "mnuMgMgFeCrCrAl8a" << "MgMgFeCrCrAl_8.grf";
    QTest::newRow("Ghn - Spl - Hc (1)") << "[4]  Ghn - Spl - Hc Diagram   [Heimann and Spry (2005)]   (1)"
                                        << "mnuZnMgFe2" << "ZnMgFe2.grf";
    QTest::newRow("Ghn - Spl - Hc (2)") << "[5]  Ghn - Spl - Hc Diagram   [Heimann and Spry (2005)]   (2)"
                                        << "mnuZnMgFe3" << "ZnMgFe3.grf";
    QTest::newRow("the first Fe3+ - Cr - Al item") << "[1]  Fe3+ - Cr - Al Diagram [Stevens (1944)]"
                                                   << "mnFe3CrAl1" << "Fe3CrAl_3.grf";
    QTest::newRow("a caption with trailing blanks") << "[1]  Ni - Fe - Co Diagram  " << "mnuNiFe2Cots1"
                                                    << "NiFe2Cots1.grf";
    QTest::newRow("a caption with a non-ASCII letter") << "[1]  Cu - Co - Ni Diagram [F\u00f6rster et al. (2019)]"
                                                       << "mnuCuCoNiss" << "CuCoNiss.grf";
    QTest::newRow("Al2O3 - TiO2 [3]") << "[3] Al2O3 - TiO2 [Kamenetsky et al. (2001)]" << "mnuAl2O3TiO23"
                                      << "Al2O3TiO2_3.grf";
    QTest::newRow("a caption with runs of blanks")
        << "[3]  Mn - Mg - Co Diagram      [B3+ = Cr]    (Manganochromite, Magnesiochromite, Cochromite)"
        << "mnuMnMgCo" << "MnMgCo.grf";
    QTest::newRow("the last Fe3+ - Cr - Al item") << "[6]  Fe3+ - Cr - Al [Harstad et al. (2020)]" << "mnuFe3CrAl6"
                                                  << "Fe3CrAl_6.grf";
}

void DiagramLauncherTest::itemsFoundByTheirCaption() {
    QFETCH(QString, caption);
    QFETCH(QString, item);
    QFETCH(QString, templateFile);

    QList<QAction*> found;
    for (QAction* action : graphItems(*results_)) {
        if (action->text() == caption) found << action;
    }
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0]->objectName(), item);
    found[0]->trigger();
    QCOMPARE(desk_->shell.requests.size(), std::size_t{1});
    QCOMPARE(desk_->shell.requests[0].target, templateFile);
    QCOMPARE(desk_->shell.requests[0].verb, QStringLiteral("open"));
    QCOMPARE(QString::fromStdString(desk_->context.currentFileName), templateFile);
}

void DiagramLauncherTest::genericCommandSendsWhatTheDialogReturns_data() {
    QTest::addColumn<QString>("answer");
    QTest::newRow("a chosen template") << "/home/user/plots/My plot.grf";
    QTest::newRow("a file of another kind") << "/home/user/notes.txt";
    QTest::newRow("a cancelled dialog") << "";
}

void DiagramLauncherTest::genericCommandSendsWhatTheDialogReturns() {
    QFETCH(QString, answer);
    desk_->dialogs.answers.push_back(answer);
    desk_->context.currentFileName = "before";

    results_->pressToolbarButton(13);

    QCOMPARE(desk_->dialogs.calls.size(), std::size_t{1});
    QVERIFY(!desk_->dialogs.calls[0].save);
    QCOMPARE(desk_->dialogs.calls[0].filter, QStringLiteral("Grapher files(*.grf) |*.grf"));
    QCOMPARE(desk_->shell.requests.size(), std::size_t{1});
    QCOMPARE(desk_->shell.requests[0].target, answer);
    QCOMPARE(desk_->shell.requests[0].verb, QStringLiteral("open"));
    QCOMPARE(QString::fromStdString(desk_->context.currentFileName), answer);
    QVERIFY(desk_->messages.shown.empty());
}

QTEST_MAIN(DiagramLauncherTest)
#include "diagram_launcher_test.moc"
