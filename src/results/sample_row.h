#pragma once
// One analysed row as the 164 texts of the results table's columns 0 to 163.

#include <array>
#include <string>

#include "calc/row_calculation.h"
#include "results/number_format.h"
#include "results/results_layout.h"

namespace qarv {

using SampleRow = std::array<std::string, kFormattedCellCount>;

// Formats every quantity in its column's text form, then blanks the blocks
// that hold no analysis: the oxyspinel block (columns 1 to 77) when its
// formatted total reads 0 or below 80, the cation total when it reads 0, the
// thiospinel block (80 to 137) when S is 0 and the selenospinel block (140 to
// 163) when Se is 0. Sample names are never blanked.
SampleRow formatSampleRow(const RowResults& row, const NumberFormatSettings& settings);
// The same into a row whose texts are replaced (their storage is reused, so
// a loop over many rows does not allocate for each).
void formatSampleRowInto(SampleRow& texts, const RowResults& row,
                         const NumberFormatSettings& settings);

}  // namespace qarv
