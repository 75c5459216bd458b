// Takes a picture of each window in a typical session: the start-up screen,
// the data-entry screen with the bundled example, the results window after
// a calculation, the About and citation windows. Used by
// scripts/screenshots.sh; the pictures show what a user sees.

#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "ui/about_window.h"
#include "ui/data_entry_window.h"
#include "ui/results_window.h"

namespace {

using namespace qarv::ui;

// Dialogs answer with a fixed file; nothing else is shown or opened.
class ScriptedDialogs : public FileDialogs {
  public:
    QString file;
    QString openFile(QWidget*, const QString&, const QString&) override { return file; }
    QString saveFile(QWidget*, const QString&, const QString&) override { return {}; }
};
class SilentShell : public Shell {
  public:
    void open(const QString&, const QString&) override {}
};
class SilentMessages : public MessageBoxes {
  public:
    void show(QWidget*, const QString&, const QString&) override {}
};

void save(QWidget* window, const QString& path) {
    window->show();
    window->raise();
    QApplication::processEvents();
    QApplication::processEvents();
    QPixmap picture = window->grab();
    if (!picture.save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::printf("%s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: qarvelion-screenshots EXAMPLE.dor OUTDIR\n");
        return 2;
    }
    const QString example = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    ScriptedDialogs dialogs;
    SilentShell shell;
    SilentMessages messages;
    Platform platform = systemPlatform();
    platform.dialogs = &dialogs;
    platform.shell = &shell;
    platform.messages = &messages;
    AppContext context{platform, QApplication::applicationDirPath(), {}, {}};

    DataEntryWindow window(context);
    window.resize(1280, 760);
    save(&window, out + QStringLiteral("/start-up-screen.png"));

    dialogs.file = example;
    window.openFile();
    save(&window, out + QStringLiteral("/data-entry-screen.png"));

    window.calculate();
    ResultsWindow* results = window.resultsWindow();
    results->resize(1280, 640);
    save(results, out + QStringLiteral("/results-window.png"));

    AboutWindow about(context);
    save(&about, out + QStringLiteral("/about-window.png"));
    about.showCitation();
    save(about.citationWindow(), out + QStringLiteral("/citation-window.png"));
    return 0;
}
