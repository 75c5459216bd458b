#include "sheet/sheet_layout.h"

#include "calc/constituents.h"

namespace qarv {
namespace {

constexpr int kValueWidth = 910;
constexpr int kSpacerWidth = 400;

constexpr SheetColumn spacer(int width) {
    return {
        "",   width, CellAlignment::Centre, CellAlignment::General, std::nullopt, SheetBlock::None,
        false};
}

constexpr SheetColumn sampleColumn(std::string_view header, int width, Rgb colour,
                                   SheetBlock block) {
    return {header, width, CellAlignment::Left, CellAlignment::General, colour, block, false};
}

constexpr SheetColumn valueColumn(std::string_view header, Rgb colour, SheetBlock block) {
    return {header, kValueWidth, CellAlignment::Centre, CellAlignment::Centre, colour, block, true};
}

constexpr std::array<SheetColumn, kSheetColumnCount> makeColumns() {
    std::array<SheetColumn, kSheetColumnCount> columns{};
    columns[0] = {
        "Row No",         std::nullopt, CellAlignment::Centre, CellAlignment::Centre, std::nullopt,
        SheetBlock::None, false};
    columns[kOxySampleColumn] =
        sampleColumn("Sample No [Oxyspinel]", 1800, kOxyspinelColour, SheetBlock::Oxyspinel);
    for (int i = 0; i < kOxyValueCount; ++i) {
        columns[kOxyFirstValueColumn + i] =
            valueColumn(kOxides[i].name, kOxyspinelColour, SheetBlock::Oxyspinel);
    }
    columns[25] = spacer(kSpacerWidth);
    columns[kThioSampleColumn] =
        sampleColumn("Sample No [Thiospinel]", 1800, kThiospinelColour, SheetBlock::Thiospinel);
    for (int i = 0; i < kThioValueCount; ++i) {
        columns[kThioFirstValueColumn + i] =
            valueColumn(kThioElements[i].symbol, kThiospinelColour, SheetBlock::Thiospinel);
    }
    columns[51] = spacer(kSpacerWidth);
    columns[kSelenoSampleColumn] = sampleColumn("Sample No [Selenospinel]", 2000,
                                                kSelenospinelColour, SheetBlock::Selenospinel);
    for (int i = 0; i < kSelenoValueCount; ++i) {
        columns[kSelenoFirstValueColumn + i] =
            valueColumn(kSelenoElements[i].symbol, kSelenospinelColour, SheetBlock::Selenospinel);
    }
    columns[60] = spacer(kValueWidth);
    return columns;
}

constexpr std::array<SheetColumn, kSheetColumnCount> kColumns = makeColumns();

}  // namespace

const std::array<SheetColumn, kSheetColumnCount>& sheetColumns() {
    return kColumns;
}

}  // namespace qarv
