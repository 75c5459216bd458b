// The current sheet tab of an .xls file, which FreeXL does not report: a
// minimal, bounded reading of the compound file's directory and the start of
// its workbook stream. Anything out of place gives up rather than guesses.

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <optional>
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

}  // namespace qarv::detail
