#include "results/results_file.h"

#include <cstring>

#include "common/copy_bytes.h"
#include "results/results_layout.h"
#include "results/results_table.h"
#include "results/results_workbook.h"

namespace qarv {
namespace {

constexpr std::size_t kFlushBytes = 1u << 20;

std::string lowerExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return ext;
}

bool needsQuotes(const std::string& cell) {
    return cell.find_first_of(",\"\r\n") != std::string::npos;
}

void appendCsvCell(std::string& out, const std::string& cell) {
    if (!needsQuotes(cell)) {
        out += cell;
        return;
    }
    out.push_back('"');
    for (char c : cell) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

}  // namespace

std::optional<ResultsFileKind> resultsFileKindOf(const std::filesystem::path& path) {
    const std::string ext = lowerExtension(path);
    if (ext == ".tsv" || ext == ".txt") return ResultsFileKind::Tsv;
    if (ext == ".csv") return ResultsFileKind::Csv;
    if (ext == ".xlsx") return ResultsFileKind::Xlsx;
    return std::nullopt;
}

const std::string& ResultsFileWriter::error() const {
    if (!error_.empty()) return error_;
    return kind_ == ResultsFileKind::Xlsx ? xlsx_.error() : file_.error();
}

bool ResultsFileWriter::open(const std::filesystem::path& target, ResultsFileKind kind,
                             const NumberFormatSettings& settings) {
    kind_ = kind;
    settings_ = settings;
    rows_ = 0;
    sheetRow_ = 0;
    buffer_.clear();
    error_.clear();
    const bool opened =
        kind == ResultsFileKind::Xlsx ? xlsx_.open(target, "Results") : file_.open(target);
    if (!opened) return false;
    const ResultsTable headings;  // the two heading rows, from the one layout
    for (int r = 0; r < kResultsHeadingRows; ++r) {
        std::string cells[kResultColumnCount];
        for (int c = 0; c < kResultColumnCount; ++c) cells[c] = headings.text(r, c);
        writeCells(cells, kResultColumnCount);
    }
    return true;
}

void ResultsFileWriter::writeCells(const std::string* cells, int count) {
    switch (kind_) {
        case ResultsFileKind::Tsv:
            for (int c = 0; c < kResultColumnCount; ++c) {
                if (c > 0) buffer_.push_back('\t');
                if (c < count) buffer_ += cells[c];
            }
            buffer_.push_back('\n');
            break;
        case ResultsFileKind::Csv:
            for (int c = 0; c < kResultColumnCount; ++c) {
                if (c > 0) buffer_.push_back(',');
                if (c < count) appendCsvCell(buffer_, cells[c]);
            }
            buffer_ += "\r\n";
            break;
        case ResultsFileKind::Xlsx:
            for (int c = 0; c < count; ++c) {
                const auto number = sheetRow_ >= kResultsHeadingRows
                                        ? resultsNumberCell(c, cells[c], settings_)
                                        : std::nullopt;
                if (number) {
                    xlsx_.number(sheetRow_, c, number->value, std::string(number->format));
                } else {
                    xlsx_.text(sheetRow_, c, cells[c]);
                }
            }
            break;
    }
    ++sheetRow_;
    if (buffer_.size() >= kFlushBytes) flush();
}

void ResultsFileWriter::flush() {
    file_.write(buffer_);
    buffer_.clear();
}

void ResultsFileWriter::writeRow(const SampleRow& row) {
    if (kind_ == ResultsFileKind::Tsv) {
        // The common case, in one pass: the cells and their tabs are copied
        // into room made at once.
        std::size_t size = kResultColumnCount;  // the tabs and the line end
        for (const std::string& cell : row) size += cell.size();
        const std::size_t at = buffer_.size();
        buffer_.resize(at + size);
        char* p = buffer_.data() + at;
        for (int c = 0; c < kFormattedCellCount; ++c) {
            if (c > 0) *p++ = '\t';
            copyBytes(p, row[c].data(), row[c].size());
            p += row[c].size();
        }
        for (int c = kFormattedCellCount; c < kResultColumnCount; ++c) *p++ = '\t';
        *p = '\n';
        ++sheetRow_;
        if (buffer_.size() >= kFlushBytes) flush();
    } else {
        writeCells(row.data(), kFormattedCellCount);
    }
    ++rows_;
}

bool ResultsFileWriter::commit() {
    if (kind_ == ResultsFileKind::Xlsx) return xlsx_.commit();
    flush();
    return file_.commit();
}

void ResultsFileWriter::discard() {
    buffer_.clear();
    xlsx_.discard();
    file_.discard();
}

}  // namespace qarv
