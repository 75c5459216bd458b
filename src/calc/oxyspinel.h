#pragma once
// Oxyspinel formula on 3 cations and 4 oxygens, with ferric iron (and, in
// manganese- or cobalt-dominated oxides, Mn3+ and Co3+) by charge balance,
// and its name in the oxyspinel group.

#include <array>

#include "calc/classification.h"
#include "calc/constituents.h"

namespace qarv {

using OxideValues = std::array<double, kOxideCount>;  // wt%, in Oxide order

struct OxyspinelFormula {
    OxideValues oxides{};   // as read
    double oxideTotal = 0;  // final total: recalculated pairs replace measured ones
    std::array<double, kOxideCount> apfu{};  // in Cation order, negatives cleaned up
    double cationTotal = 0;                  // summed before the clean-up

    double feOCalc = 0, fe2O3Calc = 0;  // wt%
    double mnOCalc = 0, mn2O3Calc = 0;
    double coOCalc = 0, co2O3Calc = 0;

    double totalR2 = 0, totalR3 = 0, totalR4 = 0, totalR5 = 0;

    // Ratios of apfu values; 0 where the denominator is not positive.
    double fe3OverFe2 = 0;
    double fe3OverFe3Fe2 = 0;
    double crOverCrAl = 0;
    double fe2OverFe2Mg = 0;
    double crOverCrAlFe3 = 0;
    double fe3OverFe3AlCr = 0;
    double alOverAlFe3Cr = 0;
    double tiOverTiCrAl = 0;
    double mgOverMgFe2 = 0;
    double mgOverMgFe2Times100 = 0;
    double crOverCrAlTimes100 = 0;
    double fe2OverFe3 = 0;
    double fe3OverFe3Al = 0;
    double znOverZnMn = 0;

    double fe3PlusTwoTi = 0;  // Fe3+ + 2 Ti4+
    double cuPlusZn = 0;
    double fe2PlusMn2 = 0;

    double feOTotal = 0;  // total iron as FeO, wt%
};

OxyspinelFormula recalculateOxyspinel(const OxideValues& oxides);

SpinelClassification classifyOxyspinel(const OxyspinelFormula& formula);

}  // namespace qarv
