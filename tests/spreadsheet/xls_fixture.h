#pragma once
// A BIFF8 workbook stream built by hand, with what files from other writers
// hold and the module's own writer does not: 8-bit strings, integer (RK)
// cells and no WINDOW1 record. The module's compound-file writer puts it in a
// file; compoundFileWithMiniStream() puts a small stream where other writers
// do, in the mini stream.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qarv::test {

struct XlsCell {
    int row;     // from 0
    int column;  // from 0
    enum class Kind { Text, Integer, Double } kind;
    std::string text;  // ASCII
    double number = 0;
};

struct XlsSheet {
    std::string name;  // ASCII
    std::vector<XlsCell> cells;
};

class ByteWriter {
public:
    void u8(unsigned v) { bytes.push_back(static_cast<char>(v & 0xFF)); }
    void u16(unsigned v) { u8(v); u8(v >> 8); }
    void u32(std::uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); }
    void f64(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        u32(static_cast<std::uint32_t>(bits));
        u32(static_cast<std::uint32_t>(bits >> 32));
    }
    void raw(const std::string& s) { bytes += s; }
    void record(unsigned type, const std::string& body) {
        u16(type);
        u16(static_cast<unsigned>(body.size()));
        raw(body);
    }
    std::string bytes;
};

inline std::string biffWorkbookStream(const std::vector<XlsSheet>& sheets) {
    std::vector<std::string> strings;
    for (const auto& sheet : sheets)
        for (const auto& cell : sheet.cells)
            if (cell.kind == XlsCell::Kind::Text) strings.push_back(cell.text);

    const auto bof = [](unsigned kind) {
        ByteWriter b;
        b.u16(0x0600);
        b.u16(kind);
        b.u16(0x0DBB);
        b.u16(0x07CC);
        b.u32(0);
        b.u32(0x06);
        return b.bytes;
    };
    // The globals up to the sheet records, whose offsets depend on their size.
    const auto globals = [&](const std::vector<std::uint32_t>& offsets) {
        ByteWriter g;
        g.record(0x0809, bof(0x0005));
        ByteWriter codepage;
        codepage.u16(0x04B0);
        g.record(0x0042, codepage.bytes);
        for (std::size_t i = 0; i < sheets.size(); ++i) {
            ByteWriter bs;
            bs.u32(offsets.empty() ? 0 : offsets[i]);
            bs.u8(0);  // visible
            bs.u8(0);  // worksheet
            bs.u8(static_cast<unsigned>(sheets[i].name.size()));
            bs.u8(0);  // 8-bit characters
            bs.raw(sheets[i].name);
            g.record(0x0085, bs.bytes);
        }
        ByteWriter sst;
        sst.u32(static_cast<std::uint32_t>(strings.size()));
        sst.u32(static_cast<std::uint32_t>(strings.size()));
        for (const auto& s : strings) {
            sst.u16(static_cast<unsigned>(s.size()));
            sst.u8(0);
            sst.raw(s);
        }
        g.record(0x00FC, sst.bytes);
        g.record(0x000A, "");
        return g.bytes;
    };

    std::vector<std::string> sheetStreams;
    std::size_t stringIndex = 0;
    for (const auto& sheet : sheets) {
        ByteWriter s;
        s.record(0x0809, bof(0x0010));
        int lastRow = 0, lastColumn = 0;
        for (const auto& cell : sheet.cells) {
            lastRow = std::max(lastRow, cell.row + 1);
            lastColumn = std::max(lastColumn, cell.column + 1);
        }
        ByteWriter dim;
        dim.u32(0);
        dim.u32(static_cast<std::uint32_t>(lastRow));
        dim.u16(0);
        dim.u16(static_cast<unsigned>(lastColumn));
        dim.u16(0);
        s.record(0x0200, dim.bytes);
        for (const auto& cell : sheet.cells) {
            ByteWriter c;
            c.u16(static_cast<unsigned>(cell.row));
            c.u16(static_cast<unsigned>(cell.column));
            c.u16(0);  // format
            switch (cell.kind) {
                case XlsCell::Kind::Text:
                    c.u32(static_cast<std::uint32_t>(stringIndex++));
                    s.record(0x00FD, c.bytes);
                    break;
                case XlsCell::Kind::Integer:
                    c.u32((static_cast<std::uint32_t>(static_cast<std::int32_t>(cell.number)) << 2) | 2u);
                    s.record(0x027E, c.bytes);
                    break;
                case XlsCell::Kind::Double:
                    c.f64(cell.number);
                    s.record(0x0203, c.bytes);
                    break;
            }
        }
        s.record(0x000A, "");
        sheetStreams.push_back(s.bytes);
    }
    std::vector<std::uint32_t> offsets;
    std::uint32_t at = static_cast<std::uint32_t>(globals({}).size());
    for (const auto& stream : sheetStreams) {
        offsets.push_back(at);
        at += static_cast<std::uint32_t>(stream.size());
    }
    std::string out = globals(offsets);
    for (const auto& stream : sheetStreams) out += stream;
    return out;
}

// A compound file whose stream "Workbook", shorter than the 4096-byte
// cutoff, lives in the mini stream: header, FAT (sector 0), directory
// (sector 1), mini FAT (sector 2), then the mini stream, held by the root
// entry.
inline std::string compoundFileWithMiniStream(std::string stream) {
    constexpr std::uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatSector = 0xFFFFFFFD;
    const std::size_t streamSize = stream.size();
    const std::size_t miniSectors = (streamSize + 63) / 64;
    stream.resize(miniSectors * 64, '\0');
    const std::size_t sectors = (stream.size() + 511) / 512;
    ByteWriter h;
    h.raw(std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    h.raw(std::string(16, '\0'));
    h.u16(0x003E);
    h.u16(0x0003);
    h.u16(0xFFFE);
    h.u16(9);
    h.u16(6);
    h.raw(std::string(6, '\0'));
    h.u32(0);
    h.u32(1);  // FAT sectors
    h.u32(1);  // first directory sector
    h.u32(0);
    h.u32(4096);
    h.u32(2);  // the mini FAT
    h.u32(1);
    h.u32(kEnd);
    h.u32(0);
    h.u32(0);
    for (int i = 1; i < 109; ++i) h.u32(kFree);

    ByteWriter fat;
    fat.u32(kFatSector);
    fat.u32(kEnd);
    fat.u32(kEnd);
    for (std::size_t i = 0; i < sectors; ++i) fat.u32(i + 1 == sectors ? kEnd : static_cast<std::uint32_t>(4 + i));
    while (fat.bytes.size() < 512) fat.u32(kFree);
    ByteWriter miniFat;
    for (std::size_t i = 0; i < miniSectors; ++i)
        miniFat.u32(i + 1 == miniSectors ? kEnd : static_cast<std::uint32_t>(i + 1));
    while (miniFat.bytes.size() < 512) miniFat.u32(kFree);

    const auto entry = [](const std::string& name, unsigned type, std::uint32_t child, std::uint32_t start,
                          std::uint32_t size) {
        ByteWriter e;
        for (char c : name) e.u16(static_cast<unsigned char>(c));
        e.raw(std::string(64 - 2 * name.size(), '\0'));
        e.u16(name.empty() ? 0 : static_cast<unsigned>(2 * name.size() + 2));
        e.u8(type);
        e.u8(1);
        e.u32(kFree);
        e.u32(kFree);
        e.u32(child);
        e.raw(std::string(16 + 4 + 16, '\0'));
        e.u32(start);
        e.u32(size);
        e.u32(0);
        return e.bytes;
    };
    const std::string directory =
        entry("Root Entry", 5, 1, 3, static_cast<std::uint32_t>(stream.size())) +
        entry("Workbook", 2, kFree, 0, static_cast<std::uint32_t>(streamSize)) + entry("", 0, kFree, 0, 0) +
        entry("", 0, kFree, 0, 0);
    stream.resize(sectors * 512, '\0');
    return h.bytes + fat.bytes + directory + miniFat.bytes + stream;
}

}  // namespace qarv::test
