// The grapher's window: it draws the template's points, names a point in
// its tooltip, reads the next run's data on Reload, exports PNG, SVG and
// PDF through the file dialog, and says inside the window what is missing.

#include <QHelpEvent>
#include <QImage>
#include <QToolTip>
#include <QtTest>

#include "diagrams/diagram_catalogue.h"
#include "diagrams/diagram_template.h"
#include "grapher_window.h"
#include "ui_fakes.h"

using namespace qarv;
using qarv::test::FakeDesktop;

namespace {

constexpr const char* kHeader = "SampleNo      Mg/(Mg+Fe2)   Cr/(Cr+Al)\r\n";

void writeTemplateFor(const std::filesystem::path& folder, std::string_view templateFile) {
    for (const DiagramEntry& e : diagramCatalogue()) {
        if (e.templateFile == templateFile)
            test::writeFile(folder / e.templateFile, writeTemplate(templateForEntry(e)));
    }
}

bool sceneSays(const PlotScene& scene, const std::string& part) {
    for (const SceneText& t : scene.texts)
        if (t.role == TextRole::Message && t.text.find(part) != std::string::npos) return true;
    return false;
}

}  // namespace

class GrapherWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void drawsPointsNamesThemOnHoverAndReloads() {
        test::TempDir work;
        writeTemplateFor(work.path(), "MgFeCrAl100_1.grf");
        test::writeFile(work.path() / "MgFeCrAl100.dat",
                        std::string(kHeader) + "CHR 01 core   42,5          77,6\r\n");
        FakeDesktop desk;
        grapher::GrapherWindow window(work.path() / "MgFeCrAl100_1.grf", work.path(),
                                      desk.context.platform);
        window.resize(900, 760);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.windowTitle().startsWith(QStringLiteral("100Mg/(Mg+Fe2+)")));

        const PlotScene& scene = window.plot()->scene();
        QCOMPARE(scene.markers.size(), std::size_t{1});
        const ScenePoint at = scene.markers[0].at;
        QCOMPARE(QString::fromStdString(window.plot()->markerAt({at.x + 3, at.y - 2})->name),
                 QStringLiteral("CHR 01 core"));
        QVERIFY(window.plot()->markerAt({at.x + 30, at.y}) == nullptr);

        // Hovering over the point shows its name.
        const QPoint local(static_cast<int>(at.x), static_cast<int>(at.y));
        QHelpEvent help(QEvent::ToolTip, local, window.plot()->mapToGlobal(local));
        QApplication::sendEvent(window.plot(), &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QVERIFY(QToolTip::text().startsWith(QStringLiteral("CHR 01 core\n")));

        // The next run rewrites the file; Reload shows its lines.
        test::writeFile(work.path() / "MgFeCrAl100.dat",
                        std::string(kHeader) + "A  10  20\r\nB  30  40\r\nC  50  60\r\n");
        window.reloadAction()->trigger();
        QCOMPARE(window.plot()->scene().markers.size(), std::size_t{3});
        QCOMPARE(window.reloadAction()->shortcut(), QKeySequence(Qt::Key_F5));

        // Sample names on request.
        window.sampleNamesAction()->setChecked(true);
        int names = 0;
        for (const SceneText& t : window.plot()->scene().texts)
            names += t.role == TextRole::SampleName;
        QCOMPARE(names, 3);
    }

    void exportsThroughTheFileDialog() {
        test::TempDir work;
        writeTemplateFor(work.path(), "Fe3CrAl_3.grf");
        test::writeFile(work.path() / "Fe3CrAl.dat",
                        "SampleNo      Fe3+          Cr            Al\r\n"
                        "x             0.1           1.4           0.4\r\n"
                        "y             2.0           0.0           0.0\r\n");
        FakeDesktop desk;
        grapher::GrapherWindow window(work.path() / "Fe3CrAl_3.grf", work.path(),
                                      desk.context.platform);
        const QString base = QString::fromStdString(work.path().string()) + QStringLiteral("/out");
        desk.dialogs.answers = {base + QStringLiteral(".svg"), base, base + QStringLiteral(".pdf"),
                                QStringLiteral("/nonexistent-folder/x.png")};
        window.exportAs(grapher::ExportFormat::Svg);
        window.exportAs(grapher::ExportFormat::Png);  // the extension is added
        window.exportAs(grapher::ExportFormat::Pdf);
        QCOMPARE(desk.dialogs.calls.size(), std::size_t{3});
        QCOMPARE(desk.dialogs.calls[0].proposed, QStringLiteral("Fe3CrAl_3.svg"));
        QVERIFY(desk.dialogs.calls[1].filter.contains(QStringLiteral("*.png")));

        const std::string svg = test::readFile(work.path() / "out.svg");
        int markers = 0;
        for (std::size_t p = svg.find("class=\"marker\""); p != std::string::npos;
             p = svg.find("class=\"marker\"", p + 1))
            ++markers;
        QCOMPARE(markers, 2);
        const QImage png(base + QStringLiteral(".png"));
        QVERIFY(!png.isNull());
        QVERIFY(png.width() > 1000);
        QVERIFY(test::readFile(work.path() / "out.pdf").rfind("%PDF", 0) == 0);
        QVERIFY(desk.messages.shown.empty());

        // A file that cannot be written: a message, nothing else.
        window.exportAs(grapher::ExportFormat::Png);
        QCOMPARE(desk.messages.shown.size(), std::size_t{1});
        QVERIFY(desk.messages.shown[0].text.contains(QStringLiteral("x.png")));

        // A cancelled dialog writes nothing.
        window.exportAs(grapher::ExportFormat::Svg);
        QCOMPARE(desk.messages.shown.size(), std::size_t{1});
    }

    void saysInsideTheWindowWhatIsMissing() {
        test::TempDir work;
        FakeDesktop desk;
        grapher::GrapherWindow noTemplate(work.path() / "Nothing.grf", work.path(),
                                          desk.context.platform);
        noTemplate.resize(800, 600);
        QVERIFY(sceneSays(noTemplate.plot()->scene(), "'Nothing.grf' not found"));

        writeTemplateFor(work.path(), "MgFeCrAl100_1.grf");
        grapher::GrapherWindow noData(work.path() / "MgFeCrAl100_1.grf", work.path(),
                                      desk.context.platform);
        noData.resize(800, 600);
        QVERIFY(sceneSays(noData.plot()->scene(), "is neither in the working folder"));

        test::writeFile(work.path() / "MgFeCrAl100.dat", kHeader);
        noData.reload();
        QVERIFY(sceneSays(noData.plot()->scene(), "No samples in MgFeCrAl100.dat"));
        QVERIFY(noData.plot()->scene().markers.empty());
        QVERIFY(desk.messages.shown.empty());
    }
};

QTEST_MAIN(GrapherWindowTest)
#include "grapher_window_test.moc"
