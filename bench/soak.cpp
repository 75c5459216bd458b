// Soak: many consecutive calculation runs of a full 200-row sheet, through
// the desktop program's run (the data-entry window's Calculate with the
// results window open and every platform service faked) and through the
// command line's run, printing time per run and resident memory in batches.
// Time per run and memory per appended row must stay flat; a leak shows as
// memory growing faster than the appended rows. At the end it times
// scrolling the grown results table and Select All on it.
//
//   qarvelion-soak [--runs N] [--batch N] [--desktop-only | --cli-only]

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "calc/read_number.h"
#include "cli.h"
#include "results/results_layout.h"
#include "sheet/analysis_file.h"
#include "sheet/sheet_layout.h"
#include "ui/data_entry_window.h"
#include "ui/grid_view.h"
#include "ui/results_window.h"
#include "ui/text_grid_model.h"

namespace qarv {
namespace {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The example's analysed rows repeated down all 200 data rows.
bool fillFullSheet(AnalysisSheet& sheet) {
    if (!openAnalysisFile(sheet, QARVELION_EXAMPLE_FILE).ok) return false;
    int analysed = 0;
    while (analysed < kLastDataRow && readNumber(sheet.text(analysed + 1, kAl2O3Column)) > 0)
        ++analysed;
    if (analysed == 0) return false;
    for (int r = analysed + 1; r <= kLastDataRow; ++r) {
        const int from = (r - 1) % analysed + 1;
        for (int c = 1; c <= kLastDataColumn; ++c) sheet.setText(r, c, sheet.text(from, c));
    }
    return true;
}

class ScratchFolder {
  public:
    ScratchFolder() {
        std::random_device device;
        path_ = fs::temp_directory_path() / ("qarvelion-soak-" + std::to_string(device()));
        fs::create_directories(path_);
        previous_ = fs::current_path();
        fs::current_path(path_);
    }
    ~ScratchFolder() {
        fs::current_path(previous_);
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_, previous_;
};

// Platform services that answer nothing and show nothing.
class QuietDialogs : public ui::FileDialogs {
  public:
    QString openFile(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFile(QWidget*, const QString&, const QString&) override { return {}; }
};
class QuietClipboard : public ui::Clipboard {
  public:
    bool clear() override { return true; }
    bool setText(const QString& t) override {
        text_ = t;
        return true;
    }
    std::optional<QString> text() override { return text_; }

  private:
    QString text_;
};
class QuietShell : public ui::Shell {
  public:
    void open(const QString&, const QString&) override {}
};
class CountingMessages : public ui::MessageBoxes {
  public:
    int shown = 0;
    void show(QWidget*, const QString&, const QString&) override { ++shown; }
};

struct Batch {
    int firstRun, lastRun;
    double msPerRun;
    double residentMb;
    double mbPerThousandRows;  // growth since the previous batch, per 1000 appended rows
};

void printBatch(const char* path, const Batch& b) {
    std::printf("%-8s runs %5d-%-5d  %8.2f ms/run  RSS %8.1f MB  growth %6.2f MB per 1000 rows\n",
                path, b.firstRun, b.lastRun, b.msPerRun, b.residentMb, b.mbPerThousandRows);
    std::fflush(stdout);
}

int soakDesktop(int runs, int batch) {
    ScratchFolder folder;
    QuietDialogs dialogs;
    QuietClipboard clipboard;
    QuietShell shell;
    CountingMessages messages;
    ui::AppContext context{ui::Platform{&dialogs, &clipboard, &shell, &messages},
                           QString::fromStdString(folder.path().string()),
                           {},
                           {}};
    ui::DataEntryWindow window(context);
    window.show();
    window.newFile();
    if (!fillFullSheet(window.sheet())) {
        std::fprintf(stderr, "soak: cannot read %s\n", QARVELION_EXAMPLE_FILE);
        return 1;
    }
    // As after an Open File: the run calculates the sheet without a dialog.
    window.menuAction(QStringLiteral("mnuOpen"))->setChecked(true);

    double lastRss = residentMegabytes();
    int lastRows = 0;
    auto start = Clock::now();
    for (int run = 1; run <= runs; ++run) {
        window.calculate();
        QApplication::processEvents();
        if (run % batch == 0 || run == runs) {
            const int rows = window.resultsWindow()->table().rowCount() - kResultsHeadingRows;
            const double rss = residentMegabytes();
            const int firstRun = run - (run % batch == 0 ? batch : run % batch) + 1;
            printBatch("desktop", {firstRun, run, millisecondsSince(start) / (run - firstRun + 1),
                                   rss, (rss - lastRss) * 1000.0 / std::max(1, rows - lastRows)});
            lastRss = rss;
            lastRows = rows;
            start = Clock::now();
        }
    }
    ui::ResultsWindow* results = window.resultsWindow();
    const int rows = results->table().rowCount() - kResultsHeadingRows;
    std::printf("desktop  %d rows in the results table, %d messages shown\n", rows, messages.shown);

    // Responsiveness of the grown table: scrolling through it and Select All.
    results->show();
    QApplication::processEvents();
    ui::GridView* view = results->tableView();
    QScrollBar* bar = view->verticalScrollBar();
    QElapsedTimer timer;
    timer.start();
    constexpr int kScrolls = 50;
    for (int i = 0; i <= kScrolls; ++i) {
        bar->setValue(bar->maximum() * i / kScrolls);
        view->viewport()->repaint();
    }
    std::printf("desktop  scrolling: %.2f ms per step over %d steps, top to bottom\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6 / (kScrolls + 1), kScrolls + 1);
    timer.restart();
    results->selectAllCells();
    view->viewport()->repaint();
    QApplication::processEvents();
    std::printf("desktop  Select All and repaint: %.2f ms\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6);
    timer.restart();
    results->copy();
    std::printf("desktop  Copy of the whole table: %.2f ms (%lld characters)\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6,
                static_cast<long long>(clipboard.text()->size()));
    return 0;
}

int soakCli(int runs, int batch) {
    ScratchFolder folder;
    AnalysisSheet sheet;
    if (!fillFullSheet(sheet)) {
        std::fprintf(stderr, "soak: cannot read %s\n", QARVELION_EXAMPLE_FILE);
        return 1;
    }
    const fs::path input = folder.path() / "full.dor";
    if (!writeAnalysisFile(input, sheet)) return 1;
    const std::vector<std::string> args = {"calc", input.string(), "--out",
                                           (folder.path() / "out").string()};
    double lastRss = residentMegabytes();
    auto start = Clock::now();
    for (int run = 1; run <= runs; ++run) {
        std::ostringstream out, err;
        if (runCli(args, out, err, NumberFormatSettings{}) != kExitOk) {
            std::fprintf(stderr, "soak: run %d failed: %s", run, err.str().c_str());
            return 1;
        }
        if (run % batch == 0 || run == runs) {
            const double rss = residentMegabytes();
            const int firstRun = run - (run % batch == 0 ? batch : run % batch) + 1;
            const int appended = (run - firstRun + 1) * kLastDataRow;
            printBatch("cli", {firstRun, run, millisecondsSince(start) / (run - firstRun + 1), rss,
                               (rss - lastRss) * 1000.0 / appended});
            lastRss = rss;
            start = Clock::now();
        }
    }
    return 0;
}

}  // namespace
}  // namespace qarv

int main(int argc, char** argv) {
    int runs = 1000, batch = 100;
    bool desktop = true, cli = true;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--batch" && i + 1 < argc) {
            batch = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--desktop-only") {
            cli = false;
        } else if (a == "--cli-only") {
            desktop = false;
        } else {
            std::fprintf(
                stderr,
                "usage: qarvelion-soak [--runs N] [--batch N] [--desktop-only | --cli-only]\n");
            return 2;
        }
    }
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    int status = 0;
    if (cli) status |= qarv::soakCli(runs, batch);
    if (desktop) status |= qarv::soakDesktop(runs, batch);
    return status;
}
