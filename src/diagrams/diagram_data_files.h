#pragma once
// The 57 diagram data files that every run rewrites: one header line, then
// one line per analysed row whose name (and values) qualify it. Lines are
// laid out in 14-character print zones, end with CR LF and are written in
// Windows-1252.

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/row_calculation.h"
#include "common/atomic_file.h"
#include "results/number_format.h"
#include "results/sample_row.h"

namespace qarv {

// A value written to a data file: either a cell of the formatted results row
// (written as the table shows it), or a diagram quantity that the table does
// not show (written as a plain, unrounded number).
struct DiagramValue {
    int resultColumn = -1;
    double (*plain)(const RowResults&) = nullptr;
};

// min <= value <= max on the value as written: a formatted value is read back
// as the number its text shows, a plain one is compared unrounded.
struct DiagramRange {
    int valueIndex;
    std::optional<double> min;
    std::optional<double> max;
};

struct DiagramDataFile {
    int channel;
    std::string_view fileName;
    SheetBlock block;
    std::vector<std::string_view> titles;
    std::vector<DiagramValue> values;
    std::vector<std::string_view> species;
    std::vector<DiagramRange> ranges;
};

// The files in channel order.
const std::vector<DiagramDataFile>& diagramDataFiles();

// One line in print zones. Text items are written as they are; a plain
// number item is " 1.5 " or "-1.5 ". Items are UTF-8; the line is returned in
// Windows-1252, where each character takes one position.
struct PrintItem {
    std::string text;
    bool plainNumber = false;
    bool negative = false;
};
std::string printZoneLine(const std::vector<PrintItem>& items);

// A plain value's text, formatted once per row.
struct DiagramPlainText {
    double (*plain)(const RowResults&) = nullptr;
    std::string text;
    bool negative = false;
};

// The open files of one run.
struct DiagramFileSet {
    NumberFormatSettings settings;
    std::vector<AtomicFile> files;    // index = position in diagramDataFiles()
    std::vector<std::string> errors;  // "file: reason" for each file that failed
    // Lines not yet handed to their file, written in larger pieces: per
    // file, a buffer (made when the file gets its first line) filled up to
    // its size.
    struct PendingLines {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
    };
    std::vector<PendingLines> pending;
    // The plain values of the row being written, kept so their texts'
    // storage serves every row.
    std::array<DiagramPlainText, 16> plainTexts;
};

// Creates every file in the folder in channel order and writes its header
// line. A file that cannot be created is skipped and noted in errors.
void openDiagramFiles(DiagramFileSet& set, const std::filesystem::path& folder,
                      const NumberFormatSettings& settings);
// Appends the row's line to every file whose filter it passes.
void writeDiagramLines(DiagramFileSet& set, const SampleRow& row, const RowResults& results);
// Puts every complete file in place, in channel order. False if any file
// failed during the run; the others are in place all the same.
bool closeDiagramFiles(DiagramFileSet& set);
// Drops the run's files; the files of the previous run stay as they were.
void discardDiagramFiles(DiagramFileSet& set);

// Whether a row passes a file's filter (its block's species, then ranges).
bool passesFilter(const DiagramDataFile& file, const SampleRow& row, const RowResults& results,
                  const NumberFormatSettings& settings);

}  // namespace qarv
