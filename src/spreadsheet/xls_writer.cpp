// .xls writing: the BIFF8 workbook stream is built in memory, put into a
// compound file and written under a temporary name beside the target, which
// is renamed onto the target when the file is complete.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "common/run_errors.h"
#include "spreadsheet/file_checks.h"
#include "spreadsheet/workbook_file.h"
#include "spreadsheet/xls_format.h"

namespace qarv {
namespace detail {
namespace {

constexpr int kXlsMaxRows = 65536;
constexpr int kXlsMaxColumns = 256;
constexpr std::size_t kMaxCellTextUnits = 32767;  // UTF-16 code units
constexpr std::size_t kMaxSheetNameUnits = 31;
constexpr unsigned kFirstCustomFormat = 164;
constexpr unsigned kStyleXfCount = 15;  // then the default cell format, 15

class Bytes {
public:
    void u8(unsigned v) { data.push_back(static_cast<char>(v & 0xFF)); }
    void u16(unsigned v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void f64(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(static_cast<std::uint32_t>(bits));
        u32(static_cast<std::uint32_t>(bits >> 32));
    }
    void units(const std::u16string& s) {
        for (char16_t c : s) u16(c);
    }
    void raw(const std::string& s) { data += s; }
    void record(unsigned type, const std::string& body) {
        u16(type);
        u16(static_cast<unsigned>(body.size()));
        raw(body);
    }
    std::string data;
};

// UTF-8 to UTF-16; bytes that are no UTF-8 become U+FFFD.
std::u16string utf16(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::uint32_t cp = 0xFFFD;
        std::size_t length = 1;
        if (b < 0x80) {
            cp = b;
        } else {
            const std::size_t need = b >= 0xF0 && b < 0xF5 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
            if (need != 0 && i + need <= text.size()) {
                std::uint32_t v = b & (0x7F >> need);
                bool good = true;
                for (std::size_t k = 1; k < need && good; ++k) {
                    const auto c = static_cast<unsigned char>(text[i + k]);
                    good = (c & 0xC0) == 0x80;
                    v = (v << 6) | (c & 0x3F);
                }
                const std::uint32_t least[5] = {0, 0, 0x80, 0x800, 0x10000};
                if (good && v >= least[need] && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF)) {
                    cp = v;
                    length = need;
                }
            }
        }
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += length;
    }
    return out;
}

// Cut to n code units without splitting a surrogate pair.
std::u16string cutUnits(std::u16string s, std::size_t n) {
    if (s.size() <= n) return s;
    if (n > 0 && s[n - 1] >= 0xD800 && s[n - 1] < 0xDC00) --n;
    s.resize(n);
    return s;
}

// A string with a 16-bit length, always as UTF-16 (flags 1).
std::string longString(const std::u16string& s) {
    Bytes b;
    b.u16(static_cast<unsigned>(s.size()));
    b.u8(1);
    b.units(s);
    return b.data;
}

// A string with an 8-bit length.
std::string shortString(const std::u16string& s) {
    Bytes b;
    b.u8(static_cast<unsigned>(s.size()));
    b.u8(1);
    b.units(s);
    return b.data;
}

std::string bof(unsigned kind) {
    Bytes b;
    b.u16(0x0600);  // BIFF8
    b.u16(kind);
    b.u16(0x0DBB);  // build
    b.u16(0x07CC);  // year
    b.u32(0x000100C1);
    b.u32(0x00000406);
    return b.data;
}

std::string font() {
    Bytes b;
    b.u16(200);     // 10 points
    b.u16(0);       // plain
    b.u16(0x7FFF);  // automatic colour
    b.u16(400);     // normal weight
    b.u16(0);
    b.u8(0);
    b.u8(0);
    b.u8(0);
    b.u8(0);
    b.raw(shortString(u"Arial"));
    return b.data;
}

std::string xf(unsigned formatIndex, bool style) {
    Bytes b;
    b.u16(0);  // font
    b.u16(formatIndex);
    b.u16(style ? 0xFFF5 : 0x0001);  // locked; a style has no parent
    b.u8(0x20);                      // bottom aligned
    b.u8(0);
    b.u8(0);
    b.u8(style ? 0xF4 : 0);  // attributes of its own
    b.u32(0);                // no borders
    b.u32(0);
    b.u16(0x20C0);  // automatic pattern colours
    return b.data;
}

bool badSheetName(const std::u16string& name) {
    if (name.empty() || name.size() > kMaxSheetNameUnits) return true;
    if (name.front() == u'\'' || name.back() == u'\'') return true;
    return name.find_first_of(u"[]:*?/\\") != std::u16string::npos;
}

std::u16string foldedName(std::u16string name) {
    for (auto& c : name)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return name;
}

// The shared strings in CONTINUE records where they outgrow one record. A
// string's length and flags stay in one record; its characters may go on in
// the next, which then starts with the flags again.
void sharedStrings(Bytes& out, const std::vector<std::u16string>& strings, std::size_t uses) {
    std::vector<std::string> bodies(1);
    Bytes head;
    head.u32(static_cast<std::uint32_t>(uses));
    head.u32(static_cast<std::uint32_t>(strings.size()));
    bodies.back() = head.data;
    for (const auto& s : strings) {
        if (bodies.back().size() + 3 > kBiffMaxRecordBody) bodies.emplace_back();
        Bytes h;
        h.u16(static_cast<unsigned>(s.size()));
        h.u8(1);
        bodies.back() += h.data;
        std::size_t done = 0;
        while (done < s.size()) {
            std::size_t room = (kBiffMaxRecordBody - bodies.back().size()) / 2;
            if (room == 0) {
                bodies.emplace_back(1, '\x01');
                continue;
            }
            const std::size_t n = std::min(room, s.size() - done);
            Bytes chars;
            chars.units(s.substr(done, n));
            bodies.back() += chars.data;
            done += n;
        }
    }
    for (std::size_t i = 0; i < bodies.size(); ++i) out.record(i == 0 ? 0x00FC : 0x003C, bodies[i]);
}

}  // namespace

bool biffWorkbookStream(const Workbook& source, std::string& stream, std::string& message) {
    Workbook fallback;
    if (source.sheets.empty()) fallback.addSheet("Sheet1");
    const Workbook& book = source.sheets.empty() ? fallback : source;
    const std::size_t active = book.activeSheet < book.sheets.size() ? book.activeSheet : 0;

    std::vector<std::u16string> names;
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        const std::string& given = book.sheets[i].name;
        std::u16string name = utf16(given.empty() ? "Sheet" + std::to_string(i + 1) : given);
        if (badSheetName(name)) {
            message = "sheet name \"" + given + "\" is not allowed";
            return false;
        }
        for (const auto& earlier : names)
            if (foldedName(earlier) == foldedName(name)) {
                message = "sheet name \"" + given + "\" is used twice";
                return false;
            }
        names.push_back(std::move(name));
    }

    // Number formats and shared strings, in the order the cells meet them.
    std::map<std::string, unsigned> formatXf;  // number format -> cell format index
    std::vector<std::string> formats;
    std::map<std::u16string, std::uint32_t> stringIndex;
    std::vector<std::u16string> strings;
    std::size_t stringUses = 0;
    for (const Worksheet& sheet : book.sheets) {
        for (const auto& [at, cell] : sheet.cells) {
            if (at.first < 1 || at.first > kXlsMaxRows || at.second < 1 || at.second > kXlsMaxColumns) {
                message = "cell " + columnLetters(std::max(at.second, 1)) + std::to_string(at.first) +
                          " of sheet " + sheet.name + " is beyond an .xls sheet (65536 rows, 256 columns)";
                return false;
            }
            if (cell.kind == Cell::Kind::Number) {
                if (!cell.numberFormat.empty() && !formatXf.count(cell.numberFormat)) {
                    formatXf.emplace(cell.numberFormat,
                                     kStyleXfCount + 1 + static_cast<unsigned>(formats.size()));
                    formats.push_back(cell.numberFormat);
                }
            } else if (!cell.text.empty()) {
                auto text = cutUnits(utf16(cell.text), kMaxCellTextUnits);
                if (stringIndex.emplace(text, static_cast<std::uint32_t>(strings.size())).second)
                    strings.push_back(std::move(text));
                ++stringUses;
            }
        }
    }

    std::vector<std::string> sheetStreams;
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        const Worksheet& sheet = book.sheets[i];
        Bytes s;
        s.record(kBiffBof, bof(0x0010));
        int firstRow = kXlsMaxRows, lastRow = 0, firstColumn = kXlsMaxColumns, lastColumn = 0;
        for (const auto& [at, cell] : sheet.cells) {
            if (cell.kind == Cell::Kind::Text && cell.text.empty()) continue;
            firstRow = std::min(firstRow, at.first - 1);
            lastRow = std::max(lastRow, at.first);
            firstColumn = std::min(firstColumn, at.second - 1);
            lastColumn = std::max(lastColumn, at.second);
        }
        if (lastRow == 0) firstRow = firstColumn = 0;
        Bytes dimensions;
        dimensions.u32(static_cast<std::uint32_t>(firstRow));
        dimensions.u32(static_cast<std::uint32_t>(lastRow));
        dimensions.u16(static_cast<unsigned>(firstColumn));
        dimensions.u16(static_cast<unsigned>(lastColumn));
        dimensions.u16(0);
        s.record(0x0200, dimensions.data);
        for (const auto& [at, cell] : sheet.cells) {
            Bytes c;
            c.u16(static_cast<unsigned>(at.first - 1));
            c.u16(static_cast<unsigned>(at.second - 1));
            if (cell.kind == Cell::Kind::Number) {
                c.u16(cell.numberFormat.empty() ? kStyleXfCount : formatXf.at(cell.numberFormat));
                c.f64(cell.number);
                s.record(0x0203, c.data);
            } else if (!cell.text.empty()) {
                c.u16(kStyleXfCount);
                c.u32(stringIndex.at(cutUnits(utf16(cell.text), kMaxCellTextUnits)));
                s.record(0x00FD, c.data);
            }
        }
        Bytes window2;
        // Grid, headers, zeros, automatic grid colour, outline symbols; the
        // active sheet is also selected and shown.
        window2.u16(i == active ? 0x06B6 : 0x00B6);
        window2.u16(0);
        window2.u16(0);
        window2.u16(64);
        window2.u16(0);
        window2.u16(0);
        window2.u16(0);
        window2.u32(0);
        s.record(0x023E, window2.data);
        s.record(kBiffEof, "");
        sheetStreams.push_back(std::move(s.data));
    }

    // The globals up to the sheet records, whose offsets depend on their size.
    const auto globals = [&](const std::vector<std::uint32_t>& offsets) {
        Bytes g;
        g.record(kBiffBof, bof(0x0005));
        Bytes codepage;
        codepage.u16(1200);  // UTF-16
        g.record(0x0042, codepage.data);
        Bytes window1;
        window1.u16(0);
        window1.u16(0);
        window1.u16(0x4000);
        window1.u16(0x2000);
        window1.u16(0x0038);  // scroll bars and sheet tabs shown
        window1.u16(static_cast<unsigned>(active));
        window1.u16(0);
        window1.u16(1);
        window1.u16(600);
        g.record(kBiffWindow1, window1.data);
        for (int f = 0; f < 5; ++f)
            if (f != 4) g.record(0x0031, font());  // font 4 does not exist
        for (std::size_t f = 0; f < formats.size(); ++f) {
            Bytes format;
            format.u16(kFirstCustomFormat + static_cast<unsigned>(f));
            format.raw(longString(cutUnits(utf16(formats[f]), 255)));
            g.record(0x041E, format.data);
        }
        for (unsigned x = 0; x < kStyleXfCount; ++x) g.record(0x00E0, xf(0, true));
        g.record(0x00E0, xf(0, false));
        for (std::size_t f = 0; f < formats.size(); ++f)
            g.record(0x00E0, xf(kFirstCustomFormat + static_cast<unsigned>(f), false));
        Bytes style;  // the built-in Normal style
        style.u16(0x8000);
        style.u8(0);
        style.u8(0xFF);
        g.record(0x0293, style.data);
        for (std::size_t i = 0; i < names.size(); ++i) {
            Bytes sheet;
            sheet.u32(offsets.empty() ? 0 : offsets[i]);
            sheet.u8(0);  // visible
            sheet.u8(0);  // worksheet
            sheet.raw(shortString(names[i]));
            g.record(kBiffBoundSheet, sheet.data);
        }
        sharedStrings(g, strings, stringUses);
        g.record(kBiffEof, "");
        return g.data;
    };
    std::vector<std::uint32_t> offsets;
    std::uint64_t at = globals({}).size();
    for (const auto& s : sheetStreams) {
        offsets.push_back(static_cast<std::uint32_t>(at));
        at += s.size();
    }
    if (at > 0x7FFFFFFF) {
        message = "the workbook is too large for an .xls file";
        return false;
    }
    stream = globals(offsets);
    for (const auto& s : sheetStreams) stream += s;
    return true;
}

std::string compoundFileWithWorkbook(std::string stream) {
    constexpr std::uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatSector = 0xFFFFFFFD,
                            kDifatSector = 0xFFFFFFFC, kNone = 0xFFFFFFFF;
    constexpr std::size_t kSector = 512, kIdsPerSector = kSector / 4, kHeaderFatIds = 109;
    if (stream.size() < 4096) stream.resize(4096, '\0');
    const std::size_t streamBytes = stream.size();
    const std::size_t streamSectors = (streamBytes + kSector - 1) / kSector;
    stream.resize(streamSectors * kSector, '\0');

    // FAT sectors enough for every sector, themselves and the DIFAT included.
    std::size_t fatSectors = 1, difatSectors = 0;
    for (;;) {
        difatSectors = fatSectors > kHeaderFatIds
                           ? (fatSectors - kHeaderFatIds + kIdsPerSector - 2) / (kIdsPerSector - 1)
                           : 0;
        const std::size_t total = difatSectors + fatSectors + 1 + streamSectors;
        if (fatSectors * kIdsPerSector >= total) break;
        ++fatSectors;
    }
    // Layout: DIFAT sectors, FAT sectors, the directory, the stream.
    const auto firstFat = static_cast<std::uint32_t>(difatSectors);
    const auto directorySector = static_cast<std::uint32_t>(difatSectors + fatSectors);
    const std::uint32_t firstStreamSector = directorySector + 1;

    Bytes h;
    h.raw(std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    h.raw(std::string(16, '\0'));
    h.u16(0x003E);
    h.u16(0x0003);
    h.u16(0xFFFE);
    h.u16(9);  // 512-byte sectors
    h.u16(6);  // 64-byte mini sectors
    h.raw(std::string(6, '\0'));
    h.u32(0);  // directory sectors (always 0 in version 3)
    h.u32(static_cast<std::uint32_t>(fatSectors));
    h.u32(directorySector);
    h.u32(0);     // transaction
    h.u32(4096);  // mini-stream cutoff
    h.u32(kEnd);  // no mini FAT
    h.u32(0);
    h.u32(difatSectors ? 0 : kEnd);
    h.u32(static_cast<std::uint32_t>(difatSectors));
    for (std::size_t i = 0; i < kHeaderFatIds; ++i)
        h.u32(i < fatSectors ? firstFat + static_cast<std::uint32_t>(i) : kFree);

    Bytes difat;
    for (std::size_t d = 0; d < difatSectors; ++d) {
        for (std::size_t k = 0; k < kIdsPerSector - 1; ++k) {
            const std::size_t fat = kHeaderFatIds + d * (kIdsPerSector - 1) + k;
            difat.u32(fat < fatSectors ? firstFat + static_cast<std::uint32_t>(fat) : kFree);
        }
        difat.u32(d + 1 < difatSectors ? static_cast<std::uint32_t>(d + 1) : kEnd);
    }

    Bytes fat;
    for (std::size_t d = 0; d < difatSectors; ++d) fat.u32(kDifatSector);
    for (std::size_t f = 0; f < fatSectors; ++f) fat.u32(kFatSector);
    fat.u32(kEnd);  // the directory
    for (std::size_t i = 0; i < streamSectors; ++i)
        fat.u32(i + 1 == streamSectors ? kEnd : firstStreamSector + static_cast<std::uint32_t>(i) + 1);
    while (fat.data.size() < fatSectors * kSector) fat.u32(kFree);

    const auto entry = [](const std::u16string& name, unsigned type, std::uint32_t child, std::uint32_t start,
                          std::uint32_t size) {
        Bytes e;
        e.units(name);
        e.raw(std::string(64 - 2 * name.size(), '\0'));
        e.u16(name.empty() ? 0 : static_cast<unsigned>(2 * name.size() + 2));
        e.u8(type);
        e.u8(1);  // black
        e.u32(kNone);
        e.u32(kNone);
        e.u32(child);
        e.raw(std::string(16 + 4 + 16, '\0'));
        e.u32(start);
        e.u32(size);
        e.u32(0);
        return e.data;
    };
    const std::string directory =
        entry(u"Root Entry", 5, 1, kEnd, 0) +
        entry(u"Workbook", 2, kNone, firstStreamSector, static_cast<std::uint32_t>(streamBytes)) +
        entry(u"", 0, kNone, 0, 0) + entry(u"", 0, kNone, 0, 0);
    return h.data + difat.data + fat.data + directory + stream;
}

}  // namespace detail

int writeXlsFile(const Workbook& book, const std::filesystem::path& path, std::string* message) {
    std::string why;
    const auto done = [&](int rc) {
        if (message) *message = why;
        return rc;
    };
    std::string stream;
    if (!detail::biffWorkbookStream(book, stream, why)) return done(err::kCantPerformOperation);
    const std::string file = detail::compoundFileWithWorkbook(std::move(stream));

    AtomicFile out(path);
    out.write(file);
    if (!out.commit()) {
        why = "cannot write " + path.string() + ": " + out.error();
        return done(runErrorNumber(out.errorCode(), path));
    }
    return done(err::kNone);
}

}  // namespace qarv
