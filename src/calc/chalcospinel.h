#pragma once
// Thiospinel and selenospinel formulae on a basis of four anions (S = 4 or
// Se = 4) and their names in the thiospinel and selenospinel groups.

#include <array>
#include <optional>
#include <string>

#include "calc/classification.h"
#include "calc/constituents.h"

namespace qarv {

struct ThiospinelAnalysis {
    std::string sampleName;
    std::array<double, kThioElementCount> wt{};  // wt%, in ThioElement order
};

struct SelenospinelAnalysis {
    std::string sampleName;
    std::array<double, kSelenoElementCount> wt{};  // wt%, in SelenoElement order
};

struct ThiospinelFormula {
    double wtTotal = 0;
    std::array<double, kThioElementCount> apfu{};  // S is 4
    double apfuTotal = 0;                          // all 24, S, Se and Te included
    double znOverZnFe = 0;
    double agOverAgCu = 0;
};

struct SelenospinelFormula {
    double wtTotal = 0;
    std::array<double, kSelenoElementCount> apfu{};  // Se is 4
    double apfuTotal = 0;
};

// No formula when the anion's weight percentage is 0.
std::optional<ThiospinelFormula> recalculateThiospinel(const ThiospinelAnalysis& analysis);
std::optional<SelenospinelFormula> recalculateSelenospinel(const SelenospinelAnalysis& analysis);

SpinelClassification classifyThiospinel(const ThiospinelFormula& formula);
SpinelClassification classifySelenospinel(const SelenospinelFormula& formula);

}  // namespace qarv
