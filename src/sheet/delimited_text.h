#pragma once
// Streaming reader of delimited text: CSV (RFC 4180 quoting), TSV and the
// analysis files' block text. Records are read one at a time through a
// buffer of bounded size, so a file of any length is read in flat memory.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qarv {

enum class DelimitedFormat {
    Csv,           // comma (or, when the first line has none, semicolon or tab) with quoting
    Tsv,           // tab, with the same quoting
    AnalysisFile,  // a .dor file: one quoted block, cells split by tab, rows by CR
};

// What a reader may be made to hold.
struct DelimitedLimits {
    std::size_t maxRecordBytes = 16u << 20;  // one record, quotes included
    std::size_t maxFields = 16384;           // fields of one record
};

class DelimitedReader {
  public:
    DelimitedReader() = default;
    ~DelimitedReader();
    DelimitedReader(const DelimitedReader&) = delete;
    DelimitedReader& operator=(const DelimitedReader&) = delete;

    // Opens a file; false with error() when it cannot be read or is UTF-16.
    bool open(const std::filesystem::path& path, DelimitedFormat format,
              const DelimitedLimits& limits = {});
    // Reads from bytes held by the caller (which must outlive the reader).
    bool openBytes(std::string_view bytes, DelimitedFormat format,
                   const DelimitedLimits& limits = {});

    // Moves to the next record; false at the end of the input or on an
    // error (then error() says what and where).
    bool next();

    // The current record's fields, as raw bytes with the quoting removed;
    // valid until the next call of next().
    std::size_t fieldCount() const { return fields_.size(); }
    std::string_view field(std::size_t i) const {
        return i < fields_.size() ? fields_[i] : std::string_view{};
    }
    // A field as UTF-8: analysis files are Windows-1252; a CSV or TSV field
    // that is valid UTF-8 is kept, any other is read as Windows-1252.
    std::string fieldText(std::size_t i) const;

    // The line of the input where the current record starts (from 1).
    std::size_t line() const { return recordLine_; }
    const std::string& error() const { return error_; }
    // The field separator in use (for CSV, decided from the first line).
    char separator() const { return separator_; }

  private:
    bool start(DelimitedFormat format, const DelimitedLimits& limits);
    bool fill();  // reads more bytes behind end_; false at the end of the input
    bool fail(std::string message);
    bool scanRecord(std::size_t& length, bool& complete);
    bool scanBlockRecord(std::size_t& length, bool& complete);
    void splitRecord(std::size_t length);
    void splitBlockRecord(std::size_t length);
    void detectSeparator();

    DelimitedFormat format_ = DelimitedFormat::Csv;
    DelimitedLimits limits_;
    std::FILE* file_ = nullptr;
    std::string_view bytes_;  // openBytes input not yet taken into buf_
    std::vector<char> buf_;
    std::size_t begin_ = 0;  // first byte not yet consumed
    std::size_t end_ = 0;    // one past the last byte read
    bool eof_ = false;
    bool blockEnded_ = false;  // an analysis file's closing quote was read
    char separator_ = ',';
    std::size_t line_ = 1;  // line at begin_
    std::size_t recordLine_ = 0;
    std::vector<std::string_view> fields_;
    std::string error_;
};

}  // namespace qarv
