// qarvelion-grapher: draws a diagram template with the data of the last
// calculation run, in a window or straight into a picture file.

#include <QApplication>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "grapher_window.h"
#include "scene_painter.h"

namespace {

constexpr const char* kUsage =
    "Usage: qarvelion-grapher [--names] TEMPLATE.grf\n"
    "       qarvelion-grapher [--names] --export OUT.png|OUT.svg|OUT.pdf TEMPLATE.grf\n"
    "\n"
    "Draws a Qarvelion diagram template with the points of its data file (the\n"
    "diagram data files of the last calculation run). The data file is looked\n"
    "for in the working folder first, then beside the template.\n"
    "\n"
    "  --export FILE  write the diagram to a PNG, SVG or PDF file and quit,\n"
    "                 without a window (no display needed)\n"
    "  --names        write each sample's name beside its point\n"
    "  --screenshot FILE  open the window off screen, save a picture of it as\n"
    "                 PNG and quit\n"
    "\n"
    "Exit status: 0 on success; 2 when the arguments are wrong, or with --export\n"
    "when the template or its data file cannot be read or the file cannot be\n"
    "written.\n";

QtMessageHandler previousHandler = nullptr;

// Off screen, Qt's notes that it made up a runtime folder and that the
// off-screen platform cannot do what a window manager does are noise.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths:")) ||
        message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

int usageError(const std::string& message) {
    std::fprintf(stderr, "qarvelion-grapher: %s\n%s", message.c_str(), kUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::string exportPath, screenshotPath, templateArg;
    bool names = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--export" || arg == "--screenshot") {
            if (i + 1 >= argc) return usageError(arg + " needs a file name");
            (arg == "--export" ? exportPath : screenshotPath) = argv[++i];
        } else if (arg == "--names") {
            names = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return usageError("unknown option '" + arg + "'");
        } else if (templateArg.empty()) {
            templateArg = arg;
        } else {
            return usageError("one template at a time");
        }
    }
    if (templateArg.empty()) return usageError("no template given");
    if (!exportPath.empty() && qarv::grapher::exportFormatOf(QString::fromStdString(exportPath)) ==
                                   qarv::grapher::ExportFormat::Unknown)
        return usageError("the file of --export must end in .png, .svg or .pdf");

    // A picture needs no display: draw off screen.
    const bool headless = !exportPath.empty() || !screenshotPath.empty();
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        previousHandler = qInstallMessageHandler(quietHandler);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qarvelion Grapher"));

    std::error_code ec;
    const fs::path working = fs::current_path(ec);
    const fs::path templatePath = fs::absolute(fs::path(templateArg), ec);

    if (!exportPath.empty()) {
        const qarv::DiagramDocument doc = qarv::loadDiagramDocument(templatePath, working);
        if (!doc.templateOk || !doc.dataOk) {
            std::string message = doc.message;
            for (char& c : message)
                if (c == '\n') c = ' ';
            std::fprintf(stderr, "qarvelion-grapher: %s\n", message.c_str());
            return 2;
        }
        for (const std::string& remark : doc.remarks)
            std::fprintf(stderr, "qarvelion-grapher: %s\n", remark.c_str());
        const qarv::PlotScene scene =
            qarv::documentScene(doc, qarv::grapher::exportOptions(&doc.diagram, names));
        QString error;
        if (!qarv::grapher::exportScene(scene, QString::fromStdString(exportPath), &error)) {
            std::fprintf(stderr, "qarvelion-grapher: %s\n", error.toLocal8Bit().constData());
            return 2;
        }
        std::fprintf(stderr, "qarvelion-grapher: %s: %zu samples of %s\n", exportPath.c_str(),
                     doc.data.points.size(), doc.diagram.dataFile.c_str());
        return 0;
    }

    qarv::grapher::GrapherWindow window(templatePath, working, qarv::ui::systemPlatform());
    if (names) window.sampleNamesAction()->setChecked(true);
    if (!screenshotPath.empty()) {
        // A picture of the window as it opens, for the documentation.
        window.resize(960, 800);
        window.show();
        QApplication::processEvents();
        if (!window.grab().save(QString::fromStdString(screenshotPath))) {
            std::fprintf(stderr, "qarvelion-grapher: cannot write '%s'\n", screenshotPath.c_str());
            return 2;
        }
        return 0;
    }
    window.show();
    return app.exec();
}
