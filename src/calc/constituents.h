#pragma once
// The constituents of the three analysis blocks, in block order (which is
// also the order of their sheet columns and of every output list), with the
// constants the recalculations use, exactly as given.

#include <array>
#include <string_view>

namespace qarv {

// Oxyspinel block: 23 oxides.
enum Oxide : int {
    SiO2,
    TiO2,
    GeO2,
    Al2O3,
    Ti2O3,
    Cr2O3,
    V2O3,
    Fe2O3,
    Mn2O3,
    Co2O3,
    VO,
    FeO,
    MgO,
    CaO,
    MnO,
    CuO,
    ZnO,
    CoO,
    NiO,
    Na2O,
    K2O,
    Li2O,
    Sb2O5,
};
inline constexpr int kOxideCount = 23;

// The cation each oxide contributes; index = the oxide's index.
enum Cation : int {
    Si,
    Ti4,
    Ge,
    Al,
    Ti3,
    Cr,
    V3,
    Fe3,
    Mn3,
    Co3,
    V2,
    Fe2,
    Mg,
    Ca,
    Mn2,
    Cu,
    Zn,
    Co2,
    Ni,
    Na,
    K,
    Li,
    Sb,
};

struct OxideData {
    std::string_view name;
    double molarMass;  // g/mol
    int cations;
    int oxygens;
};

inline constexpr std::array<OxideData, kOxideCount> kOxides = {{
    {"SiO2", 60.0843, 1, 2},    {"TiO2", 79.8658, 1, 2},   {"GeO2", 104.6388, 1, 2},
    {"Al2O3", 101.96128, 2, 3}, {"Ti2O3", 143.7322, 2, 3}, {"Cr2O3", 151.9904, 2, 3},
    {"V2O3", 149.8812, 2, 3},   {"Fe2O3", 159.6882, 2, 3}, {"Mn2O3", 157.87429, 2, 3},
    {"Co2O3", 165.86459, 2, 3}, {"VO", 66.9409, 1, 1},     {"FeO", 71.8444, 1, 1},
    {"MgO", 40.3044, 1, 1},     {"CaO", 56.0774, 1, 1},    {"MnO", 70.93744, 1, 1},
    {"CuO", 79.5454, 1, 1},     {"ZnO", 81.3794, 1, 1},    {"CoO", 74.93259, 1, 1},
    {"NiO", 74.6928, 1, 1},     {"Na2O", 61.97894, 2, 1},  {"K2O", 94.196, 2, 1},
    {"Li2O", 29.8814, 2, 1},    {"Sb2O5", 323.517, 2, 5},
}};

// Divalent-oxide weight to trivalent-oxide weight of the same metal. These
// are constants of their own, not ratios of the molar masses above.
inline constexpr double kFeOToFe2O3 = 1.1113;
inline constexpr double kMnOToMn2O3 = 1.112771;
inline constexpr double kCoOToCo2O3 = 1.106766;

// Thiospinel block: 24 elements; S is the anion.
enum ThioElement : int {
    tCu,
    tAg,
    tCd,
    tFe,
    tMn,
    tZn,
    tGe,
    tCo,
    tNi,
    tPb,
    tBi,
    tCr,
    tV,
    tIn,
    tSb,
    tAs,
    tSn,
    tIr,
    tPd,
    tPt,
    tRh,
    tSe,
    tTe,
    tS,
};
inline constexpr int kThioElementCount = 24;

// Selenospinel block: 7 elements; Se is the anion.
enum SelenoElement : int { sCu, sFe, sCo, sNi, sPb, sS, sSe };
inline constexpr int kSelenoElementCount = 7;

struct ElementData {
    std::string_view symbol;
    double atomicMass;  // g/mol
};

inline constexpr std::array<ElementData, kThioElementCount> kThioElements = {{
    {"Cu", 63.546},   {"Ag", 107.8682}, {"Cd", 112.411},   {"Fe", 55.845},  {"Mn", 54.938045},
    {"Zn", 65.38},    {"Ge", 72.64},    {"Co", 58.933195}, {"Ni", 58.6934}, {"Pb", 207.2},
    {"Bi", 208.9804}, {"Cr", 51.9961},  {"V", 50.9415},    {"In", 114.818}, {"Sb", 121.76},
    {"As", 74.9216},  {"Sn", 118.71},   {"Ir", 192.217},   {"Pd", 106.42},  {"Pt", 195.084},
    {"Rh", 102.9055}, {"Se", 78.96},    {"Te", 127.6},     {"S", 32.065},
}};

// The selenospinel block uses the same atomic masses.
inline constexpr std::array<ElementData, kSelenoElementCount> kSelenoElements = {{
    kThioElements[tCu],
    kThioElements[tFe],
    kThioElements[tCo],
    kThioElements[tNi],
    kThioElements[tPb],
    kThioElements[tS],
    kThioElements[tSe],
}};

}  // namespace qarv
