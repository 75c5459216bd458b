#include "calc/oxyspinel.h"

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace qarv {
namespace {

// a / b, or 0 where the quotient cannot be formed.
double quotient(double a, double b) {
    return b == 0 ? 0.0 : a / b;
}

// a / b where b > 0, else 0: the rule for the cation ratios.
double ratio(double a, double b) {
    return b > 0 ? a / b : 0.0;
}

// The charge-balance estimate of a trivalent cation: 8 (1 - 3 / S), where 8
// is twice the 4 oxygens and 3 the number of cations.
double chargeDeficit(double s) {
    return s == 0 ? 0.0 : 8 * (1 - 3 / s);
}

// A set of columns (oxides, or the cations in the same order), one bit each.
using ColumnSet = std::uint32_t;
static_assert(kOxideCount <= 32);

constexpr ColumnSet bit(int column) {
    return ColumnSet{1} << column;
}

// Calls visit(column) for each column of the set, in column order.
template <typename Visit>
void forEachColumn(ColumnSet columns, const Visit& visit) {
    for (ColumnSet m = columns; m != 0; m &= m - 1) visit(std::countr_zero(m));
}

// Sum of the values of `columns`, in column order.
//
// Skipping a column whose value is exactly 0 never changes such a sum: it
// starts at +0, and adding values can give -0 only from -0 + -0, so the
// running sum is never -0, and x + 0 is x for every other x. Summing only
// the columns that can hold a value is therefore the sum of all of them,
// bit for bit.
template <typename Value>
double columnSum(const Value& value, ColumnSet columns) {
    double total = 0;
    forEachColumn(columns, [&](int i) { total += value(i); });
    return total;
}

// Sum of the 23 oxide values in column order, with the two values of one
// oxide pair replaced (none when first is -1). `given` holds the oxides
// that are not 0.
double oxideSum(const OxideValues& w, ColumnSet given, int first = -1, double firstValue = 0,
                int second = -1, double secondValue = 0) {
    if (first >= 0) given |= bit(first);
    if (second >= 0) given |= bit(second);
    const auto value = [&](int i) {
        if (i == first) return firstValue;
        if (i == second) return secondValue;
        return w[i];
    };
    return columnSum(value, given);
}

// The divalent and trivalent oxide weights recalculated from a total given
// as the divalent oxide: each is 0 unless all its conditions hold.
struct OxidePair {
    double divalent = 0;
    double trivalent = 0;
};

OxidePair splitOxide(double wDivalent, double wTrivalent, double a2, double a3, double factor) {
    OxidePair pair;
    if (!(wDivalent > 0 && wTrivalent == 0 && a3 > 0)) return pair;
    const double sum23 = a2 + a3;
    const double sum32 = a3 + a2;
    if (sum23 != 0 && a2 / sum23 > 0) pair.divalent = wDivalent * a2 / sum23;
    if (sum32 != 0 && a3 / sum32 > 0) pair.trivalent = factor * wDivalent * a3 / sum32;
    return pair;
}

}  // namespace

OxyspinelFormula recalculateOxyspinel(const OxideValues& w) {
    OxyspinelFormula f;
    f.oxides = w;

    // Molar amounts, cation and oxygen proportions, normalisation to 4
    // oxygens, then rescaling to 3 cations.
    // An oxide that is 0 contributes exact zeros all the way (a zero's sign
    // never shows: every test and form treats -0 as 0), so only the given
    // oxides are divided, in column order as always.
    std::array<double, kOxideCount> cations;  // set and read where given only
    ColumnSet givenSet = 0;
    double oxygens = 0;
    for (int i = 0; i < kOxideCount; ++i) {
        if (w[i] == 0) continue;
        givenSet |= bit(i);
        const double moles = w[i] / kOxides[i].molarMass;
        cations[i] = moles * kOxides[i].cations;
        oxygens += moles * kOxides[i].oxygens;
    }
    const double toFourOxygens = quotient(4, oxygens);
    // The cations on 4 oxygens are held in the formula's apfu until the
    // rescaling to 3 cations replaces them.
    auto& a = f.apfu;
    double s = 0;
    forEachColumn(givenSet, [&](int i) {
        a[i] = cations[i] * toFourOxygens;
        s += a[i];
    });
    forEachColumn(givenSet, [&](int i) { a[i] = quotient(3 * a[i], s); });
    // The cations that can be other than 0: the given ones and those the
    // charge balance sets.
    ColumnSet cationSet = givenSet;

    // Iron given as FeO alone: the charge deficit is ferric iron.
    if (w[FeO] > 0 && w[Fe2O3] == 0) {
        a[Fe3] = chargeDeficit(s);
        cationSet |= bit(Fe3);
        a[Fe2] = a[Fe2] - a[Fe3];
    }
    // Manganese- and cobalt-dominated oxides: Mn3+ or Co3+ takes the whole
    // deficit, and the row's iron leaves the formula.
    if (w[MnO] > 75 && w[Mn2O3] == 0) {
        a[Mn3] = chargeDeficit(s);
        cationSet |= bit(Mn3);
        a[Mn2] = a[Mn2] - a[Mn3];
        a[Fe3] = 0;
        a[Fe2] = 0;
    }
    if (a[Mn2] < 0) a[Mn2] = 0;
    if (w[CoO] > 75 && w[Co2O3] == 0) {
        a[Co3] = chargeDeficit(s);
        cationSet |= bit(Co3);
        a[Co2] = a[Co2] - a[Co3];
        a[Fe3] = 0;
        a[Fe2] = 0;
    }
    if (a[Co2] < 0) a[Co2] = 0;

    f.cationTotal = columnSum([&a](int i) { return a[i]; }, cationSet);

    // Negative estimates are cleaned up after the total.
    if (a[Fe2] < 0) a[Fe2] = 0;
    if (a[Fe3] < 0) a[Fe3] = 0;
    if (a[Mn3] < 0) a[Mn3] = 0;
    if (a[Co3] < 0) a[Co3] = 0;

    const OxidePair iron = splitOxide(w[FeO], w[Fe2O3], a[Fe2], a[Fe3], kFeOToFe2O3);
    const OxidePair manganese = splitOxide(w[MnO], w[Mn2O3], a[Mn2], a[Mn3], kMnOToMn2O3);
    const OxidePair cobalt = splitOxide(w[CoO], w[Co2O3], a[Co2], a[Co3], kCoOToCo2O3);
    f.feOCalc = iron.divalent;
    f.fe2O3Calc = iron.trivalent;
    f.mnOCalc = manganese.divalent;
    f.mn2O3Calc = manganese.trivalent;
    f.coOCalc = cobalt.divalent;
    f.co2O3Calc = cobalt.trivalent;

    f.totalR2 = 0;
    for (Cation c : {Fe2, Mg, Mn2, Cu, Zn, Co2, Ni, V2, Ca}) f.totalR2 += a[c];
    f.totalR3 = 0;
    for (Cation c : {Al, Cr, V3, Mn3, Fe3, Ti3, Co3}) f.totalR3 += a[c];
    f.totalR4 = 0;
    for (Cation c : {Si, Ge, Ti4}) f.totalR4 += a[c];
    f.totalR5 = 0 + a[Sb];

    f.fe3OverFe2 = ratio(a[Fe3], a[Fe2]);
    f.fe3OverFe3Fe2 = ratio(a[Fe3], a[Fe3] + a[Fe2]);
    f.crOverCrAl = ratio(a[Cr], a[Cr] + a[Al]);
    f.fe2OverFe2Mg = ratio(a[Fe2], a[Fe2] + a[Mg]);
    f.crOverCrAlFe3 = ratio(a[Cr], a[Cr] + a[Al] + a[Fe3]);
    f.fe3OverFe3AlCr = ratio(a[Fe3], a[Fe3] + a[Al] + a[Cr]);
    f.alOverAlFe3Cr = ratio(a[Al], a[Al] + a[Fe3] + a[Cr]);
    f.tiOverTiCrAl = ratio(a[Ti4], a[Ti4] + a[Cr] + a[Al]);
    f.mgOverMgFe2 = ratio(a[Mg], a[Mg] + a[Fe2]);
    f.mgOverMgFe2Times100 = ratio(100 * a[Mg], a[Mg] + a[Fe2]);
    f.crOverCrAlTimes100 = ratio(100 * a[Cr], a[Cr] + a[Al]);
    f.fe2OverFe3 = ratio(a[Fe2], a[Fe3]);
    f.fe3OverFe3Al = ratio(a[Fe3], a[Fe3] + a[Al]);
    f.znOverZnMn = ratio(a[Zn], a[Zn] + a[Mn2]);

    f.fe3PlusTwoTi = a[Fe3] + 2 * a[Ti4];
    f.cuPlusZn = a[Cu] + a[Zn];
    f.fe2PlusMn2 = a[Fe2] + a[Mn2];

    // Total iron expressed as FeO.
    f.feOTotal = (w[FeO] > 0 ? w[FeO] : 0.0) + (w[Fe2O3] > 0 ? w[Fe2O3] / kFeOToFe2O3 : 0.0);

    // Final oxide total: a recalculated pair replaces the measured one; each
    // line starts again from the measured values and the last one wins.
    // Only the total that stands at the end is summed.
    if (f.coOCalc > 0 && f.co2O3Calc > 0) {
        f.oxideTotal = oxideSum(w, givenSet, CoO, f.coOCalc, Co2O3, f.co2O3Calc);
    } else if (f.mnOCalc > 0 && f.mn2O3Calc > 0) {
        f.oxideTotal = oxideSum(w, givenSet, MnO, f.mnOCalc, Mn2O3, f.mn2O3Calc);
    } else if (f.feOCalc > 0 && f.fe2O3Calc > 0) {
        f.oxideTotal = oxideSum(w, givenSet, FeO, f.feOCalc, Fe2O3, f.fe2O3Calc);
    } else {
        f.oxideTotal = oxideSum(w, givenSet);
    }
    return f;
}

// ---------------------------------------------------------------------------
// Classification

namespace {

struct Candidate {
    Cation cation;
    std::string_view label;
};

// The label of the candidate strictly greater than every other, or nothing
// when the highest value is shared.
const std::string_view* dominant(const OxyspinelFormula& f,
                                 std::initializer_list<Candidate> candidates) {
    const Candidate* best = nullptr;
    bool tie = false;
    for (const Candidate& c : candidates) {
        if (best == nullptr || f.apfu[c.cation] > f.apfu[best->cation]) {
            best = &c;
            tie = false;
        } else if (!(f.apfu[c.cation] < f.apfu[best->cation])) {
            tie = true;
        }
    }
    return best != nullptr && !tie ? &best->label : nullptr;
}

void setIfDominant(std::string_view& text, const OxyspinelFormula& f,
                   std::initializer_list<Candidate> candidates) {
    if (const std::string_view* label = dominant(f, candidates)) text = *label;
}

// No dominant cation, or a site text that names none of the candidates.
constexpr int kNoCation = -1;

// setIfDominant that also returns the dominant candidate's cation (kNoCation
// when none), so the rules compare cations instead of texts.
int setDominant(std::string_view& text, const OxyspinelFormula& f,
                std::initializer_list<Candidate> candidates) {
    const std::string_view* label = dominant(f, candidates);
    if (label == nullptr) return kNoCation;
    text = *label;
    for (const Candidate& c : candidates) {
        if (&c.label == label) return c.cation;
    }
    return kNoCation;
}

void classifySpinel23(const OxyspinelFormula& f, SpinelClassification& c) {
    const auto& a = f.apfu;
    const double r2 = f.totalR2;
    // The cations whose labels the texts hold; a rule that writes a text of
    // its own (no candidate's label) sets kNoCation.
    const int b = setDominant(c.dominantB, f,
                              {{Cr, "Cr3+"},
                               {V3, "V3+"},
                               {Al, "Al3+"},
                               {Fe3, "Fe3+"},
                               {Mn3, "Mn3+"},
                               {Ti3, "Ti3+"},
                               {Co3, "Co3+"}});
    int d = setDominant(c.dominantA, f,
                        {{Fe2, "Fe2+"},
                         {Mg, "Mg2+"},
                         {Mn2, "Mn2+"},
                         {Co2, "Co2+"},
                         {Cu, "Cu2+"},
                         {Zn, "Zn2+"},
                         {Ni, "Ni2+"},
                         {V2, "V2+"}});

    // Each rule tests the texts as they stand when it is reached; the last
    // match wins.
    const auto is = [&b, &d](Cation bCation, Cation aCation) {
        return b == bCation && d == aCation;
    };
    if (is(Cr, Fe2)) c.species = "Chromite";
    if (is(Cr, Co2)) c.species = "Cochromite";
    if (is(V3, Fe2)) c.species = "Coulsonite";
    if (is(Fe3, Cu)) c.species = "Cuprospinel";
    if (is(Al, V2)) c.species = "Dellagiustaite";
    if (b == Al && a[Al] > 2.5 && r2 < 0.33) {
        c.species = "Deltalumite";
        c.dominantB = "Al3+";
        c.dominantA = "(Al)0.67(Vacancy)0.33";
        d = kNoCation;
    }
    if (is(Fe3, Zn)) c.species = "Franklinite";
    if (is(Al, Zn)) c.species = "Gahnite";
    if (is(Al, Mn2)) c.species = "Galaxite";
    if (is(Co3, Co2)) c.species = "Guite";
    if (is(Mn3, Mn2)) c.species = "Hausmannite";
    if (is(Al, Fe2)) c.species = "Hercynite";
    if (is(Mn3, Zn)) c.species = "Hetaerolite";
    if (is(Fe3, Mn2)) c.species = "Jacobsite";
    if (b == Fe3 && r2 < 0.67 && a[Ti4] < 0.5) {
        c.species = "Maghemite";
        c.dominantA = "(Fe3+)0.67(Vacancy)0.33";
        d = kNoCation;
    }
    if (is(Cr, Mg)) c.species = "Magnesiochromite";
    if (is(V3, Mg)) c.species = "Magnesiocoulsonite";
    if (is(Fe3, Mg) && r2 > 0.67) c.species = "Magnesioferrite";
    if (is(Fe3, Fe2)) c.species = "Magnetite";
    if (is(Cr, Mn2)) c.species = "Manganochromite";
    if (is(Al, Mg)) c.species = "Spinel";
    if (is(Al, Cu)) c.species = "Thermaerogenite";
    if (b == Fe3 && r2 < 0.67 && a[Ti4] > 0.5) {
        c.species = "Titanomaghemite";
        c.dominantB = "Fe3+";
        c.dominantA = "(Ti4+)0.5(Vacancy)0.5";
        d = kNoCation;
    }
    if (is(Fe3, Ni)) c.species = "Trevorite";
    if (is(V3, Mn2)) c.species = "Vuorelainenite";
    if (is(Cr, Zn)) c.species = "Zincochromite";
    if (b == Al && r2 < 0.67 && a[Li] > 0.25) {
        c.species = "Chukochenite";
        c.dominantB = "Al3+";
        c.dominantA = "Li0.5Al0.5";
        d = kNoCation;
    }
    if (is(Al, Ni)) c.species = "Chihmingite";
}

struct EndMember42 {
    std::string_view species;
    std::string_view dominantB;  // the divalent cation
    std::string_view dominantA;  // the tetravalent site content
};

constexpr std::array<EndMember42, 7> kEndMembers42 = {{
    {"Ahrensite", "Fe2+", "Si4+"},
    {"Brunogeierite", "Fe2+", "Ge4+"},
    {"Filipstadite", "Mn2+", "(Fe3+)0.5(Sb5+)0.5"},
    {"Qandilite", "Mg2+", "Ti4+"},
    {"Ringwoodite", "Mg2+", "Si4+"},
    {"Tegengrenite", "Mg2+", "(Mn3+)0.5(Sb5+)0.5"},
    {"Ulvöspinel", "Fe2+", "Ti4+"},
}};

void classifySpinel42(const OxyspinelFormula& f, SpinelClassification& c) {
    const auto& a = f.apfu;
    setIfDominant(c.dominantA, f, {{Fe2, "Fe2+"}, {Mn2, "Mn2+"}, {Mg, "Mg2+"}});
    std::string_view tetravalent;
    setIfDominant(tetravalent, f, {{Si, "Si4+"}, {Ge, "Ge4+"}, {Ti4, "Ti4+"}});

    const std::string_view A = c.dominantA;
    const std::string_view T = tetravalent;
    if (A == "Fe2+" && T == "Si4+") c.species = "Ahrensite";
    if (A == "Fe2+" && T == "Ge4+") c.species = "Brunogeierite";
    if (A == "Mn2+" && a[Sb] > 0.4) c.species = "Filipstadite";
    if (A == "Mg2+" && T == "Ti4+" && a[Mg] > 1) c.species = "Qandilite";
    if (A == "Mg2+" && T == "Si4+") c.species = "Ringwoodite";
    if (A == "Mg2+" && a[Sb] > 0.4) c.species = "Tegengrenite";
    if (A == "Fe2+" && T == "Ti4+") c.species = "Ulvöspinel";

    for (const EndMember42& member : kEndMembers42) {
        if (c.species == member.species) {
            c.dominantB = member.dominantB;
            c.dominantA = member.dominantA;
        }
    }
}

}  // namespace

SpinelClassification classifyOxyspinel(const OxyspinelFormula& f) {
    SpinelClassification c;
    if (f.totalR2 > 1.5) {
        c.subgroup = "Spinel subgroup (4-2)";
        c.group = "Oxyspinel group";
    }
    if (f.totalR3 > 1) {
        c.subgroup = "Spinel subgroup (2-3)";
        c.group = "Oxyspinel group";
    }
    // The subgroup text is the one the last test above set.
    if (f.totalR3 > 1) {
        classifySpinel23(f, c);
    } else if (f.totalR2 > 1.5) {
        classifySpinel42(f, c);
    }
    return c;
}

}  // namespace qarv
