#include "sheet/delimited_text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/text_encoding.h"

namespace qarv {
namespace {

constexpr std::size_t kInitialBuffer = 1u << 20;
constexpr char kQuote = '"';

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1, min = 0x80, cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2, min = 0x800, cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= n) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace

DelimitedReader::~DelimitedReader() {
    if (file_ != nullptr) std::fclose(file_);
}

bool DelimitedReader::fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
    fields_.clear();
    return false;
}

bool DelimitedReader::open(const std::filesystem::path& path, DelimitedFormat format,
                           const DelimitedLimits& limits) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return fail("it is a folder, not a file");
    file_ = std::fopen(path.string().c_str(), "rb");
    if (file_ == nullptr) return fail(std::strerror(errno));
    return start(format, limits);
}

bool DelimitedReader::openBytes(std::string_view bytes, DelimitedFormat format,
                                const DelimitedLimits& limits) {
    bytes_ = bytes;
    return start(format, limits);
}

bool DelimitedReader::start(DelimitedFormat format, const DelimitedLimits& limits) {
    format_ = format;
    limits_ = limits;
    separator_ = format == DelimitedFormat::Csv ? ',' : '\t';
    buf_.resize(std::min(kInitialBuffer, std::max<std::size_t>(limits_.maxRecordBytes, 64)));
    while (end_ < 4 && fill()) {
    }
    if (!error_.empty()) return false;
    const std::string_view head(buf_.data(), end_);
    if (head.starts_with("\xEF\xBB\xBF")) {
        begin_ = 3;
    } else if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) {
        return fail("the file is UTF-16 text; save it as UTF-8 or Windows-1252");
    }
    if (format_ == DelimitedFormat::AnalysisFile) {
        if (begin_ == end_) return fail("the file is empty");
        if (buf_[begin_] != kQuote) {
            return fail("not an analysis file (it does not start with a double quote)");
        }
        ++begin_;
    }
    if (format_ == DelimitedFormat::Csv) detectSeparator();
    return true;
}

bool DelimitedReader::fill() {
    if (eof_) return false;
    if (begin_ > 0) {
        std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buf_.size()) {
        // One record fills the buffer: grow it, up to the limit.
        const std::size_t cap = limits_.maxRecordBytes + 2;
        if (buf_.size() >= cap) {
            return fail("line " + std::to_string(line_) + ": a record longer than " +
                        std::to_string(limits_.maxRecordBytes >> 20) +
                        " MiB (a quoted field that is never closed?)");
        }
        buf_.resize(std::min(cap, buf_.size() * 2));
    }
    std::size_t got = 0;
    const std::size_t room = buf_.size() - end_;
    if (file_ != nullptr) {
        got = std::fread(buf_.data() + end_, 1, room, file_);
        if (got == 0 && std::ferror(file_)) return fail(std::strerror(errno));
    } else {
        got = std::min(room, bytes_.size());
        std::memcpy(buf_.data() + end_, bytes_.data(), got);
        bytes_.remove_prefix(got);
    }
    end_ += got;
    if (got == 0) eof_ = true;
    return got > 0;
}

void DelimitedReader::detectSeparator() {
    // The header line decides: commas, else semicolons (as spreadsheets
    // write CSV where the comma is the decimal character), else tabs.
    std::size_t commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (std::size_t i = begin_; i < end_; ++i) {
        const char c = buf_[i];
        if (c == kQuote) quoted = !quoted;
        if (quoted) continue;
        if (c == '\n' || c == '\r') break;
        commas += c == ',';
        semicolons += c == ';';
        tabs += c == '\t';
    }
    if (commas == 0 && semicolons > 0) separator_ = ';';
    if (commas == 0 && semicolons == 0 && tabs > 0) separator_ = '\t';
}

// Finds the end of the record at begin_. length excludes the line end;
// complete is false when more bytes are needed to decide.
bool DelimitedReader::scanRecord(std::size_t& length, bool& complete) {
    const char* b = buf_.data();
    const char sep = separator_;
    std::size_t i = begin_;
    bool fieldStart = true;
    bool inQuotes = false;
    complete = false;
    while (i < end_) {
        const char c = b[i];
        if (inQuotes) {
            const void* q = std::memchr(b + i, kQuote, end_ - i);
            if (q == nullptr) {
                i = end_;
                break;
            }
            i = static_cast<std::size_t>(static_cast<const char*>(q) - b);
            if (i + 1 >= end_ && !eof_) return true;  // "" or the closing quote?
            if (i + 1 < end_ && b[i + 1] == kQuote) {
                i += 2;
            } else {
                inQuotes = false;
                ++i;
            }
            continue;
        }
        if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 >= end_ && !eof_) return true;  // CR LF or CR?
            length = i - begin_;
            complete = true;
            return true;
        }
        if (c == sep) {
            fieldStart = true;
        } else {
            if (c == kQuote && fieldStart) inQuotes = true;
            fieldStart = false;
        }
        ++i;
    }
    if (!eof_) return true;
    if (inQuotes) {
        return fail("line " + std::to_string(line_) +
                    ": a quoted field starts in this record and is never closed");
    }
    if (end_ == begin_) return false;  // nothing left
    length = end_ - begin_;
    complete = true;
    return true;
}

bool DelimitedReader::scanBlockRecord(std::size_t& length, bool& complete) {
    const char* b = buf_.data();
    complete = false;
    for (std::size_t i = begin_; i < end_; ++i) {
        const char c = b[i];
        if (c == kQuote) {
            if (i + 1 >= end_ && !eof_) return true;
            if (i + 1 < end_ && b[i + 1] == kQuote) {
                ++i;
                continue;
            }
            length = i - begin_;
            complete = true;
            return true;
        }
        if (c == '\r') {
            if (i + 1 >= end_ && !eof_) return true;
            length = i - begin_;
            complete = true;
            return true;
        }
    }
    if (!eof_) return true;
    return fail("the analysis file is incomplete (its closing double quote is missing)");
}

void DelimitedReader::splitRecord(std::size_t length) {
    char* b = buf_.data();
    const char sep = separator_;
    const std::size_t stop = begin_ + length;
    std::size_t breaks = 0;
    std::size_t i = begin_;
    while (true) {
        if (fields_.size() >= limits_.maxFields) {
            fail("line " + std::to_string(recordLine_) + ": more than " +
                 std::to_string(limits_.maxFields) + " fields in one record");
            return;
        }
        const std::size_t fieldBegin = i;
        if (i < stop && b[i] == kQuote) {
            // Quoted: "" stands for one quote; what follows the closing
            // quote up to the separator is kept as it is.
            std::size_t w = i;
            std::size_t r = i + 1;
            while (r < stop) {
                if (b[r] == kQuote) {
                    if (r + 1 < stop && b[r + 1] == kQuote) {
                        b[w++] = kQuote;
                        r += 2;
                        continue;
                    }
                    ++r;
                    break;
                }
                if (b[r] == '\n' || (b[r] == '\r' && !(r + 1 < stop && b[r + 1] == '\n'))) {
                    ++breaks;
                }
                b[w++] = b[r++];
            }
            while (r < stop && b[r] != sep) b[w++] = b[r++];
            fields_.emplace_back(b + fieldBegin, w - fieldBegin);
            i = r;
        } else {
            const void* s = std::memchr(b + i, sep, stop - i);
            const std::size_t r = s == nullptr ? stop : static_cast<const char*>(s) - b;
            fields_.emplace_back(b + fieldBegin, r - fieldBegin);
            i = r;
        }
        if (i >= stop) break;
        ++i;  // past the separator
    }
    line_ += breaks;
}

void DelimitedReader::splitBlockRecord(std::size_t length) {
    char* b = buf_.data();
    const std::size_t stop = begin_ + length;
    std::size_t w = begin_;
    std::size_t fieldBegin = begin_;
    for (std::size_t r = begin_; r < stop; ++r) {
        const char c = b[r];
        if (c == '\t') {
            fields_.emplace_back(b + fieldBegin, w - fieldBegin);
            fieldBegin = w = r + 1;
            if (fields_.size() >= limits_.maxFields) {
                fail("row " + std::to_string(recordLine_) + ": more than " +
                     std::to_string(limits_.maxFields) + " cells in one row");
                return;
            }
            continue;
        }
        b[w++] = c;
        if (c == kQuote) ++r;  // a doubled quote stands for one
    }
    fields_.emplace_back(b + fieldBegin, w - fieldBegin);
}

bool DelimitedReader::next() {
    fields_.clear();
    if (!error_.empty() || blockEnded_) return false;
    const bool block = format_ == DelimitedFormat::AnalysisFile;
    while (true) {
        std::size_t length = 0;
        bool complete = false;
        const bool more = block ? scanBlockRecord(length, complete) : scanRecord(length, complete);
        if (!more) return false;
        if (complete) {
            recordLine_ = line_;
            if (block) {
                splitBlockRecord(length);
            } else {
                splitRecord(length);
            }
            if (!error_.empty()) return false;
            std::size_t end = begin_ + length;
            if (end < end_) {
                // The line end: CR LF, LF or CR; in an analysis file CR (a
                // line feed after it is dropped) or the closing quote.
                const char c = buf_[end];
                if (block && c == kQuote) {
                    blockEnded_ = true;
                    ++end;
                } else {
                    ++end;
                    if (c == '\r' && end < end_ && buf_[end] == '\n') ++end;
                    ++line_;
                }
            }
            begin_ = end;
            return true;
        }
        if (!fill() && !error_.empty()) return false;
    }
}

std::string DelimitedReader::fieldText(std::size_t i) const {
    const std::string_view raw = field(i);
    if (format_ != DelimitedFormat::AnalysisFile && isValidUtf8(raw)) return std::string(raw);
    return decodeWindows1252(raw);
}

}  // namespace qarv
