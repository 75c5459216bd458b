#include "calc/chalcospinel.h"

#include <string_view>

namespace qarv {
namespace {

double quotient(double a, double b) {
    return b == 0 ? 0.0 : a / b;
}

// Text equality for the short names of the tables, compared in line.
inline bool same(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

// Atomic proportions, atomic fractions, then the factor that makes the anion
// 4: apfu_i = f_i * 4 / f_anion.
template <std::size_t N>
void toFourAnions(const std::array<double, N>& wt, const std::array<ElementData, N>& elements,
                  int anion, double& wtTotal, std::array<double, N>& apfu, double& apfuTotal) {
    // Elements that are 0 give exact zeros all the way; only the given ones
    // are divided, in block order as always. The atomic proportions and
    // fractions are held in apfu (0 elsewhere) until each step replaces them.
    std::array<std::size_t, N> given;
    std::size_t count = 0;
    double nTotal = 0;
    wtTotal = 0;
    apfu = {};
    for (std::size_t i = 0; i < N; ++i) {
        if (wt[i] == 0) continue;
        given[count++] = i;
        apfu[i] = wt[i] / elements[i].atomicMass;
        wtTotal += wt[i];
        nTotal += apfu[i];
    }
    for (std::size_t j = 0; j < count; ++j) apfu[given[j]] = quotient(apfu[given[j]], nTotal);
    const double k = quotient(4, apfu[anion]);
    apfuTotal = 0;
    for (std::size_t j = 0; j < count; ++j) {
        const std::size_t i = given[j];
        apfu[i] = apfu[i] * k;
        apfuTotal += apfu[i];
    }
}

}  // namespace

std::optional<ThiospinelFormula> recalculateThiospinel(const ThiospinelAnalysis& analysis) {
    std::optional<ThiospinelFormula> result;
    if (analysis.wt[tS] == 0) return result;
    ThiospinelFormula& f = result.emplace();  // made in place, not copied out
    toFourAnions(analysis.wt, kThioElements, tS, f.wtTotal, f.apfu, f.apfuTotal);
    const auto& a = f.apfu;
    f.znOverZnFe = a[tZn] + a[tFe] > 0 ? a[tZn] / (a[tZn] + a[tFe]) : 0.0;
    f.agOverAgCu = a[tAg] + a[tCu] > 0 ? a[tAg] / (a[tAg] + a[tCu]) : 0.0;
    return result;
}

std::optional<SelenospinelFormula> recalculateSelenospinel(const SelenospinelAnalysis& analysis) {
    std::optional<SelenospinelFormula> result;
    if (analysis.wt[sSe] == 0) return result;
    SelenospinelFormula& f = result.emplace();
    toFourAnions(analysis.wt, kSelenoElements, sSe, f.wtTotal, f.apfu, f.apfuTotal);
    return result;
}

// ---------------------------------------------------------------------------
// Thiospinel classification

namespace {

constexpr std::string_view kThiospinelGroup = "Thiospinel group";
constexpr std::string_view kCarrolliteSubgroup = "Carrollite subgroup (1-3.5)";
constexpr std::string_view kLinnaeiteSubgroup = "Linnaeite subgroup (2-3)";

struct ThioSpecies {
    std::string_view species;
    std::string_view dominantA;
    std::string_view dominantB;
    std::string_view subgroup;
};

constexpr std::array<ThioSpecies, 21> kThioSpecies = {{
    {"Carrollite", "Cu", "Co", kCarrolliteSubgroup},
    {"Cuproiridsite", "Cu", "(Ir3+Ir4+)", kCarrolliteSubgroup},
    {"Cuprokalininite", "Cu", "(Cr3+Cr4+)", kCarrolliteSubgroup},
    {"Fletcherite", "Cu", "Ni", kCarrolliteSubgroup},
    {"Florensovite", "Cu", "(Cr3+)1.5(Sb5+)0.5", kCarrolliteSubgroup},
    {"Malanite", "Cu", "(Ir3+Pt4+)", kCarrolliteSubgroup},
    {"Rhodostannite", "Cu", "(Fe2+)0.5(Sn4+)1.5", kCarrolliteSubgroup},
    {"Toyohaite", "Ag", "(Fe2+)0.5(Sn4+)1.5", kCarrolliteSubgroup},
    {"Cadmoindite", "Cd", "In", kLinnaeiteSubgroup},
    {"Cuprorhodsite", "(Cu+)0.5(Fe3+)0.5", "Rh", kLinnaeiteSubgroup},
    {"Daubreelite", "Fe", "Cr", kLinnaeiteSubgroup},
    {"Greigite", "Fe", "Fe", kLinnaeiteSubgroup},
    {"Indite", "Fe", "In", kLinnaeiteSubgroup},
    {"Joegoldsteinite", "Mn", "Cr", kLinnaeiteSubgroup},
    {"Kalininite", "Zn", "Cr", kLinnaeiteSubgroup},
    {"Linnaeite", "Co", "Co", kLinnaeiteSubgroup},
    {"Polydymite", "Ni", "Ni", kLinnaeiteSubgroup},
    {"Siegenite", "Co", "Ni", kLinnaeiteSubgroup},
    {"Grimmite", "Ni", "Co", kLinnaeiteSubgroup},
    {"Violarite", "Fe", "Ni", kLinnaeiteSubgroup},
    {"Xingzhongite", "Pb", "Ir", kLinnaeiteSubgroup},
}};

// The species by their place in the table above.
enum ThioSpeciesId : int {
    kNoSpecies = -1,
    kCarrollite,
    kCuproiridsite,
    kCuprokalininite,
    kFletcherite,
    kFlorensovite,
    kMalanite,
    kRhodostannite,
    kToyohaite,
    kCadmoindite,
    kCuprorhodsite,
    kDaubreelite,
    kGreigite,
    kIndite,
    kJoegoldsteinite,
    kKalininite,
    kLinnaeite,
    kPolydymite,
    kSiegenite,
    kGrimmite,
    kViolarite,
    kXingzhongite,
};
static_assert(kThioSpecies[kCarrollite].species == "Carrollite");
static_assert(kThioSpecies[kToyohaite].species == "Toyohaite");
static_assert(kThioSpecies[kCadmoindite].species == "Cadmoindite");
static_assert(kThioSpecies[kCuprorhodsite].species == "Cuprorhodsite");
static_assert(kThioSpecies[kLinnaeite].species == "Linnaeite");
static_assert(kThioSpecies[kXingzhongite].species == "Xingzhongite");
static_assert(kXingzhongite + 1 == static_cast<int>(kThioSpecies.size()));

// The species named by the (A, B) pair of the linnaeite subgroup: the pair
// columns of the species table's linnaeite rows.
constexpr std::size_t kFirstPairSpecies = kCadmoindite;

// The candidates for the dominant A and B cations, in the order of the rules.
constexpr std::array kASite = {tCd, tCu, tFe, tMn, tZn, tCo, tNi, tPb};
constexpr std::array kBSite = {tIn, tRh, tCr, tFe, tCo, tNi, tIr};
// The A cation's text where Cu is the dominant one.
constexpr std::string_view kCopperIronA = "(Cu+)0.5(Fe3+)0.5";

// The texts of a dominant cation: 0 is none, k the k-th candidate.
std::string_view dominantAText(std::size_t key) {
    if (key == 0) return {};
    const ThioElement e = kASite[key - 1];
    return e == tCu ? kCopperIronA : kThioElements[e].symbol;
}
std::string_view dominantBText(std::size_t key) {
    return key == 0 ? std::string_view{} : kThioElements[kBSite[key - 1]].symbol;
}

// The species each (A, B) pair of dominant cations names: the last table row
// whose pair texts equal the pair's texts, worked out once from the table.
using PairSpecies = std::array<std::array<int, kBSite.size() + 1>, kASite.size() + 1>;
const PairSpecies& pairSpecies() {
    static const PairSpecies table = [] {
        PairSpecies t;
        for (std::size_t a = 0; a < t.size(); ++a) {
            for (std::size_t b = 0; b < t[a].size(); ++b) {
                int found = kNoSpecies;
                for (std::size_t i = kFirstPairSpecies; i < kThioSpecies.size(); ++i) {
                    const ThioSpecies& s = kThioSpecies[i];
                    if (same(dominantAText(a), s.dominantA) &&
                        same(dominantBText(b), s.dominantB)) {
                        found = static_cast<int>(i);
                    }
                }
                t[a][b] = found;
            }
        }
        return t;
    }();
    return table;
}

void setSpeciesTexts(SpinelClassification& c, int species) {
    const ThioSpecies& s = kThioSpecies[static_cast<std::size_t>(species)];
    c.species = s.species;
    c.dominantA = s.dominantA;
    c.dominantB = s.dominantB;
    c.subgroup = s.subgroup;
}

// The index (into `members`) of the member strictly greater than every other
// member, or -1 on a tie.
template <std::size_t N>
int dominantMember(const ThiospinelFormula& f, const std::array<ThioElement, N>& members) {
    int best = -1;
    bool tie = false;
    ThioElement bestElement = tCu;
    for (std::size_t index = 0; index < N; ++index) {
        const ThioElement e = members[index];
        if (best < 0 || f.apfu[e] > f.apfu[bestElement]) {
            best = static_cast<int>(index);
            bestElement = e;
            tie = false;
        } else if (!(f.apfu[e] < f.apfu[bestElement])) {
            tie = true;
        }
    }
    return tie ? -1 : best;
}

}  // namespace

SpinelClassification classifyThiospinel(const ThiospinelFormula& f) {
    SpinelClassification c;
    const auto& a = f.apfu;
    const double cuAg = a[tCu] + a[tAg];
    // The species so far, as its place in the species table; its texts are
    // set from the table once the rules below have chosen it.
    int species = kNoSpecies;

    if (cuAg > 0.55) {
        constexpr std::array bSite = {tCo, tIr, tCr, tNi, tSn};
        // The B-site's dominant element, found once for all the rules below.
        const int bestB = dominantMember(f, bSite);
        const auto isDominant = [&](ThioElement e) { return bestB >= 0 && bSite[bestB] == e; };
        const auto carrollite = [&](int id) {
            species = id;
            c.subgroup = kCarrolliteSubgroup;
            c.group = kThiospinelGroup;
        };
        if (isDominant(tCo)) carrollite(kCarrollite);
        if (isDominant(tIr)) carrollite(kCuproiridsite);
        if (isDominant(tCr)) carrollite(kCuprokalininite);
        if (isDominant(tNi)) carrollite(kFletcherite);
        if (isDominant(tCr) && a[tSb] >= 0.4) carrollite(kFlorensovite);
        if (isDominant(tIr) && a[tPt] >= 0.4) carrollite(kMalanite);
        if (isDominant(tSn) && a[tFe] >= 0.4) carrollite(kRhodostannite);
        if (a[tAg] > 0.5 && isDominant(tSn) && a[tFe] >= 0.4) carrollite(kToyohaite);
    }

    std::size_t aKey = 0;  // the dominant A cation's candidate, 0 for none
    if (cuAg < 0.55) {
        const int best = dominantMember(f, kASite);
        if (best >= 0) {
            const ThioElement e = kASite[static_cast<std::size_t>(best)];
            if (e != tCu || a[tFe] >= 0) {
                aKey = static_cast<std::size_t>(best) + 1;
                c.dominantA = dominantAText(aKey);
                c.subgroup = kLinnaeiteSubgroup;
                c.group = kThiospinelGroup;
            }
        }
    }

    std::size_t bKey = 0;
    {
        const int best = dominantMember(f, kBSite);
        if (best >= 0) {
            bKey = static_cast<std::size_t>(best) + 1;
            c.dominantB = dominantBText(bKey);
        }
    }

    if (const int pair = pairSpecies()[aKey][bKey]; pair != kNoSpecies) species = pair;

    if (species == kLinnaeite && a[tNi] > 0.67 && a[tCo] > 0.67) species = kGrimmite;
    if (species == kPolydymite && a[tNi] > 0.67 && a[tCo] > 0.4) species = kSiegenite;
    if (species == kPolydymite && a[tFe] > 0.5) species = kViolarite;
    if (species == kGreigite && a[tNi] > 0.5) species = kViolarite;
    if (species == kSiegenite && a[tFe] > a[tCo]) species = kViolarite;
    if (species != kNoSpecies) setSpeciesTexts(c, species);

    if (species == kMalanite && a[tRh] > a[tIr] && a[tRh] > a[tPt]) {
        species = kCuprorhodsite;
        setSpeciesTexts(c, species);
    }
    if (species == kLinnaeite && a[tCu] > a[tFe] && a[tCu] + a[tFe] > 0.7) {
        species = kCarrollite;
        setSpeciesTexts(c, species);
    }
    if (species == kCuproiridsite && a[tRh] > a[tIr] && a[tFe] > a[tCu]) {
        species = kNoSpecies;
        c.species = "not classified";
        c.dominantA = "Fe";
        c.dominantB = "Rh";
        c.subgroup = kLinnaeiteSubgroup;
    }
    if (species == kCuproiridsite && a[tRh] > a[tIr] && a[tCu] > a[tFe]) {
        species = kCuprorhodsite;
        setSpeciesTexts(c, species);
    }
    return c;
}

SpinelClassification classifySelenospinel(const SelenospinelFormula& f) {
    SpinelClassification c;
    const auto& a = f.apfu;
    const double t = 2 * a[sCo] + 2 * a[sNi];
    const auto name = [&c](std::string_view species, std::string_view dominantA,
                           std::string_view dominantB, std::string_view subgroup) {
        c.species = species;
        c.dominantA = dominantA;
        c.dominantB = dominantB;
        c.subgroup = subgroup;
        c.group = "Selenospinel group";
    };
    if (a[sCu] > 0.8 && t < 5 && (a[sCo] + a[sNi]) / 2 > 0.9) {
        name("Tyrrellite", "Cu", "Co,Ni", "Tyrrellite subgroup (1-3.5)");
    }
    if (a[sCu] > 0.8 && t < 5 && a[sNi] > a[sCo] && a[sNi] / 1.8 > a[sCo]) {
        name("Nickeltyrrellite", "Cu", "Ni", "Tyrrellite subgroup (1-3.5)");
    }
    if (a[sCu] < 0.5 && t > 5 && a[sCo] > a[sNi]) {
        name("Bornhardtite", "Co", "Co", "Bornhardtite subgroup (2-3)");
    }
    if (a[sCu] < 0.5 && t > 5 && a[sNi] > a[sCo]) {
        name("Trüstedtite", "Ni", "Ni", "Bornhardtite subgroup (2-3)");
    }
    return c;
}

}  // namespace qarv
