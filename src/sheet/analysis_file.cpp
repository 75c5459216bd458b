#include "sheet/analysis_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "common/atomic_file.h"
#include "common/text_encoding.h"

namespace qarv {
namespace {

constexpr char kQuote = '"';

}  // namespace

std::string analysisFileBytes(std::string_view blockText) {
    std::string bytes;
    bytes.reserve(blockText.size() + 4);
    bytes.push_back(kQuote);
    // A double quote inside a cell is written twice, so that it cannot end
    // the block; files without one are unchanged.
    for (char c : encodeWindows1252(blockText)) {
        if (c == kQuote) bytes.push_back(kQuote);
        bytes.push_back(c);
    }
    bytes.push_back(kQuote);
    bytes += "\r\n";
    return bytes;
}

AnalysisFileText parseAnalysisFile(std::string_view bytes) {
    AnalysisFileText result;
    if (bytes.empty()) {
        result.error = "the file is empty";
        return result;
    }
    if (bytes.front() != kQuote) {
        result.error = "not an analysis file (it does not start with a double quote)";
        return result;
    }
    // The block ends at the first double quote that is not doubled.
    std::string block;
    std::size_t i = 1;
    while (true) {
        const std::size_t quote = bytes.find(kQuote, i);
        if (quote == std::string_view::npos) {
            result.error = "the analysis file is incomplete (its closing double quote is missing)";
            return result;
        }
        block.append(bytes.substr(i, quote - i));
        if (quote + 1 < bytes.size() && bytes[quote + 1] == kQuote) {
            block.push_back(kQuote);
            i = quote + 2;
            continue;
        }
        break;
    }
    result.ok = true;
    result.blockText = decodeWindows1252(block);
    return result;
}

AnalysisFileText readAnalysisFile(const std::filesystem::path& path) {
    AnalysisFileText result;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        result.error = "no such file";
        return result;
    }
    if (std::filesystem::is_directory(status)) {
        result.error = "it is a folder, not a file";
        return result;
    }
    if (!std::filesystem::is_regular_file(status)) {
        result.error = "not a regular file";
        return result;
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxAnalysisFileBytes) {
        result.error = "not an analysis file (larger than 64 MiB)";
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = std::strerror(errno);
        return result;
    }
    std::string bytes;
    bytes.resize(ec ? 0 : static_cast<std::size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad() || static_cast<std::size_t>(in.gcount()) != bytes.size()) {
        result.error = "the file could not be read";
        return result;
    }
    return parseAnalysisFile(bytes);
}

bool writeAnalysisFile(const std::filesystem::path& path, AnalysisSheet& sheet, std::string* error,
                       std::error_code* code) {
    sheet.selectDataArea();
    AtomicFile file;
    if (file.open(path)) {
        file.write(analysisFileBytes(sheet.getClip(sheet.selection())));
        if (file.commit()) return true;
    }
    if (error != nullptr) *error = file.error();
    if (code != nullptr) *code = file.errorCode();
    return false;
}

void layBlockText(AnalysisSheet& sheet, std::string_view blockText) {
    sheet.selectDataArea();
    sheet.setClip(sheet.selection(), blockText);
}

AnalysisFileText openAnalysisFile(AnalysisSheet& sheet, const std::filesystem::path& path) {
    sheet.capCell();
    AnalysisFileText file = readAnalysisFile(path);
    if (file.ok) layBlockText(sheet, file.blockText);
    return file;
}

void newSheet(AnalysisSheet& sheet) {
    sheet.clearSheet();
    sheet.capCell();
    sheet.capCell();
}

}  // namespace qarv
