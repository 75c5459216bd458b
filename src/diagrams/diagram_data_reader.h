#pragma once
// Reads back the diagram data files that a run writes: a header line
// "SampleNo" and column titles, then one line per sample, the sample name
// first and the values in print zones after it. Files are Windows-1252 with
// CR LF line ends; numbers carry the digit-group and decimal characters of
// the run's regional settings.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qarv {

// A run writes at most a few hundred lines per file; these bounds keep a
// hostile file from costing more than a little memory.
inline constexpr std::size_t kMaxDataFileBytes = 16 << 20;
inline constexpr std::size_t kMaxDataLineBytes = 4096;
inline constexpr std::size_t kMaxDataColumns = 16;
inline constexpr std::size_t kMaxDataWarnings = 20;
// Lines beyond this many samples are skipped (with a warning).
inline constexpr std::size_t kMaxDataPoints = 100000;

struct DataPoint {
    std::string name;            // UTF-8, blanks inside kept
    std::vector<double> values;  // one per column title
    int line = 0;                // 1-based line number in the file
};

struct DiagramData {
    std::vector<std::string> titles;  // the header's titles after "SampleNo"
    std::vector<DataPoint> points;
    // Lines that could not be read, as "line N: reason" (at most
    // kMaxDataWarnings; skippedLines counts them all).
    std::vector<std::string> warnings;
    std::size_t skippedLines = 0;
};

struct DataReadResult {
    DiagramData data;
    std::string error;  // empty on success
    bool ok() const { return error.empty(); }
};

// The number a data file's item shows. The decimal character is the last
// character between digits that is neither a digit nor a letter; characters before it that
// separate groups of three digits are digit-group characters. This reads
// every text the run writes ("0.1113", "0,1113", "1,234.567", "1.234,567",
// "-0,5", "1,5E+17") whatever its regional settings were. False for
// anything else.
bool parseDataNumber(std::string_view text, double& value);

// Parses a file's bytes. A file without the "SampleNo" header line is an
// error; a data line that cannot be read is skipped with a warning.
DataReadResult parseDiagramData(std::string_view bytes);
// Reads a file of at most kMaxDataFileBytes; errors name the file.
DataReadResult readDiagramDataFile(const std::filesystem::path& path);

}  // namespace qarv
