#pragma once
// The results table's 171 columns: titles, widths, alignments, colours and
// text forms, in one table that the row logic, the window, the workbook and
// the tests all read.

#include <array>
#include <optional>
#include <string_view>

#include "results/number_format.h"
#include "sheet/sheet_layout.h"

namespace qarv {

inline constexpr int kResultColumnCount = 171;
inline constexpr int kFormattedCellCount = 164;  // columns 0 to 163 carry a row's texts
inline constexpr std::string_view kResultsCornerText = "Qarvelion";

enum class ResultKind : std::uint8_t {
    Unused,  // separators and the trailing columns 164 to 170
    Text,    // sample names and classification texts
    Number,  // a quantity shown in the column's number form
};

struct ResultColumn {
    std::string_view title;           // row-1 text
    std::optional<int> width;         // twips; empty: the grid default
    CellAlignment alignment;          // data cells; General for untitled columns
    CellAlignment titleAlignment;     // row-1 cell
    std::optional<Rgb> numberColour;  // background of the row-0 number cell
    ResultKind kind;
    NumberForm form;  // for ResultKind::Number
    SheetBlock block;
};

const std::array<ResultColumn, kResultColumnCount>& resultColumns();

// First columns of the runs that the row logic fills.
namespace rc {
inline constexpr int kOxySample = 0;
inline constexpr int kOxides = 1;  // 23 oxide wt%
inline constexpr int kOxideTotal = 24;
inline constexpr int kCalcOxides = 26;  // FeO, Fe2O3, MnO, Mn2O3, CoO, Co2O3 (calc.)
inline constexpr int kCations = 33;     // 23 apfu
inline constexpr int kCationTotal = 56;
inline constexpr int kRatios = 58;        // 8 ratios
inline constexpr int kChargeTotals = 67;  // Total R2+ ... R5+
inline constexpr int kOxyDominantA = 72;
inline constexpr int kOxyDominantB = 73;
inline constexpr int kOxyGroup = 75;  // group, subgroup, species
inline constexpr int kOxySpecies = 77;
inline constexpr int kOxyLast = 77;
inline constexpr int kThioSample = 79;
inline constexpr int kThioWt = 80;  // 24 element wt%
inline constexpr int kThioWtTotal = 104;
inline constexpr int kThioApfu = 106;  // 24 apfu
inline constexpr int kThioApfuTotal = 130;
inline constexpr int kThioDominantA = 132;
inline constexpr int kThioGroup = 135;
inline constexpr int kThioSpecies = 137;
inline constexpr int kThioLast = 137;
inline constexpr int kSelenoSample = 139;
inline constexpr int kSelenoWt = 140;  // 7 element wt%
inline constexpr int kSelenoWtTotal = 147;
inline constexpr int kSelenoApfu = 149;  // 7 apfu
inline constexpr int kSelenoApfuTotal = 156;
inline constexpr int kSelenoDominantA = 158;
inline constexpr int kSelenoGroup = 161;
inline constexpr int kSelenoSpecies = 163;
inline constexpr int kSelenoLast = 163;
}  // namespace rc

}  // namespace qarv
