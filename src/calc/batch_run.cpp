#include "calc/batch_run.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <system_error>

#include "calc/batch_input.h"
#include "calc/read_number.h"
#include "calc/row_calculation.h"
#include "common/staged_files.h"
#include "diagrams/diagram_data_files.h"
#include "results/results_file.h"
#include "results/results_layout.h"
#include "results/sample_row.h"
#include "sheet/delimited_text.h"
#include "spreadsheet/workbook_file.h"

namespace qarv {
namespace fs = std::filesystem;
namespace {

// Longest cell text quoted in a note.
constexpr std::size_t kQuotedTextBytes = 40;

std::string lowerExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return ext;
}

// A source of records: the rows of one input, the header first.
class RecordSource : public BatchRecord {
  public:
    virtual bool next() = 0;
    virtual std::size_t line() const = 0;  // where the current record starts
    virtual std::string error() const = 0;
};

class DelimitedSource : public RecordSource {
  public:
    bool open(const fs::path& path, DelimitedFormat format) { return reader_.open(path, format); }
    bool next() override { return reader_.next(); }
    std::size_t line() const override { return reader_.line(); }
    std::string error() const override { return reader_.error(); }
    std::size_t size() const override { return reader_.fieldCount(); }
    std::string_view raw(std::size_t i) const override { return reader_.field(i); }
    std::string text(std::size_t i) const override { return reader_.fieldText(i); }
    char separator() const { return reader_.separator(); }

  private:
    DelimitedReader reader_;
};

// The active sheet of a workbook, row by row (workbooks are read whole, within
// the workbook readers' bounds).
class WorksheetSource : public RecordSource {
  public:
    explicit WorksheetSource(Worksheet sheet)
        : sheet_(std::move(sheet)), at_(sheet_.cells.begin()) {}
    bool next() override {
        cells_.clear();
        if (at_ == sheet_.cells.end()) return false;
        row_ = at_->first.first;
        for (; at_ != sheet_.cells.end() && at_->first.first == row_; ++at_) {
            const int column = at_->first.second;
            if (column < 1 || column > kMaxSheetColumns) continue;
            if (static_cast<std::size_t>(column) > cells_.size()) cells_.resize(column);
            cells_[column - 1] = cellText(sheet_, row_, column);
        }
        return true;
    }
    std::size_t line() const override { return static_cast<std::size_t>(row_); }
    std::string error() const override { return {}; }
    std::size_t size() const override { return cells_.size(); }
    std::string_view raw(std::size_t i) const override {
        return i < cells_.size() ? std::string_view(cells_[i]) : std::string_view{};
    }
    std::string text(std::size_t i) const override { return std::string(raw(i)); }

  private:
    Worksheet sheet_;
    std::map<std::pair<int, int>, Cell>::const_iterator at_;
    int row_ = 0;
    std::vector<std::string> cells_;
};

std::string layoutName(const BatchLayout& layout) {
    switch (layout.kind) {
        case BatchLayoutKind::SheetWithRowNumbers:
            return "the analysis sheet's layout (row numbers and 60 data columns by position)";
        case BatchLayoutKind::SheetColumns:
            return "the analysis sheet's 60 data columns by position";
        case BatchLayoutKind::AnalysisFileRows:
            return "an analysis file (the sheet's 60 data columns by position)";
        case BatchLayoutKind::HeaderNamed:
            return "columns named by oxide or element, one analysis per row";
    }
    return "";
}

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) {
        if (!out.empty()) out += ", ";
        out += item;
    }
    return out;
}

std::string shortText(std::string text) {
    if (text.size() > kQuotedTextBytes) {
        std::size_t end = kQuotedTextBytes;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
        text.erase(end);
        text += "...";
    }
    return "\"" + text + "\"";
}

class Batch {
  public:
    Batch(const BatchOptions& options, std::ostream& log) : o_(options), log_(log) {}

    BatchReport run();

  private:
    bool fail(std::string message) {
        if (report_.error.empty()) report_.error = std::move(message);
        return false;
    }
    std::ostream& line() { return log_ << o_.logPrefix; }
    bool input(const fs::path& path);
    bool rows(const fs::path& path, RecordSource& source, const BatchLayout& layout);
    std::string columnTitle(const BatchLayout& layout, std::size_t column) const;
    void note(const fs::path& path, const RecordSource& source, const BatchLayout& layout,
              const CellNote& note, std::uint64_t row);

    const BatchOptions& o_;
    std::ostream& log_;
    BatchReport report_;
    DiagramFileSet diagrams_;
    ResultsFileWriter results_;
    std::vector<CellNote> notes_;
    std::size_t notesShown_ = 0;
    std::uint64_t notesHidden_ = 0;
    RowInput in_;
};

std::string Batch::columnTitle(const BatchLayout& layout, std::size_t column) const {
    std::string title;
    if (layout.kind == BatchLayoutKind::AnalysisFileRows) {
        title = "column " + std::to_string(column + 1) + " (" +
                std::string(sheetColumns()[column + 1].header) + ")";
    } else {
        title = "column " + std::to_string(column + 1);
        if (column < layout.titles.size()) title += " \"" + layout.titles[column] + "\"";
    }
    return title;
}

void Batch::note(const fs::path& path, const RecordSource& source, const BatchLayout& layout,
                 const CellNote& n, std::uint64_t row) {
    ++report_.notes;
    if (notesShown_ >= o_.notesPerInput) {
        ++notesHidden_;
        return;
    }
    ++notesShown_;
    std::ostream& out = line();
    out << path.string() << ":" << source.line() << ": row " << row << ", "
        << columnTitle(layout, n.column) << ": ";
    switch (n.kind) {
        case CellNote::Kind::NotANumber:
            out << shortText(source.text(n.column)) << " is no number; read as "
                << formatNumber(readNumber(source.raw(n.column)), NumberForm::Plain, {});
            break;
        case CellNote::Kind::LeftOut:
            out << "value left out: the row is an analysis of another block";
            break;
        case CellNote::Kind::UnknownBlock:
            out << shortText(source.text(n.column))
                << " names no block (Oxyspinel, Thiospinel, Selenospinel); the row's values "
                   "decide";
            break;
    }
    out << "\n";
}

bool Batch::rows(const fs::path& path, RecordSource& source, const BatchLayout& layout) {
    const std::uint64_t first = report_.rows + 1;
    const bool numberedNames =
        layout.kind == BatchLayoutKind::HeaderNamed && !layout.hasSampleColumn;
    std::string defaultName;
    SampleRow row;
    while (source.next()) {
        notes_.clear();
        if (numberedNames) defaultName = std::to_string(report_.rows + 1);
        if (!buildRowInput(layout, source, defaultName, in_, notes_)) continue;
        const std::uint64_t number = ++report_.rows;
        for (const CellNote& n : notes_) note(path, source, layout, n, number);
        const RowResults results = calculateRow(in_);
        formatSampleRowInto(row, results, o_.settings);
        results_.writeRow(row);
        writeDiagramLines(diagrams_, row, results);
        report_.oxyspinelNamed += !row[rc::kOxySpecies].empty();
        report_.thiospinelNamed += !row[rc::kThioSpecies].empty();
        report_.selenospinelNamed += !row[rc::kSelenoSpecies].empty();
        if (!results_.error().empty()) {
            return fail("cannot write '" + report_.resultsFile.string() + "': " + results_.error());
        }
    }
    if (!source.error().empty()) {
        return fail("cannot read '" + path.string() + "': " + source.error());
    }
    if (notesHidden_ > 0) {
        line() << path.string() << ": " << notesHidden_ << " more cells like these not shown\n";
    }
    if (report_.rows >= first) {
        line() << path.string() << ": rows " << first << " to " << report_.rows << " ("
               << report_.rows - first + 1 << " analyses)\n";
    } else {
        line() << path.string() << ": no rows with analyses\n";
    }
    return true;
}

bool Batch::input(const fs::path& path) {
    notesShown_ = 0;
    notesHidden_ = 0;
    std::error_code ec;
    if (!fs::exists(path, ec)) return fail("cannot read '" + path.string() + "': no such file");
    if (fs::is_directory(path, ec)) {
        return fail("cannot read '" + path.string() + "': it is a folder, not a file");
    }
    const std::string ext = lowerExtension(path);
    std::unique_ptr<RecordSource> source;
    std::string kind;
    if (ext == ".xlsx" || ext == ".xls" || ext == ".xlsm") {
        WorkbookReadResult book = readWorkbookFile(path);
        if (!book.ok() || book.book.sheets.empty()) {
            return fail("cannot read '" + path.string() +
                        "': " + (book.message.empty() ? "not a readable workbook" : book.message));
        }
        const std::size_t active = std::min(book.book.activeSheet, book.book.sheets.size() - 1);
        kind = "workbook, sheet \"" + book.book.sheets[active].name + "\"";
        source = std::make_unique<WorksheetSource>(std::move(book.book.sheets[active]));
    } else {
        DelimitedFormat format;
        if (ext == ".csv") {
            format = DelimitedFormat::Csv;
        } else if (ext == ".tsv" || ext == ".tab" || ext == ".txt") {
            format = DelimitedFormat::Tsv;
        } else if (ext == ".dor") {
            format = DelimitedFormat::AnalysisFile;
        } else {
            return fail("cannot read '" + path.string() +
                        "': unknown kind of file (use .csv, .tsv, .xlsx, .xls or .dor)");
        }
        auto delimited = std::make_unique<DelimitedSource>();
        if (!delimited->open(path, format)) {
            return fail("cannot read '" + path.string() + "': " + delimited->error());
        }
        if (format == DelimitedFormat::AnalysisFile) {
            kind = "analysis file";
        } else {
            const char sep = delimited->separator();
            kind = std::string(format == DelimitedFormat::Csv ? "CSV" : "TSV") + ", separated by " +
                   (sep == '\t'  ? "tabs"
                    : sep == ';' ? "semicolons"
                                 : "commas");
        }
        source = std::move(delimited);
    }

    BatchLayout layout;
    if (ext == ".dor") {
        layout = analysisFileLayout();
    } else {
        if (!source->next()) {
            if (!source->error().empty()) {
                return fail("cannot read '" + path.string() + "': " + source->error());
            }
            line() << path.string() << ": " << kind << "; empty, no header row and no rows\n";
            return true;
        }
        std::vector<std::string> header;
        for (std::size_t i = 0; i < source->size(); ++i) header.push_back(source->text(i));
        std::string error;
        layout = detectLayout(header, error);
        if (!error.empty()) return fail("cannot read '" + path.string() + "': " + error);
    }
    line() << path.string() << ": " << kind << "; " << layoutName(layout) << "\n";
    if (!layout.used.empty())
        line() << path.string() << ": columns used: " << joined(layout.used) << "\n";
    if (layout.kind == BatchLayoutKind::HeaderNamed && !layout.hasSampleColumn) {
        line() << path.string() << ": no sample-name column; each row is named by its row number\n";
    }
    if (!layout.ignored.empty()) {
        line() << path.string() << ": columns ignored: " << joined(layout.ignored) << "\n";
    }
    for (const std::string& w : layout.warnings) line() << path.string() << ": " << w << "\n";
    return rows(path, *source, layout);
}

BatchReport Batch::run() {
    if (o_.inputs.empty()) {
        fail("no input files");
        return report_;
    }
    const fs::path outDir = o_.outDir.empty() ? fs::path(".") : o_.outDir;
    std::error_code ec;
    if (!fs::exists(outDir, ec)) fs::create_directories(outDir, ec);
    if (!fs::is_directory(outDir)) {
        fail("cannot write to '" + outDir.string() +
             "': " + (ec ? ec.message() : std::string("not a folder")));
        return report_;
    }
    const fs::path resultsTarget =
        o_.resultsFile.empty() ? outDir / kBatchResultsFileName : o_.resultsFile;
    report_.resultsFile = resultsTarget;
    const auto kind = resultsFileKindOf(resultsTarget);
    if (!kind) {
        fail("the results file '" + resultsTarget.string() + "' must end in .tsv, .csv or .xlsx");
        return report_;
    }
    StagingFolder staging;
    std::string error;
    if (!staging.create(outDir, error)) {
        fail("cannot write to '" + outDir.string() + "': " + error);
        return report_;
    }
    // A results file in the output folder is put in place together with the
    // diagram files; elsewhere it is renamed onto its name last.
    const fs::path resultsFolder =
        resultsTarget.parent_path().empty() ? fs::path(".") : resultsTarget.parent_path();
    const bool resultsStaged = fs::equivalent(resultsFolder, outDir, ec);
    for (const DiagramDataFile& f : diagramDataFiles()) {
        if (resultsStaged && resultsTarget.filename() == f.fileName) {
            fail("the results file cannot be named like a diagram data file");
            return report_;
        }
    }
    const fs::path resultsPath =
        resultsStaged ? staging.path() / resultsTarget.filename() : resultsTarget;
    if (!results_.open(resultsPath, *kind, o_.settings)) {
        fail("cannot write '" + resultsTarget.string() + "': " + results_.error());
        return report_;
    }
    openDiagramFiles(diagrams_, staging.path(), o_.settings);
    if (!diagrams_.errors.empty()) {
        fail("cannot write to '" + outDir.string() + "': " + diagrams_.errors.front());
    }

    for (std::size_t i = 0; i < o_.inputs.size() && report_.error.empty(); ++i) {
        input(o_.inputs[i]);
    }
    if (!report_.error.empty()) {
        discardDiagramFiles(diagrams_);
        results_.discard();
        return report_;
    }
    if (!closeDiagramFiles(diagrams_)) {
        results_.discard();
        fail("cannot write to '" + outDir.string() + "': " + diagrams_.errors.front());
        return report_;
    }
    std::vector<std::string> names;
    for (const DiagramDataFile& f : diagramDataFiles()) names.emplace_back(f.fileName);
    if (resultsStaged) {
        if (!results_.commit()) {
            fail("cannot write '" + resultsTarget.string() + "': " + results_.error());
            return report_;
        }
        names.push_back(resultsTarget.filename().string());
    }
    if (!replaceAll(staging.path(), outDir, names, error)) {
        results_.discard();
        fail("cannot write " + error);
        return report_;
    }
    if (!resultsStaged && !results_.commit()) {
        fail("cannot write '" + resultsTarget.string() + "': " + results_.error());
        return report_;
    }
    report_.ok = true;
    line() << report_.rows << " rows calculated (species named: oxyspinel "
           << report_.oxyspinelNamed << ", thiospinel " << report_.thiospinelNamed
           << ", selenospinel " << report_.selenospinelNamed << "); results in "
           << resultsTarget.string() << ", " << diagramDataFiles().size()
           << " diagram data files in " << outDir.string() << "\n";
    return report_;
}

}  // namespace

BatchReport runBatch(const BatchOptions& options, std::ostream& log) {
    Batch batch(options, log);
    return batch.run();
}

}  // namespace qarv
