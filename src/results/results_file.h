#pragma once
// The results table written row by row to a file, in flat memory: the two
// heading rows, then one row per calculated analysis, 171 cells each, as
// the table holds them.
//  - .tsv: cells joined by tabs, LF line ends, UTF-8 (the form of
//    results.tsv);
//  - .csv: RFC 4180 (comma, cells with a comma, quote or line break quoted,
//    CR LF line ends), UTF-8;
//  - .xlsx: one sheet "Results", numbers as numbers in the format that shows
//    the table's text, as the results workbook holds them.
// The file is made under a temporary name beside the target and put in
// place by commit().

#include <filesystem>
#include <optional>
#include <string>

#include "common/atomic_file.h"
#include "results/number_format.h"
#include "results/sample_row.h"
#include "spreadsheet/xlsx_stream_writer.h"

namespace qarv {

enum class ResultsFileKind { Tsv, Csv, Xlsx };

// The kind a file name's extension asks for (case-insensitive), if any.
std::optional<ResultsFileKind> resultsFileKindOf(const std::filesystem::path& path);

class ResultsFileWriter {
  public:
    // Creates the temporary file and writes the heading rows.
    bool open(const std::filesystem::path& target, ResultsFileKind kind,
              const NumberFormatSettings& settings);
    void writeRow(const SampleRow& row);
    bool commit();
    void discard();
    const std::string& error() const;
    // Data rows written so far.
    long long rows() const { return rows_; }

  private:
    void writeCells(const std::string* cells, int count);  // one text row
    void flush();

    ResultsFileKind kind_ = ResultsFileKind::Tsv;
    NumberFormatSettings settings_;
    AtomicFile file_;
    XlsxStreamWriter xlsx_;
    std::string buffer_;
    std::string error_;
    int sheetRow_ = 0;
    long long rows_ = 0;
};

}  // namespace qarv
