#include "calc/chalcospinel.h"

#include <initializer_list>
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

// The species named by the (A, B) pair of the linnaeite subgroup: the pair
// columns of the species table's linnaeite rows.
constexpr std::size_t kFirstPairSpecies = 8;

const ThioSpecies* findThioSpecies(std::string_view species) {
    for (const ThioSpecies& s : kThioSpecies) {
        if (same(s.species, species)) return &s;
    }
    return nullptr;
}

void setSpeciesTexts(SpinelClassification& c, const ThioSpecies& s) {
    c.species = s.species;
    c.dominantA = s.dominantA;
    c.dominantB = s.dominantB;
    c.subgroup = s.subgroup;
}

// The index (into `members`) of the member strictly greater than every other
// member, or -1 on a tie.
int dominantMember(const ThiospinelFormula& f, std::initializer_list<ThioElement> members) {
    int best = -1;
    bool tie = false;
    int index = 0;
    ThioElement bestElement = tCu;
    for (ThioElement e : members) {
        if (best < 0 || f.apfu[e] > f.apfu[bestElement]) {
            best = index;
            bestElement = e;
            tie = false;
        } else if (!(f.apfu[e] < f.apfu[bestElement])) {
            tie = true;
        }
        ++index;
    }
    return tie ? -1 : best;
}

}  // namespace

SpinelClassification classifyThiospinel(const ThiospinelFormula& f) {
    SpinelClassification c;
    const auto& a = f.apfu;
    const double cuAg = a[tCu] + a[tAg];

    if (cuAg > 0.55) {
        const auto bSite = {tCo, tIr, tCr, tNi, tSn};
        // The B-site's dominant element, found once for all the rules below.
        const int bestB = dominantMember(f, bSite);
        const auto isDominant = [&](ThioElement e) {
            return bestB >= 0 && *(bSite.begin() + bestB) == e;
        };
        const auto carrollite = [&](std::string_view species) {
            c.species = species;
            c.subgroup = kCarrolliteSubgroup;
            c.group = kThiospinelGroup;
        };
        if (isDominant(tCo)) carrollite("Carrollite");
        if (isDominant(tIr)) carrollite("Cuproiridsite");
        if (isDominant(tCr)) carrollite("Cuprokalininite");
        if (isDominant(tNi)) carrollite("Fletcherite");
        if (isDominant(tCr) && a[tSb] >= 0.4) carrollite("Florensovite");
        if (isDominant(tIr) && a[tPt] >= 0.4) carrollite("Malanite");
        if (isDominant(tSn) && a[tFe] >= 0.4) carrollite("Rhodostannite");
        if (a[tAg] > 0.5 && isDominant(tSn) && a[tFe] >= 0.4) carrollite("Toyohaite");
    }

    if (cuAg < 0.55) {
        const auto aSite = {tCd, tCu, tFe, tMn, tZn, tCo, tNi, tPb};
        const int best = dominantMember(f, aSite);
        if (best >= 0) {
            const ThioElement e = *(aSite.begin() + best);
            bool match = true;
            if (e == tCu) {
                match = a[tFe] >= 0;
                if (match) c.dominantA = "(Cu+)0.5(Fe3+)0.5";
            } else {
                c.dominantA = kThioElements[e].symbol;
            }
            if (match) {
                c.subgroup = kLinnaeiteSubgroup;
                c.group = kThiospinelGroup;
            }
        }
    }

    {
        const auto bSite = {tIn, tRh, tCr, tFe, tCo, tNi, tIr};
        const int best = dominantMember(f, bSite);
        if (best >= 0) c.dominantB = kThioElements[*(bSite.begin() + best)].symbol;
    }

    for (std::size_t i = kFirstPairSpecies; i < kThioSpecies.size(); ++i) {
        const ThioSpecies& s = kThioSpecies[i];
        if (same(c.dominantA, s.dominantA) && same(c.dominantB, s.dominantB)) c.species = s.species;
    }

    if (same(c.species, "Linnaeite") && a[tNi] > 0.67 && a[tCo] > 0.67) c.species = "Grimmite";
    if (same(c.species, "Polydymite") && a[tNi] > 0.67 && a[tCo] > 0.4) c.species = "Siegenite";
    if (same(c.species, "Polydymite") && a[tFe] > 0.5) c.species = "Violarite";
    if (same(c.species, "Greigite") && a[tNi] > 0.5) c.species = "Violarite";
    if (same(c.species, "Siegenite") && a[tFe] > a[tCo]) c.species = "Violarite";
    if (const ThioSpecies* s = findThioSpecies(c.species)) setSpeciesTexts(c, *s);

    if (same(c.species, "Malanite") && a[tRh] > a[tIr] && a[tRh] > a[tPt]) {
        setSpeciesTexts(c, *findThioSpecies("Cuprorhodsite"));
    }
    if (same(c.species, "Linnaeite") && a[tCu] > a[tFe] && a[tCu] + a[tFe] > 0.7) {
        setSpeciesTexts(c, *findThioSpecies("Carrollite"));
    }
    if (same(c.species, "Cuproiridsite") && a[tRh] > a[tIr] && a[tFe] > a[tCu]) {
        c.species = "not classified";
        c.dominantA = "Fe";
        c.dominantB = "Rh";
        c.subgroup = kLinnaeiteSubgroup;
    }
    if (same(c.species, "Cuproiridsite") && a[tRh] > a[tIr] && a[tCu] > a[tFe]) {
        setSpeciesTexts(c, *findThioSpecies("Cuprorhodsite"));
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
