#pragma once
// The analysis sheet's fixed shape and its column layout: one table that the
// sheet model, the calculation run, the grid and the tests all read.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "calc/constituents.h"

namespace qarv {

struct Rgb {
    std::uint8_t r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class CellAlignment : std::uint8_t {
    General,  // the grid's default: text to the left, numbers to the right
    Left,     // left, vertically centred (the grid's code 1)
    Centre,   // centred both ways (the grid's code 4)
};

enum class SheetBlock : std::uint8_t { None, Oxyspinel, Thiospinel, Selenospinel };

struct SheetColumn {
    std::string_view header;   // text of row 0 ("" for the untitled columns)
    std::optional<int> width;  // twips; column 0 keeps the grid default
    CellAlignment headerAlignment;
    CellAlignment dataAlignment;
    std::optional<Rgb> headerColour;  // empty: the grid's fixed-cell colour
    SheetBlock block;
    bool isValue;  // a wt% column read as a number
};

inline constexpr int kSheetRowCount = 201;    // header row + 200 data rows
inline constexpr int kSheetColumnCount = 61;  // row-number column + 60
inline constexpr int kLastDataRow = kSheetRowCount - 1;
inline constexpr int kLastDataColumn = kSheetColumnCount - 1;

// Column indices of the three blocks.
inline constexpr int kOxySampleColumn = 1;
inline constexpr int kOxyFirstValueColumn = 2;      // SiO2
inline constexpr int kOxyValueCount = kOxideCount;  // SiO2 ... Sb2O5
inline constexpr int kAl2O3Column = kOxyFirstValueColumn + Al2O3;
inline constexpr int kThioSampleColumn = 26;
inline constexpr int kThioFirstValueColumn = 27;           // Cu
inline constexpr int kThioValueCount = kThioElementCount;  // Cu ... S
inline constexpr int kThioSulfurColumn = kThioFirstValueColumn + tS;
inline constexpr int kSelenoSampleColumn = 52;
inline constexpr int kSelenoFirstValueColumn = 53;             // Cu
inline constexpr int kSelenoValueCount = kSelenoElementCount;  // Cu ... Se
inline constexpr int kSelenoSeleniumColumn = kSelenoFirstValueColumn + sSe;

inline constexpr Rgb kOxyspinelColour{242, 255, 229};
inline constexpr Rgb kThiospinelColour{255, 230, 230};
inline constexpr Rgb kSelenospinelColour{220, 230, 255};

// The 61 columns, index = column number.
const std::array<SheetColumn, kSheetColumnCount>& sheetColumns();

}  // namespace qarv
