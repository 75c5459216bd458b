#include "cli.h"

#include <algorithm>
#include <clocale>
#include <system_error>

#include "calc/batch_run.h"
#include "calc/calculation_run.h"
#include "common/atomic_file.h"
#include "common/staged_files.h"
#include "diagrams/diagram_data_files.h"
#include "results/results_workbook.h"
#include "sheet/analysis_file.h"
#include "spreadsheet/workbook_file.h"
#include "spreadsheet/workbook_import.h"

namespace qarv {
namespace fs = std::filesystem;
namespace {

constexpr const char* kUsage =
    R"USAGE(Usage: qarvelion-cli calc FILE [--out DIR] [--xlsx RESULTS.xlsx]
       qarvelion-cli batch INPUT... [--out DIR] [--results FILE.tsv|.csv|.xlsx]
       qarvelion-cli --help

FILE is an analysis file (.dor), or a workbook (.xlsx or .xls) laid out like
the analysis sheet (titles in row 1, row numbers in column A; the block
A1:BH201 of its active sheet is taken, as the desktop program loads it).

Recalculates every analysis of the file into a spinel formula
(3 cations and 4 oxygens with ferric iron by charge balance; S = 4 or Se = 4)
and names it after the IMA (2019) nomenclature of the spinel supergroup,
exactly as the desktop program's "Open File to Calculate" does.

Writes into DIR (default: the current folder; made if missing):
  results.tsv   the whole results table: the column numbers, the column
                titles, then one line per calculated row; 171 cells joined
                by tabs, UTF-8, LF line ends
  *.dat         the 57 diagram data files of the run (Windows-1252, CR LF)

With --xlsx, also writes the results table to that workbook, as the desktop
program sends it: every cell in place, numbers as numbers with the number
format that shows the table's text, everything else as text.

Prints one line per calculated row: the row number and the oxyspinel,
thiospinel and selenospinel species, separated by tabs (empty where the
row holds no such analysis).

Numbers are written with the digit-group and decimal characters of the
LC_NUMERIC locale ("," and "." where it defines no digit grouping, as in C).

Exit status: 0 on success; 2 when the file cannot be read or is no analysis
file or workbook, or the output cannot be written (nothing is replaced then).

batch calculates any number of analyses from any number of inputs (.csv,
.tsv, .xlsx, .xls or .dor), each row as calc calculates a row of the sheet,
in flat memory whatever the number of rows. Every row that holds anything is
calculated (no 200-row limit); rows are numbered 1, 2, 3 ... over all
inputs in the order given, the rows of each file continuing after those of
the one before. Two layouts, told apart by the header row:
  - the analysis sheet's own: a first title "Row No" or "Sample No
    [Oxyspinel]" (a saved or exported sheet); columns by position, all three
    blocks side by side. A .dor file is always read this way.
  - columns titled by oxide or element in any order ("SiO2", "SIO2(WT%)",
    "FeO", "FEOT"/"FeO*"/"FeO(t)" as total iron, "Cu", "S", "Se" ...) and a
    sample-name column ("Sample", "Sample No", "Name", "Comment", "Label").
    Each row is one analysis: oxyspinel when any oxide is non-zero, else
    thiospinel when S is non-zero, else selenospinel when Se is non-zero; a
    column titled "Block" ("Oxyspinel", "Thiospinel", "Selenospinel") says
    otherwise. Without a sample-name column a row is named by its number.
Columns that are not used are listed once; a cell that is no number is
reported with its row and column and read as the sheet reads it.

Writes into DIR the 57 diagram data files, and the results table (two
heading rows, then one row of 171 cells per analysis) to --results (default
DIR/results.tsv): .tsv as results.tsv, .csv (RFC 4180, UTF-8) or .xlsx.
)USAGE";

// The command-line run: the sheet was loaded as Open File loads it, so the
// run calculates it as it stands.
class CliHost : public RunHost {
  public:
    CliHost(std::string source, fs::path folder, NumberFormatSettings settings)
        : source_(std::move(source)), folder_(std::move(folder)), settings_(std::move(settings)) {}

    void setScreenTitle(std::string_view) override {}
    ResultsTable& resultsTable() override { return table_; }
    void setRunConstants(std::string_view, std::string_view, std::string_view) override {}
    bool analysisFileOpened() const override { return true; }
    void showOpenDialog(std::string_view) override {}
    std::string fileDialogName() const override { return source_; }
    void setFilePanel(std::string_view) override {}
    void showResultsWindow() override {}
    void showSourceFile(std::string_view) override {}
    void reportPendingError() override {}
    fs::path diagramFolder() const override { return folder_; }
    NumberFormatSettings numberSettings() const override { return settings_; }

    const ResultsTable& table() const { return table_; }

  private:
    std::string source_;
    fs::path folder_;
    NumberFormatSettings settings_;
    ResultsTable table_;
};

int fail(std::ostream& err, const std::string& message) {
    err << "qarvelion-cli: " << message << "\n";
    return kExitFailure;
}

// Loads the input as Open File loads an analysis file, or, for a workbook,
// as the Load command does: a new sheet, then the block A1:BH201 of the
// workbook's active sheet.
bool loadInput(AnalysisSheet& sheet, const std::string& input, std::string& error) {
    if (workbookFileKind(input) != WorkbookFileKind::Unknown) {
        const WorkbookReadResult book = readWorkbookFile(input);
        if (!book.ok() || book.book.sheets.empty()) {
            error = book.message.empty() ? "not a readable workbook" : book.message;
            return false;
        }
        newSheet(sheet);
        importWorksheetBlock(
            book.book.sheets[std::min(book.book.activeSheet, book.book.sheets.size() - 1)], sheet);
        return true;
    }
    const AnalysisFileText file = openAnalysisFile(sheet, input);
    if (!file.ok) error = file.error;
    return file.ok;
}

int calc(const std::string& input, const fs::path& outDir, const std::string& xlsx,
         std::ostream& out, std::ostream& err, const NumberFormatSettings& settings) {
    AnalysisSheet sheet;
    std::string error;
    if (!loadInput(sheet, input, error)) return fail(err, "cannot read '" + input + "': " + error);

    // A missing output folder is made; anything else in its place is an error.
    std::error_code ec;
    if (!fs::exists(outDir, ec)) fs::create_directories(outDir, ec);
    if (!fs::is_directory(outDir)) {
        return fail(err, "cannot write to '" + outDir.string() +
                             "': " + (ec ? ec.message() : std::string("not a folder")));
    }
    StagingFolder staging;
    if (!staging.create(outDir, error)) {
        return fail(err, "cannot write to '" + outDir.string() + "': " + error);
    }

    const fs::path absoluteInput = fs::absolute(input, ec);
    CliHost host(ec ? input : absoluteInput.string(), staging.path(), settings);
    const RunReport report = runCalculation(sheet, host);
    if (!report.fileErrors.empty()) {
        return fail(err, "cannot write to '" + outDir.string() + "': " + report.fileErrors.front());
    }
    AtomicFile results(staging.path() / kResultsFileName);
    results.write(host.table().toTsv());
    if (!results.commit()) {
        return fail(
            err, "cannot write '" + (outDir / kResultsFileName).string() + "': " + results.error());
    }

    // The workbook may live in another folder: it is made complete under a
    // temporary name beside it before any output is put in place, so a
    // workbook that cannot be written leaves every old file as it was.
    const ResultsTable& table = host.table();
    struct TemporaryWorkbook {
        fs::path path;
        ~TemporaryWorkbook() {
            std::error_code ignored;
            if (!path.empty()) fs::remove(path, ignored);
        }
    } workbook;
    if (!xlsx.empty()) {
        std::string message;
        if (const std::error_code made = createTemporaryBeside(xlsx, workbook.path)) {
            return fail(err, "cannot write '" + xlsx + "': " + made.message());
        }
        if (writeXlsxFile(resultsWorkbook(table, settings), workbook.path, &message) != 0) {
            return fail(err, "cannot write '" + xlsx + "': " + message);
        }
    }

    // Every file is complete: move them into place, all or none.
    std::vector<std::string> names;
    for (const DiagramDataFile& f : diagramDataFiles()) names.emplace_back(f.fileName);
    names.emplace_back(kResultsFileName);
    if (!replaceAll(staging.path(), outDir, names, error)) {
        return fail(err, "cannot write " + error);
    }
    if (!xlsx.empty()) {
        if (const std::error_code placed = replaceWithTemporary(workbook.path, xlsx)) {
            return fail(err, "cannot write '" + xlsx + "': " + placed.message());
        }
        workbook.path.clear();
    }
    for (int r = 0; r < report.rowsAppended; ++r) {
        const int tableRow = kResultsHeadingRows + r;
        out << (r + 1) << '\t' << table.text(tableRow, rc::kOxySpecies) << '\t'
            << table.text(tableRow, rc::kThioSpecies) << '\t'
            << table.text(tableRow, rc::kSelenoSpecies) << '\n';
    }
    err << "qarvelion-cli: " << report.rowsAppended << " rows calculated; results in "
        << (outDir / kResultsFileName).string() << ", " << names.size() - 1
        << " diagram data files in " << outDir.string() << "\n";
    return kExitOk;
}

int batch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
          const NumberFormatSettings& settings) {
    BatchOptions options;
    options.settings = settings;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--out") {
            if (i + 1 >= args.size()) return fail(err, "--out needs a folder");
            options.outDir = args[++i];
        } else if (args[i] == "--results") {
            if (i + 1 >= args.size()) return fail(err, "--results needs a file name");
            options.resultsFile = args[++i];
        } else if (args[i] == "--help" || args[i] == "-h") {
            out << kUsage;
            return kExitOk;
        } else if (!args[i].empty() && args[i][0] == '-' && args[i] != "-") {
            return fail(err, "unknown option '" + args[i] + "' (see qarvelion-cli --help)");
        } else {
            options.inputs.emplace_back(args[i]);
        }
    }
    if (options.inputs.empty()) {
        return fail(err, "batch needs at least one input file (see qarvelion-cli --help)");
    }
    const BatchReport report = runBatch(options, err);
    if (!report.ok) return fail(err, report.error + " (nothing was replaced)");
    return kExitOk;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const NumberFormatSettings& settings) {
    if (args.empty()) {
        err << kUsage;
        return kExitFailure;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kUsage;
        return kExitOk;
    }
    if (args[0] == "batch") return batch(args, out, err, settings);
    if (args[0] != "calc") {
        return fail(err, "unknown command '" + args[0] + "' (see qarvelion-cli --help)");
    }
    std::string input;
    std::string xlsx;
    fs::path outDir = ".";
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--out") {
            if (i + 1 >= args.size()) return fail(err, "--out needs a folder");
            outDir = args[++i];
        } else if (args[i] == "--xlsx") {
            if (i + 1 >= args.size()) return fail(err, "--xlsx needs a file name");
            xlsx = args[++i];
        } else if (args[i] == "--help" || args[i] == "-h") {
            out << kUsage;
            return kExitOk;
        } else if (!args[i].empty() && args[i][0] == '-' && args[i] != "-") {
            return fail(err, "unknown option '" + args[i] + "' (see qarvelion-cli --help)");
        } else if (input.empty()) {
            input = args[i];
        } else {
            return fail(err, "calc takes one analysis file (see qarvelion-cli --help)");
        }
    }
    if (input.empty()) return fail(err, "calc needs an analysis file (see qarvelion-cli --help)");
    return calc(input, outDir, xlsx, out, err, settings);
}

NumberFormatSettings numberSettingsFromEnvironment() {
    NumberFormatSettings settings;
    if (std::setlocale(LC_NUMERIC, "") == nullptr) return settings;
    const std::lconv* conv = std::localeconv();
    if (conv != nullptr && conv->thousands_sep != nullptr && conv->thousands_sep[0] != '\0') {
        settings.groupSeparator = conv->thousands_sep;
        if (conv->decimal_point != nullptr && conv->decimal_point[0] != '\0') {
            settings.decimalSeparator = conv->decimal_point;
        }
    }
    std::setlocale(LC_NUMERIC, "C");
    return settings;
}

}  // namespace qarv
