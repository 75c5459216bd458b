// The current sheet tab of an .xls file, which FreeXL does not report: a
// minimal, bounded reading of the compound file's directory and the start of
// its workbook stream. Anything out of place gives up rather than guesses.

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

#include "spreadsheet/xls_format.h"

namespace qarv::detail {
namespace {

constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;

std::uint16_t u16At(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}
std::uint32_t u32At(const std::string& b, std::size_t at) {
    return u16At(b, at) | (static_cast<std::uint32_t>(u16At(b, at + 2)) << 16);
}

class CompoundFile {
public:
    bool open(const std::filesystem::path& path) {
        in_.open(path, std::ios::binary);
        if (!in_) return false;
        std::error_code ec;
        fileSize_ = std::filesystem::file_size(path, ec);
        if (ec || fileSize_ < 512) return false;
        if (!readAt(0, 512, header_)) return false;
        if (header_.compare(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) != 0) return false;
        const unsigned shift = u16At(header_, 30);
        if (shift != 9 && shift != 12) return false;
        sectorSize_ = std::size_t{1} << shift;
        sectorCount_ = fileSize_ / sectorSize_ - 1;  // the header takes one sector's place
        miniSectorSize_ = std::size_t{1} << std::min<unsigned>(u16At(header_, 32), 12);
        return readFat();
    }

    // The bytes of the stream named name (ASCII, matched exactly), at most
    // limit of them.
    // The declared size of the named stream, or nothing without one.
    std::optional<std::uint64_t> streamSize(const std::string& name) {
        std::string directory;
        if (!chain(u32At(header_, 48), fat_, sectorSize_, SIZE_MAX, directory, true))
            return std::nullopt;
        for (std::size_t at = 0; at + 128 <= directory.size(); at += 128) {
            if (entryNamed(directory, at, name)) return u32At(directory, at + 120);
        }
        return std::nullopt;
    }

    bool stream(const std::string& name, std::size_t limit, std::string& out) {
        std::string directory;
        if (!chain(u32At(header_, 48), fat_, sectorSize_, SIZE_MAX, directory, true)) return false;
        if (directory.size() < 128) return false;
        const std::uint32_t miniCutoff = u32At(header_, 56);
        for (std::size_t at = 0; at + 128 <= directory.size(); at += 128) {
            const unsigned nameBytes = u16At(directory, at + 64);
            const unsigned type = static_cast<unsigned char>(directory[at + 66]);
            if (type != 2 || nameBytes != 2 * name.size() + 2) continue;
            bool same = true;
            for (std::size_t i = 0; i < name.size() && same; ++i)
                same = u16At(directory, at + 2 * i) == static_cast<unsigned char>(name[i]);
            if (!same) continue;
            const std::uint32_t start = u32At(directory, at + 116);
            const std::size_t size = std::min<std::size_t>(u32At(directory, at + 120), limit);
            if (u32At(directory, at + 120) >= miniCutoff) return chain(start, fat_, sectorSize_, size, out, true);
            // A small stream lives in the mini stream, whose sectors the root
            // entry's chain holds.
            std::string miniFatBytes, miniStream;
            if (!chain(u32At(header_, 60), fat_, sectorSize_, SIZE_MAX, miniFatBytes, true)) return false;
            if (!chain(u32At(directory, 116), fat_, sectorSize_, u32At(directory, 120), miniStream, true))
                return false;
            miniStream_ = &miniStream;
            std::vector<std::uint32_t> miniFat(miniFatBytes.size() / 4);
            for (std::size_t i = 0; i < miniFat.size(); ++i) miniFat[i] = u32At(miniFatBytes, 4 * i);
            const bool ok = chain(start, miniFat, miniSectorSize_, size, out, false);
            miniStream_ = nullptr;
            return ok;
        }
        return false;
    }

private:
  static bool entryNamed(const std::string& directory, std::size_t at, const std::string& name) {
      const unsigned nameBytes = u16At(directory, at + 64);
      const unsigned type = static_cast<unsigned char>(directory[at + 66]);
      if (type != 2 || nameBytes != 2 * name.size() + 2) return false;
      for (std::size_t i = 0; i < name.size(); ++i)
          if (u16At(directory, at + 2 * i) != static_cast<unsigned char>(name[i])) return false;
      return true;
  }

    bool readAt(std::uint64_t offset, std::size_t n, std::string& out) {
        if (offset > fileSize_ || n > fileSize_ - offset) return false;
        out.resize(n);
        in_.seekg(static_cast<std::streamoff>(offset));
        return static_cast<bool>(in_.read(out.data(), static_cast<std::streamsize>(n)));
    }
    bool readSector(std::uint32_t id, std::string& out) {
        return id < sectorCount_ && readAt((std::uint64_t{id} + 1) * sectorSize_, sectorSize_, out);
    }

    bool readFat() {
        const std::uint32_t fatCount = u32At(header_, 44);
        if (fatCount == 0 || fatCount > sectorCount_) return false;
        std::vector<std::uint32_t> fatSectors;
        for (std::size_t i = 0; i < 109 && fatSectors.size() < fatCount; ++i)
            fatSectors.push_back(u32At(header_, 76 + 4 * i));
        std::uint32_t difat = u32At(header_, 68);
        std::string sector;
        for (std::size_t steps = 0; fatSectors.size() < fatCount; ++steps) {
            if (steps > sectorCount_ || !readSector(difat, sector)) return false;
            for (std::size_t k = 0; k + 4 < sectorSize_ && fatSectors.size() < fatCount; k += 4)
                fatSectors.push_back(u32At(sector, k));
            difat = u32At(sector, sectorSize_ - 4);
        }
        for (const std::uint32_t id : fatSectors) {
            if (!readSector(id, sector)) return false;
            for (std::size_t k = 0; k < sectorSize_; k += 4) fat_.push_back(u32At(sector, k));
        }
        return true;
    }

    // Follows a chain of sectors (regular ones, or mini sectors of the mini
    // stream) and keeps at most limit bytes; a chain that leaves the table
    // or loops is refused.
    bool chain(std::uint32_t id, const std::vector<std::uint32_t>& table, std::size_t size,
               std::size_t limit, std::string& out, bool regular) {
        out.clear();
        std::string sector;
        // No chain without a loop is longer than there are sectors.
        const std::uint64_t maxSteps = regular ? sectorCount_ : miniStream_->size() / size;
        for (std::uint64_t steps = 0; id != kEndOfChain && out.size() < limit; ++steps) {
            if (id > kMaxRegularSector || id >= table.size() || steps >= maxSteps) return false;
            if (regular) {
                if (!readSector(id, sector)) return false;
            } else {
                if ((std::size_t{id} + 1) * size > miniStream_->size()) return false;
                sector = miniStream_->substr(std::size_t{id} * size, size);
            }
            out += sector;
            id = table[id];
        }
        if (out.size() > limit) out.resize(limit);
        return true;
    }

    std::ifstream in_;
    std::uint64_t fileSize_ = 0;
    std::size_t sectorSize_ = 512, miniSectorSize_ = 64;
    std::uint64_t sectorCount_ = 0;
    std::string header_;
    std::vector<std::uint32_t> fat_;
    const std::string* miniStream_ = nullptr;
};

}  // namespace

std::optional<XlsSheetTabs> readXlsSheetTabs(const std::filesystem::path& path, std::size_t readLimit) {
    CompoundFile file;
    if (!file.open(path)) return std::nullopt;
    std::string stream;
    if (!file.stream("Workbook", readLimit, stream) && !file.stream("Book", readLimit, stream))
        return std::nullopt;
    XlsSheetTabs tabs;
    bool window = false;
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const unsigned type = u16At(stream, at);
        const std::size_t length = u16At(stream, at + 2);
        if (at + 4 + length > stream.size()) break;
        if (at == 0 && type != kBiffBof) return std::nullopt;
        if (type == kBiffWindow1 && length >= 12 && !window) {
            tabs.current = u16At(stream, at + 4 + 10);
            window = true;
        } else if (type == kBiffBoundSheet) {
            ++tabs.sheets;
        } else if (type == kBiffEof) {
            break;
        }
        at += 4 + length;
    }
    if (!window) return std::nullopt;
    return tabs;
}

// The records of one SST and its CONTINUE records, walked string by string:
// how many records the most spread-out string touches, and whether the
// strings are all there as the SST counts them (false when one runs past the
// last record or fewer strings follow). A string's characters may go on in
// the next record, which then starts with a new flags byte; its formatting
// runs and phonetic data may go on there too, without one.
std::size_t mostRecordsOfOneString(const std::vector<std::string_view>& bodies, bool& complete) {
    complete = false;
    if (bodies.empty() || bodies[0].size() < 8) return 0;
    std::size_t record = 0, at = 8, most = 0;
    const auto left = [&] {
        return record < bodies.size() ? bodies[record].size() - std::min(at, bodies[record].size())
                                      : 0;
    };
    const auto nextRecord = [&]() {
        ++record;
        at = 0;
        return record < bodies.size();
    };
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(bodies[record][at + i]);
    };
    const std::uint32_t count = u32At(std::string(bodies[0].substr(0, 8)), 4);
    for (std::uint32_t s = 0; s < count; ++s) {
        if (left() == 0 && !nextRecord()) return most;
        if (left() < 3) return most;  // a string's head is never split
        const std::size_t first = record;
        const std::size_t chars = byte(0) | (byte(1) << 8);
        const unsigned flags = byte(2);
        at += 3;
        std::size_t runs = 0, extra = 0;
        if (flags & 0x08) {
            if (left() < 2) return most;
            runs = byte(0) | (byte(1) << 8);
            at += 2;
        }
        if (flags & 0x04) {
            if (left() < 4) return most;
            extra = byte(0) | (byte(1) << 8) | (std::size_t{byte(2)} << 16) |
                    (std::size_t{byte(3)} << 24);
            at += 4;
        }
        bool wide = (flags & 0x01) != 0;
        for (std::size_t done = 0; done < chars;) {
            if (left() == 0) {
                if (!nextRecord() || left() == 0) return std::max(most, record - first);
                wide = (byte(0) & 0x01) != 0;
                at += 1;
                continue;
            }
            const std::size_t width = wide ? 2 : 1;
            const std::size_t n = std::min(chars - done, left() / width);
            if (n == 0) return std::max(most, record - first + 1);  // a character split in two
            done += n;
            at += n * width;
        }
        for (std::size_t rest = runs * 4 + extra; rest > 0;) {
            if (left() == 0 && !nextRecord()) return std::max(most, record - first);
            const std::size_t n = std::min(rest, left());
            rest -= n;
            at += n;
        }
        most = std::max(most, record - first + 1);
    }
    complete = true;
    return most;
}

// Whether the text a record carries fits in the record as its count says.
// FreeXL copies as many characters as the count gives, whatever the record's
// length (a format record claiming 65535 characters in 12 bytes made it read
// far past its buffer), so the records with texts it reads are checked:
// FORMAT, BOUNDSHEET, LABEL and STRING.
bool textFits(const std::string& stream, unsigned type, std::size_t body, std::size_t length,
              bool biff8) {
    std::size_t offset = 0, countBytes = 2;
    switch (type) {
        case 0x041E:  // FORMAT: format index, then the text
            offset = 2;
            countBytes = biff8 ? 2 : 1;
            break;
        case kBiffBoundSheet:  // stream offset, state, kind, then the name
            offset = 6;
            countBytes = 1;
            break;
        case 0x0204:  // LABEL: row, column, format, then the text
            offset = 6;
            break;
        case 0x0207:  // STRING: a formula's text result
            offset = 0;
            break;
        default:
            return true;
    }
    const std::size_t head = offset + countBytes + (biff8 ? 1 : 0);
    if (length < head) return false;
    const std::size_t count = countBytes == 2 ? u16At(stream, body + offset)
                                              : static_cast<unsigned char>(stream[body + offset]);
    const bool wide =
        biff8 && (static_cast<unsigned char>(stream[body + offset + countBytes]) & 0x01) != 0;
    return head + count * (wide ? 2 : 1) <= length;
}

std::optional<XlsSizeClaims> readXlsSizeClaims(const std::filesystem::path& path,
                                               std::uint64_t maxStreamBytes,
                                               std::string* streamOut) {
    CompoundFile file;
    if (!file.open(path)) return std::nullopt;
    std::string name = "Workbook";
    std::optional<std::uint64_t> size = file.streamSize(name);
    if (!size) {
        name = "Book";
        size = file.streamSize(name);
    }
    if (!size) return std::nullopt;
    XlsSizeClaims claims;
    claims.streamBytes = *size;
    if (*size > maxStreamBytes) return claims;  // the caller refuses it by its size
    std::string stream;
    if (!file.stream(name, static_cast<std::size_t>(*size), stream) || stream.size() < *size)
        return std::nullopt;
    std::size_t continueRun = 0;
    std::vector<std::string_view> sst;  // the SST record's body and its CONTINUE bodies
    bool inSst = false;
    // The globals and each sheet are substreams from a BOF record to its
    // EOF record (charts inside a sheet nest their own); what follows the
    // last sheet's EOF is padding, and is not handed on.
    std::size_t sheets = 0, ends = 0, depth = 0, used = stream.size();
    bool complete = false;
    // A worksheet has exactly one DIMENSION record; FreeXL sizes the sheet's
    // cell table by it and leaks or misreads without one or with several.
    bool worksheet = false;
    int dimensions = 0;
    int sstRecords = 0;
    bool biff8 = true;
    const auto endSst = [&] {
        bool complete = false;
        claims.mostRecordsOfOneString =
            std::max(claims.mostRecordsOfOneString, mostRecordsOfOneString(sst, complete));
        if (!complete) claims.badRecord = true;
    };
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const unsigned type = u16At(stream, at);
        const std::size_t length = u16At(stream, at + 2);
        const std::size_t body = at + 4;
        if (length > kBiffMaxRecordBody || body + length > stream.size()) {
            claims.badRecord = true;
            break;
        }
        if (type == kBiffContinue) {
            claims.longestContinueRun = std::max(claims.longestContinueRun, ++continueRun);
            if (inSst) sst.emplace_back(stream.data() + body, length);
        } else {
            continueRun = 0;
            if (inSst) {
                endSst();
                sst.clear();
            }
            inSst = type == kBiffSst;
            if (inSst) {
                // One table of strings, in the globals.
                if (++sstRecords > 1 || depth != 1 || ends != 0 || length < 8) {
                    claims.badRecord = true;
                    break;
                }
                sst.emplace_back(stream.data() + body, length);
            }
        }
        if (type == kBiffDimension && (length == 14 || length == 10)) {
            // BIFF8 counts rows in 32 bits, BIFF5 in 16; the last values are
            // one past the last row and column.
            const bool biff8 = length == 14;
            const std::uint32_t rows = biff8 ? u32At(stream, body + 4) : u16At(stream, body + 2);
            const std::uint32_t columns = u16At(stream, body + (biff8 ? 10 : 6));
            claims.largestRowCount = std::max(claims.largestRowCount, rows);
            claims.largestColumnCount = std::max(claims.largestColumnCount, columns);
            claims.declaredCells += std::uint64_t{rows} * columns;
        } else if (type == kBiffSst && length >= 8) {
            claims.sharedStrings =
                std::max<std::uint64_t>(claims.sharedStrings, u32At(stream, body + 4));
        } else if (type == kBiffBoundSheet) {
            ++sheets;
        }
        if (at == 0 && type != kBiffBof) {
            claims.badRecord = true;
            break;
        }
        if (at == 0) biff8 = length >= 2 && u16At(stream, body) == 0x0600;
        if (!textFits(stream, type, body, length, biff8)) {
            claims.badRecord = true;
            break;
        }
        if (type == kBiffDimension && depth == 1) ++dimensions;
        if (type == kBiffBof) {
            if (depth++ == 0) {
                worksheet = length >= 4 && u16At(stream, body + 2) == kBiffWorksheetKind;
                dimensions = 0;
            }
        } else if (type == kBiffEof) {
            if (depth == 0 || (depth == 1 && worksheet && dimensions != 1)) {
                claims.badRecord = true;
                break;
            }
            if (--depth == 0 && ++ends == sheets + 1) {
                used = body + length;
                complete = true;
                break;
            }
        }
        at = body + length;
    }
    // A stream that ends inside a substream, or with fewer substreams than
    // its globals list sheets, is damaged.
    if (!complete) claims.badRecord = true;
    stream.resize(used);
    if (inSst) endSst();
    if (streamOut != nullptr) *streamOut = std::move(stream);
    return claims;
}

}  // namespace qarv::detail
