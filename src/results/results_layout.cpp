#include "results/results_layout.h"

#include <initializer_list>

#include "calc/constituents.h"

namespace qarv {
namespace {

using Columns = std::array<ResultColumn, kResultColumnCount>;

constexpr int kSeparatorWidth = 400;
constexpr int kValueWidth = 940;

// Fills a run of like columns starting at `first`.
class Builder {
  public:
    explicit Builder(Columns& columns) : columns_(columns) {}

    void sample(int column, SheetBlock block) {
        columns_[column] = {"Sample No",         1550,         CellAlignment::Left,
                            CellAlignment::Left, std::nullopt, ResultKind::Text,
                            NumberForm::Plain,   block};
    }

    void numbers(int first, std::initializer_list<std::string_view> titles,
                 std::initializer_list<int> widths, NumberForm form, SheetBlock block) {
        int c = first;
        auto width = widths.begin();
        for (std::string_view title : titles) {
            columns_[c++] = {title,
                             *width,
                             CellAlignment::Centre,
                             CellAlignment::Centre,
                             std::nullopt,
                             ResultKind::Number,
                             form,
                             block};
            if (width + 1 != widths.end()) ++width;
        }
    }

    void texts(int first, std::initializer_list<std::string_view> titles,
               std::initializer_list<int> widths, CellAlignment alignment, SheetBlock block) {
        int c = first;
        auto width = widths.begin();
        for (std::string_view title : titles) {
            columns_[c++] = {title,        *width,           alignment,         alignment,
                             std::nullopt, ResultKind::Text, NumberForm::Plain, block};
            if (width + 1 != widths.end()) ++width;
        }
    }

    void separator(int column) {
        columns_[column] = {
            "",           kSeparatorWidth,    CellAlignment::General, CellAlignment::General,
            std::nullopt, ResultKind::Unused, NumberForm::Plain,      SheetBlock::None};
    }

  private:
    Columns& columns_;
};

Columns makeColumns() {
    Columns columns{};
    for (auto& column : columns) {
        column = {"",           std::nullopt,       CellAlignment::General, CellAlignment::General,
                  std::nullopt, ResultKind::Unused, NumberForm::Plain,      SheetBlock::None};
    }
    Builder b(columns);
    constexpr auto oxy = SheetBlock::Oxyspinel;
    constexpr auto thio = SheetBlock::Thiospinel;
    constexpr auto seleno = SheetBlock::Selenospinel;
    constexpr auto centre = CellAlignment::Centre;
    constexpr auto left = CellAlignment::Left;

    b.sample(rc::kOxySample, oxy);
    b.numbers(rc::kOxides, {"[SiO2", "TiO2",  "GeO2", "Al2O3", "Ti2O3", "Cr2O3", "V2O3", "Fe2O3",
                            "Mn2O3", "Co2O3", "VO",   "FeO",   "MgO",   "CaO",   "MnO",  "CuO",
                            "ZnO",   "CoO",   "NiO",  "Na2O",  "K2O",   "Li2O",  "Sb2O5"},
              {kValueWidth}, NumberForm::F3, oxy);
    b.numbers(rc::kOxideTotal, {"Total (%)]"}, {1200}, NumberForm::F3, oxy);
    b.numbers(rc::kCalcOxides,
              {"[FeO(calc.)", "Fe2O3(calc.) (%)]", "[MnO(calc.)", "Mn2O3(calc.) (%)]",
               "[CoO(calc.)", "Co2O3(calc.) (%)]"},
              {1400, 1800, 1400, 1800, 1400, 1800}, NumberForm::F2, oxy);
    b.numbers(rc::kCations, {"[Si",  "Ti",   "Ge",  "Al",   "Ti3+", "Cr", "V3+", "Fe3+",
                             "Mn3+", "Co3+", "V2+", "Fe2+", "Mg",   "Ca", "Mn",  "Cu",
                             "Zn",   "Co2+", "Ni",  "Na",   "K",    "Li", "Sb5+"},
              {kValueWidth}, NumberForm::F4, oxy);
    columns[rc::kCations + Ge].form = NumberForm::F3g;  // Ge shows three decimals
    b.numbers(rc::kCationTotal, {"Total (apfu)]"}, {1300}, NumberForm::F3, oxy);
    b.numbers(rc::kRatios,
              {"Fe3+ / Fe2+", "Fe3+ / (Fe3+ + Fe2+)", "Cr / (Cr + Al)", "Fe2+ / (Fe2+ + Mg)",
               "Cr / (Cr + Al + Fe3+)", "Fe3+ / (Fe3+ + Al + Cr)", "Al / (Al + Fe3+ + Cr)",
               "Ti / (Ti + Cr + Al)"},
              {1300, 1900, 1500, 1800, 1900, 2000, 1900, 1600}, NumberForm::F2, oxy);
    b.numbers(rc::kChargeTotals, {"Total R2+", "Total R3+", "Total R4+", "Total R5+"}, {1200},
              NumberForm::F2, oxy);
    b.texts(rc::kOxyDominantA, {"[Dominant A Cation", "Dominant B Cation]"}, {2100, 1700}, centre,
            oxy);
    b.texts(rc::kOxyGroup, {"[Spinel Group", "Spinel Subgroup", "Spinel Species]"},
            {1500, 1900, 1800}, left, oxy);

    const std::initializer_list<std::string_view> thioElements = {
        "[Cu", "Ag", "Cd", "Fe", "Mn", "Zn", "Ge", "Co", "Ni", "Pb", "Bi", "Cr",
        "V",   "In", "Sb", "As", "Sn", "Ir", "Pd", "Pt", "Rh", "Se", "Te", "S"};
    b.sample(rc::kThioSample, thio);
    b.numbers(rc::kThioWt, thioElements, {kValueWidth}, NumberForm::Plain, thio);
    b.numbers(rc::kThioWtTotal, {"Total (%)]"}, {kValueWidth}, NumberForm::F2, thio);
    b.numbers(rc::kThioApfu, thioElements, {kValueWidth}, NumberForm::F3, thio);
    b.numbers(rc::kThioApfuTotal, {"Total]"}, {kValueWidth}, NumberForm::F2, thio);
    b.texts(rc::kThioDominantA, {"[Dominant A Cation", "Dominant B Cation]"}, {1700}, centre, thio);
    b.texts(rc::kThioGroup, {"[Spinel Group", "Spinel Subgroup", "Spinel Species]"},
            {1700, 2200, 1800}, left, thio);

    const std::initializer_list<std::string_view> selenoElements = {"[Cu", "Fe", "Co", "Ni",
                                                                    "Pb",  "S",  "Se"};
    b.sample(rc::kSelenoSample, seleno);
    b.numbers(rc::kSelenoWt, selenoElements, {kValueWidth}, NumberForm::Plain, seleno);
    b.numbers(rc::kSelenoWtTotal, {"Total (%)]"}, {kValueWidth}, NumberForm::Plain, seleno);
    b.numbers(rc::kSelenoApfu, selenoElements, {kValueWidth}, NumberForm::F3, seleno);
    b.numbers(rc::kSelenoApfuTotal, {"Total]"}, {kValueWidth}, NumberForm::F2, seleno);
    b.texts(rc::kSelenoDominantA, {"[Dominant A Cation", "Dominant B Cation]"}, {1700}, centre,
            seleno);
    b.texts(rc::kSelenoGroup, {"[Spinel Group", "Spinel Subgroup", "Spinel Species]"},
            {1700, 2200, 1800}, left, seleno);

    for (int c : {25, 32, 57, 66, 71, 74, 78, 105, 131, 134, 138, 148, 157, 160, 164}) {
        b.separator(c);
    }

    // Row-0 number cells take the block colour, separators none.
    for (int c = 1; c < kResultColumnCount; ++c) {
        if (columns[c].kind == ResultKind::Unused) continue;
        switch (columns[c].block) {
            case SheetBlock::Oxyspinel:
                columns[c].numberColour = kOxyspinelColour;
                break;
            case SheetBlock::Thiospinel:
                columns[c].numberColour = kThiospinelColour;
                break;
            case SheetBlock::Selenospinel:
                columns[c].numberColour = kSelenospinelColour;
                break;
            case SheetBlock::None:
                break;
        }
    }
    return columns;
}

}  // namespace

const std::array<ResultColumn, kResultColumnCount>& resultColumns() {
    static const Columns columns = makeColumns();
    return columns;
}

}  // namespace qarv
