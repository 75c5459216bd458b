#pragma once
// The .xls file's insides shared by the writer, the reader and the tests (not
// part of the module's interface): a BIFF8 workbook stream held as the stream
// "Workbook" of an OLE2 compound file.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "spreadsheet/workbook.h"

namespace qarv::detail {

// Record types the writer and the reader both look at.
inline constexpr unsigned kBiffBof = 0x0809;
inline constexpr unsigned kBiffEof = 0x000A;
inline constexpr unsigned kBiffWindow1 = 0x003D;
inline constexpr unsigned kBiffBoundSheet = 0x0085;
inline constexpr unsigned kBiffDimension = 0x0200;
inline constexpr unsigned kBiffSst = 0x00FC;
inline constexpr unsigned kBiffContinue = 0x003C;
// The BOF record's substream kind of a worksheet.
inline constexpr unsigned kBiffWorksheetKind = 0x0010;
// The longest body of one record; longer contents go on in CONTINUE records.
inline constexpr std::size_t kBiffMaxRecordBody = 8224;

// The BIFF8 workbook stream of the book: text cells as shared strings,
// number cells as doubles in their number format, the active sheet in
// WINDOW1 and in the sheets' WINDOW2. False with a message for a book an .xls
// cannot hold (a bad sheet name, a cell beyond 65536 rows or 256 columns).
bool biffWorkbookStream(const Workbook& book, std::string& stream, std::string& message);

// A version-3 compound file (512-byte sectors) whose only stream is
// "Workbook". Streams shorter than the mini-stream cutoff are padded to it,
// so that every stream lives in ordinary sectors.
std::string compoundFileWithWorkbook(std::string stream);

// What the workbook globals of an .xls file say about its sheet tabs.
struct XlsSheetTabs {
    std::size_t current = 0;  // the WINDOW1 record's current tab
    std::size_t sheets = 0;   // the BOUNDSHEET records
};
// Reads them from the file's compound directory and Workbook (or Book)
// stream, of which at most readLimit bytes are looked at; nothing when
// there is no readable directory, stream or WINDOW1 record.
std::optional<XlsSheetTabs> readXlsSheetTabs(const std::filesystem::path& path, std::size_t readLimit);

// What an .xls file's workbook stream claims about its size, read by our own
// bounded reading before FreeXL, which allocates whatever these records ask
// for, is let near the file.
struct XlsSizeClaims {
    std::uint64_t streamBytes = 0;
    // Over all DIMENSION records: last row times last column.
    std::uint64_t declaredCells = 0;
    std::uint32_t largestRowCount = 0;
    std::uint32_t largestColumnCount = 0;
    // The SST record's count of distinct strings.
    std::uint64_t sharedStrings = 0;
    // The most CONTINUE records that follow one record.
    std::size_t longestContinueRun = 0;
    // The most records one shared string is spread over (1 when every
    // string fits in its record).
    std::size_t mostRecordsOfOneString = 0;
    // A record longer than BIFF allows, or one that runs past the end of
    // the stream.
    bool badRecord = false;
};
// Reads the whole Workbook (or Book) stream, if it is at most maxStreamBytes
// long, and walks its records; nothing when the compound file or the stream
// cannot be read. The stream's bytes go to *stream when it is given.
std::optional<XlsSizeClaims> readXlsSizeClaims(const std::filesystem::path& path,
                                               std::uint64_t maxStreamBytes,
                                               std::string* stream = nullptr);

}  // namespace qarv::detail
