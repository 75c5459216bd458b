#pragma once
// The batch run: any number of analyses from any number of files (.csv,
// .tsv, .xlsx, .xls, .dor) through the same recalculation, naming,
// formatting and diagram filters as the desktop run, row by row in flat
// memory.
//
// Every row that holds anything is calculated; there is no 200-row limit and
// no last-row rule, and rows whose cells are all empty are skipped. Rows are
// numbered 1, 2, 3 ... over all inputs in the order given: the rows of the
// second file continue after those of the first, as a later run's rows
// follow an earlier run's in the results window. Row n of the results file
// (after its two heading rows) is row n of the batch, and the log says
// which rows each file gave.
//
// Outputs: the results table (every row's 171 cells, as the desktop run's
// table holds them) and the 57 diagram data files, all made under temporary
// names and put in place only when every one is complete; on any failure
// nothing is replaced.

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "results/number_format.h"

namespace qarv {

inline constexpr const char* kBatchResultsFileName = "results.tsv";

struct BatchOptions {
    std::vector<std::filesystem::path> inputs;
    std::filesystem::path outDir = ".";  // the diagram data files (made if missing)
    // .tsv, .csv or .xlsx; empty: results.tsv in outDir.
    std::filesystem::path resultsFile;
    NumberFormatSettings settings;
    // Cell notes (no number, left out) shown per input; the rest are counted.
    std::size_t notesPerInput = 20;
    // Each log line starts with this.
    std::string logPrefix = "qarvelion-cli: ";
};

struct BatchReport {
    bool ok = false;
    std::string error;  // why nothing was written, when !ok
    std::uint64_t rows = 0;
    std::uint64_t oxyspinelNamed = 0;  // rows with an oxyspinel species
    std::uint64_t thiospinelNamed = 0;
    std::uint64_t selenospinelNamed = 0;
    std::uint64_t notes = 0;  // cells reported (shown or not)
    std::filesystem::path resultsFile;
};

// Runs the batch; the log receives what was detected and reported, line by
// line.
BatchReport runBatch(const BatchOptions& options, std::ostream& log);

}  // namespace qarv
