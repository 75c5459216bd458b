#include "diagrams/diagram_data_files.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <memory>

#include "common/copy_bytes.h"
#include "common/text_encoding.h"
#include "results/results_layout.h"

namespace qarv {
namespace {

// Values shown in the results table, written as shown.
DiagramValue cell(int column) {
    return {column, nullptr};
}
DiagramValue cation(Cation c) {
    return cell(rc::kCations + c);
}
DiagramValue oxide(Oxide o) {
    return cell(rc::kOxides + o);
}
DiagramValue thioApfu(ThioElement e) {
    return cell(rc::kThioApfu + e);
}
DiagramValue selenoApfu(SelenoElement e) {
    return cell(rc::kSelenoApfu + e);
}

// Oxyspinel ratios shown in the table.
const DiagramValue kCrCrAl = cell(rc::kRatios + 2);
const DiagramValue kFe2Fe2Mg = cell(rc::kRatios + 3);
const DiagramValue kFe3Fe3AlCr = cell(rc::kRatios + 5);

// Diagram quantities the table does not show, written unrounded.
DiagramValue plain(double (*f)(const RowResults&)) {
    return {-1, f};
}
const DiagramValue kMgMgFe2 = plain([](const RowResults& r) { return r.oxy.mgOverMgFe2; });
const DiagramValue kMgMgFe2x100 =
    plain([](const RowResults& r) { return r.oxy.mgOverMgFe2Times100; });
const DiagramValue kCrCrAlx100 =
    plain([](const RowResults& r) { return r.oxy.crOverCrAlTimes100; });
const DiagramValue kFe2Fe3 = plain([](const RowResults& r) { return r.oxy.fe2OverFe3; });
const DiagramValue kFe3Fe3Al = plain([](const RowResults& r) { return r.oxy.fe3OverFe3Al; });
const DiagramValue kZnZnMn = plain([](const RowResults& r) { return r.oxy.znOverZnMn; });
const DiagramValue kFe3TwoTi = plain([](const RowResults& r) { return r.oxy.fe3PlusTwoTi; });
const DiagramValue kCuZn = plain([](const RowResults& r) { return r.oxy.cuPlusZn; });
const DiagramValue kFe2Mn2 = plain([](const RowResults& r) { return r.oxy.fe2PlusMn2; });
const DiagramValue kFeOTotal = plain([](const RowResults& r) { return r.oxy.feOTotal; });
const DiagramValue kZnZnFe =
    plain([](const RowResults& r) { return r.thio ? r.thio->znOverZnFe : 0.0; });
const DiagramValue kAgAgCu =
    plain([](const RowResults& r) { return r.thio ? r.thio->agOverAgCu : 0.0; });

using Names = std::vector<std::string_view>;
const Names kChromites = {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite",
                          "Zincochromite"};

constexpr auto kOxy = SheetBlock::Oxyspinel;
constexpr auto kThio = SheetBlock::Thiospinel;
constexpr auto kSeleno = SheetBlock::Selenospinel;

std::vector<DiagramDataFile> makeFiles() {
    return {
        {2,
         "MgFeCrAl100.dat",
         kOxy,
         {"Mg/(Mg+Fe2)", "Cr/(Cr+Al)"},
         {kMgMgFe2x100, kCrCrAlx100},
         kChromites,
         {}},
        {3,
         "Fe3CrAl.dat",
         kOxy,
         {"Fe3+", "Cr", "Al"},
         {cation(Fe3), cation(Cr), cation(Al)},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite",
          "Magnetite", "Hercynite"},
         {}},
        {4,
         "CrAlFe3.dat",
         kOxy,
         {"Cr", "Al", "Fe3+"},
         {cation(Cr), cation(Al), cation(Fe3)},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite",
          "Hercynite", "Magnetite"},
         {}},
        {5,
         "MgCuZn.dat",
         kOxy,
         {"Mg", "Cu", "Zn"},
         {cation(Mg), cation(Cu), cation(Zn)},
         {"Magnesiocoulsonite", "Magnesiochromite", "Magnesioferrite", "Spinel", "Cuprospinel",
          "Thermaerogenite", "Franklinite", "Gahnite", "Hetaerolite", "Zincochromite"},
         {}},
        {6,
         "Fe3CuZn.dat",
         kOxy,
         {"Fe3+(apfu)", "Cu+Zn(apfu"},
         {cation(Fe3), kCuZn},
         {"Cuprospinel", "Spinel", "Magnesioferrite", "Thermaerogenite"},
         {}},
        {7,
         "Al2O3TiO2.dat",
         kOxy,
         {"Al2O3(wt%)", "TiO2(wt%)"},
         {oxide(Al2O3), oxide(TiO2)},
         kChromites,
         {}},
        {8,
         "Cr2O3Al2O3.dat",
         kOxy,
         {"Cr2O3(wt%)", "Al2O3(wt%)"},
         {oxide(Cr2O3), oxide(Al2O3)},
         kChromites,
         {{1, std::nullopt, 35}, {0, 30, 70}}},
        {9,
         "CrCrAl100TiO2.dat",
         kOxy,
         {"100Cr/(Cr+Al)", "TiO2(wt)"},
         {kCrCrAlx100, oxide(TiO2)},
         kChromites,
         {{1, std::nullopt, 1}, {0, 30, 100}}},
        {10,
         "MgMgFeCrCrAl100.dat",
         kOxy,
         {"100Mg/(Mg+Fe2)", "100Cr/(Cr+Al)"},
         {kMgMgFe2x100, kCrCrAlx100},
         kChromites,
         {{1, 30, 100}}},
        {11,
         "Al2O3Fe2Fe3.dat",
         kOxy,
         {"Al2O3(wt%)", "Fe2+/Fe3+"},
         {oxide(Al2O3), kFe2Fe3},
         kChromites,
         {{0, std::nullopt, 60}, {1, 0.05, 20}}},
        {12,
         "Fe2MgFe3Al.dat",
         kOxy,
         {"Fe2+/(Fe2++Mg)", "Fe3+/(Fe3++Al)"},
         {kFe2Fe2Mg, kFe3Fe3Al},
         {"Spinel", "Magnetite", "Hercynite", "Magnesioferrite"},
         {}},
        {13,
         "MgMgFeCrCrAl.dat",
         kOxy,
         {"Mg/(Mg+Fe2)", "Cr/(Cr+Al)"},
         {kMgMgFe2, kCrCrAl},
         kChromites,
         {}},
        {14,
         "CrCrAlTiO2.dat",
         kOxy,
         {"Cr/(Cr+Al)", "TiO2(wt)"},
         {kCrCrAl, oxide(TiO2)},
         kChromites,
         {{1, std::nullopt, 5}}},
        {15,
         "Fe3CrAl3.dat",
         kOxy,
         {"Fe3+", "Cr", "Al"},
         {cation(Fe3), cation(Cr), cation(Al)},
         kChromites,
         {}},
        {16,
         "FeCrAlTiO2.dat",
         kOxy,
         {"Fe3+/(Fe3++Cr+Al)", "TiO2(wt%)"},
         {kFe3Fe3AlCr, oxide(TiO2)},
         kChromites,
         {{1, std::nullopt, 30}}},
        {17,
         "FeFeMgCrCrAl.dat",
         kOxy,
         {"Fe2+/(Fe2++Mg)", "Cr/(Cr+Al)"},
         {kFe2Fe2Mg, kCrCrAl},
         kChromites,
         {}},
        {18,
         "Fe2MgFe3CrAl.dat",
         kOxy,
         {"Fe2+/(Fe2++Mg)", "Fe3+/(Fe3++Cr+Al)"},
         {kFe2Fe2Mg, kFe3Fe3AlCr},
         kChromites,
         {}},
        {19,
         "Cr2O3FeO.dat",
         kOxy,
         {"Cr2O3(wt%)", "FeOtot(wt%)"},
         {oxide(Cr2O3), kFeOTotal},
         kChromites,
         {{0, 20, 60}, {1, std::nullopt, 60}}},
        {20,
         "CrAlFe3Ti.dat",
         kOxy,
         {"Cr", "Al", "Fe3++2Ti"},
         {cation(Cr), cation(Al), kFe3TwoTi},
         kChromites,
         {}},
        {21,
         "MgFe2Fe3CrAl.dat",
         kOxy,
         {"Mg/(Mg+Fe2+)", "Fe3+/(Fe3++Cr+Al)"},
         {kMgMgFe2, kFe3Fe3AlCr},
         kChromites,
         {}},
        {22,
         "TiO2Fe2Fe3.dat",
         kOxy,
         {"TiO2(wt%)", "Fe2+/Fe3+"},
         {oxide(TiO2), kFe2Fe3},
         kChromites,
         {{0, std::nullopt, 5}, {1, std::nullopt, 20}}},
        {23,
         "Fe3CrAlTiO2.dat",
         kOxy,
         {"Fe3+/(Fe3++Cr+Al)", "TiO2(wt%)"},
         {kFe3Fe3AlCr, oxide(TiO2)},
         kChromites,
         {{1, std::nullopt, 6}}},
        {24,
         "VCrFe3.dat",
         kOxy,
         {"V", "Cr", "Fe3+"},
         {cation(V3), cation(Cr), cation(Fe3)},
         {"Chromite", "Magnetite", "Coulsonite"},
         {}},
        {25,
         "ZnFe2MnMg.dat",
         kOxy,
         {"Zn", "(Fe2++Mn", "Mg"},
         {cation(Zn), kFe2Mn2, cation(Mg)},
         {"Chromite", "Magnesiochromite", "Zincochromite"},
         {}},
        {26,
         "ZnFe2Mn.dat",
         kOxy,
         {"Zn", "Fe2+", "Mn"},
         {cation(Zn), cation(Fe2), cation(Mn2)},
         {"Franklinite", "Magnetite", "Jacobsite"},
         {}},
        {27,
         "CuZnMn.dat",
         kOxy,
         {"Cu", "Zn", "Mn"},
         {cation(Cu), cation(Zn), cation(Mn2)},
         {"Thermaerogenite", "Gahnite", "Galaxite"},
         {}},
        {28,
         "Fe2CuMg.dat",
         kOxy,
         {"Fe2+", "Cu", "Mg"},
         {cation(Fe2), cation(Cu), cation(Mg)},
         {"Hercynite", "Thermaerogenite", "Spinel"},
         {}},
        {29,
         "MnMgCu.dat",
         kOxy,
         {"Mn", "Mg", "Cu"},
         {cation(Mn2), cation(Mg), cation(Cu)},
         {"Galaxite", "Spinel", "Thermaerogenite"},
         {}},
        {30,
         "MgMnV2.dat",
         kOxy,
         {"Mg", "Mn", "V2+"},
         {cation(Mg), cation(Mn2), cation(V2)},
         {"Spinel", "Galaxite", "Dellagiustaite"},
         {}},
        {31,
         "Fe2CoMg.dat",
         kOxy,
         {"Fe2+", "Co", "Mg"},
         {cation(Fe2), cation(Co2), cation(Mg)},
         {"Chromite", "Cochromite", "Magnesiochromite"},
         {}},
        {32,
         "CoZnMn.dat",
         kOxy,
         {"Co", "Zn", "Mn"},
         {cation(Co2), cation(Zn), cation(Mn2)},
         {"Cochromite", "Zincochromite", "Manganochromite"},
         {}},
        {33,
         "MnMgCo.dat",
         kOxy,
         {"Mn", "Mg", "Co"},
         {cation(Mn2), cation(Mg), cation(Co2)},
         {"Manganochromite", "Magnesiochromite", "Cochromite"},
         {}},
        {34,
         "MgMnNi.dat",
         kOxy,
         {"Mg", "Mn", "Ni"},
         {cation(Mg), cation(Mn2), cation(Ni)},
         {"Manganochromite", "Magnesiochromite"},
         {}},
        {35,
         "Fe2CuMg1.dat",
         kOxy,
         {"Fe2+", "Cu", "Mg"},
         {cation(Fe2), cation(Cu), cation(Mg)},
         {"Magnetite", "Cuprospinel", "Magnesioferrite"},
         {}},
        {36,
         "CuZnMn1.dat",
         kOxy,
         {"Cu", "Zn", "Mn"},
         {cation(Cu), cation(Zn), cation(Mn2)},
         {"Cuprospinel", "Franklinite", "Jacobsite"},
         {}},
        {37,
         "MnMgCu1.dat",
         kOxy,
         {"Mn", "Mg", "Cu"},
         {cation(Mn2), cation(Mg), cation(Cu)},
         {"Jacobsite", "Magnesioferrite", "Cuprospinel"},
         {}},
        {38,
         "MgMnNi1.dat",
         kOxy,
         {"Mg", "Mn", "Ni"},
         {cation(Mg), cation(Mn2), cation(Ni)},
         {"Magnesioferrite", "Jacobsite", "Trevorite"},
         {}},
        {39,
         "MgFe2CrAl.dat",
         kOxy,
         {"Mg/(Mg+Fe2+)", "Cr/(Cr+Al)"},
         {kMgMgFe2, kCrCrAl},
         {"Magnesiochromite", "Chromite", "Hercynite", "Spinel"},
         {}},
        {40,
         "Fe2CoMn.dat",
         kOxy,
         {"Fe2+", "Co", "Mn"},
         {cation(Fe2), cation(Co2), cation(Mn2)},
         {"Magnetite", "Guite", "Hausmannite"},
         {}},
        {41,
         "ZnMgFe.dat",
         kOxy,
         {"Zn", "Mg", "Fe2+"},
         {cation(Zn), cation(Mg), cation(Fe2)},
         {"Gahnite", "Spinel", "Hercynite"},
         {}},
        {42,
         "ZnFeMn.dat",
         kOxy,
         {"Zn", "Fe2+", "Mn"},
         {cation(Zn), cation(Fe2), cation(Mn2)},
         {"Franklinite", "Magnetite", "Jacobsite"},
         {}},
        {43,
         "TiFeAl.dat",
         kOxy,
         {"Ti", "Fe3+", "Al"},
         {cation(Ti4), cation(Fe3), cation(Al)},
         {"Galaxite", "Jacobsite"},
         {}},
        {44,
         "ZnMnFe3Al.dat",
         kOxy,
         {"Zn/(Zn+Mn)", "Fe3+/(Fe3++Al)"},
         {kZnZnMn, kFe3Fe3Al},
         {"Galaxite", "Jacobsite", "Franklinite", "Gahnite"},
         {}},
        {45,
         "FeVCr.dat",
         kOxy,
         {"Fe3+", "V3+", "Cr3+"},
         {cation(Fe3), cation(V3), cation(Cr)},
         {"Magnetite", "Vuorelainenite", "Manganochromite"},
         {}},
        {46,
         "TiAlFe.dat",
         kOxy,
         {"(FeMg)2TiO4", "(FeMg)Al2O4", "(FeMg)Fe2O4"},
         {cation(Ti4), cation(Al), cation(Fe3)},
         {"Qandilite", "Spinel", "Magnesioferrite"},
         {}},
        {47,
         "Fe3AlFe2Mg.dat",
         kOxy,
         {"Fe3+/(Fe3++Al)", "Fe2+/(Fe2++Mg)"},
         {kFe3Fe3Al, kFe2Fe2Mg},
         {"Magnesioferrite", "Spinel", "Hercynite", "Magnetite"},
         {}},
        {48,
         "CrFeAl.dat",
         kOxy,
         {"Cr", "Fe3", "Al"},
         {cation(Cr), cation(Fe3), cation(Al)},
         {"Manganochromite", "Jacobsite", "Galaxite"},
         {}},
        {49,
         "MnFeAl.dat",
         kOxy,
         {"Mn3+", "Fe3", "Al"},
         {cation(Mn3), cation(Fe3), cation(Al)},
         {"Hausmannite", "Jacobsite", "Galaxite"},
         {}},
        {50,
         "NiFe2Cots1.dat",
         kThio,
         {"Ni", "Fe2+", "Co"},
         {thioApfu(tNi), thioApfu(tFe), thioApfu(tCo)},
         {"Greigite", "Polydymite", "Linnaeite"},
         {}},
        {51,
         "NiFe2Cots2.dat",
         kThio,
         {"Ni", "Fe2+", "Co"},
         {thioApfu(tNi), thioApfu(tFe), thioApfu(tCo)},
         {"Violarite", "Polydymite", "Siegenite", "Linnaeite"},
         {}},
        {52,
         "Fe2MnZnts.dat",
         kThio,
         {"Fe2+", "Mn", "Zn"},
         {thioApfu(tFe), thioApfu(tMn), thioApfu(tZn)},
         {"Daubreelite", "Joegoldsteinite", "Kalininite"},
         {}},
        {53,
         "Fe2NiCots.dat",
         kThio,
         {"Fe2+", "Ni", "Co"},
         {thioApfu(tFe), thioApfu(tNi), thioApfu(tCo)},
         {"Greigite", "Grimmite", "Siegenite"},
         {}},
        {54,
         "ZnCdFe2ts.dat",
         kThio,
         {"Zn", "Cd", "Fe2+"},
         {thioApfu(tZn), thioApfu(tCd), thioApfu(tFe)},
         {"Kalininite", "Cadmoindite", "Indite"},
         {}},
        {55,
         "IrRhPtts.dat",
         kThio,
         {"Ir", "Rh", "Pt"},
         {thioApfu(tIr), thioApfu(tRh), thioApfu(tPt)},
         {"Cuproiridsite", "Cuprorhodsite", "Malanite"},
         {}},
        {56,
         "ZnFeAgCuts.dat",
         kThio,
         {"Zn/(Zn+Fe)", "Ag/(Ag+Cu)"},
         {kZnZnFe, kAgAgCu},
         {"Toyohaite", "Rhodostannite"},
         {}},
        {57,
         "CuNiCoFets.dat",
         kThio,
         {"Cu", "Ni", "Co", "Fe"},
         {thioApfu(tCu), thioApfu(tNi), thioApfu(tCo), thioApfu(tFe)},
         {"Polydymite", "Violarite", "Siegenite", "Carrollite", "Linnaeite", "Greigite"},
         {}},
        {60,
         "CuCoNiss.dat",
         kSeleno,
         {"Cu", "Co", "Ni"},
         {selenoApfu(sCu), selenoApfu(sCo), selenoApfu(sNi)},
         {"Tyrrellite", "Nickeltyrrellite"},
         {}},
    };
}

int speciesColumnOf(SheetBlock block) {
    switch (block) {
        case SheetBlock::Thiospinel:
            return rc::kThioSpecies;
        case SheetBlock::Selenospinel:
            return rc::kSelenoSpecies;
        default:
            return rc::kOxySpecies;
    }
}

constexpr std::size_t kZoneWidth = 14;

double valueAsWritten(const DiagramValue& value, const SampleRow& row, const RowResults& results,
                      const NumberFormatSettings& settings) {
    if (value.plain != nullptr) return value.plain(results);
    return readFormatted(row[value.resultColumn], settings);
}

}  // namespace

const std::vector<DiagramDataFile>& diagramDataFiles() {
    static const std::vector<DiagramDataFile> files = makeFiles();
    return files;
}

namespace {

bool isAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// Appends UTF-8 text to a line in Windows-1252.
void appendEncoded(std::string& line, std::string_view text) {
    if (isAscii(text)) {
        line += text;
    } else {
        line += encodeWindows1252(text);
    }
}

// Appends one item of a line that starts at lineStart: every item but the
// first starts at the next zone start that leaves at least one blank; a
// plain number is " 1.5 " or "-1.5 ".
void appendZoned(std::string& line, std::size_t lineStart, bool first, std::string_view text,
                 bool plainNumber, bool negative) {
    if (!first) {
        const std::size_t used = line.size() - lineStart;
        const std::size_t next = (used / kZoneWidth + 1) * kZoneWidth;
        line.append(next - used, ' ');
    }
    if (plainNumber && !negative) line.push_back(' ');
    appendEncoded(line, text);
    if (plainNumber) line.push_back(' ');
}

// Whether every range of the file holds, each value read by valueOf.
template <typename ValueOf>
bool rangesHoldFor(const DiagramDataFile& file, const ValueOf& valueOf) {
    for (const DiagramRange& range : file.ranges) {
        const double v = valueOf(file.values[range.valueIndex]);
        if (range.min && !(v >= *range.min)) return false;
        if (range.max && !(v <= *range.max)) return false;
    }
    return true;
}

bool rangesHold(const DiagramDataFile& file, const SampleRow& row, const RowResults& results,
                const NumberFormatSettings& settings) {
    return rangesHoldFor(file, [&](const DiagramValue& value) {
        return valueAsWritten(value, row, results, settings);
    });
}

// Every species name that some file accepts, and for each file the set of
// the names it accepts, so a row's species is looked up once per row and
// not once per file.
struct SpeciesIndex {
    std::vector<std::string_view> names;
    std::vector<std::uint64_t> accepted;  // per file: bit i for names[i]
};

const SpeciesIndex& speciesIndex() {
    static const SpeciesIndex index = [] {
        SpeciesIndex ix;
        for (const DiagramDataFile& file : diagramDataFiles()) {
            std::uint64_t mask = 0;
            for (std::string_view name : file.species) {
                auto it = std::find(ix.names.begin(), ix.names.end(), name);
                if (it == ix.names.end()) it = ix.names.insert(ix.names.end(), name);
                mask |= std::uint64_t{1} << (it - ix.names.begin());
            }
            ix.accepted.push_back(mask);
        }
        return ix;
    }();
    return index;
}

// The bit of a species name in the index; 0 for a name no file accepts.
std::uint64_t speciesBit(std::string_view species) {
    if (species.empty()) return 0;
    const auto& names = speciesIndex().names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == species) return std::uint64_t{1} << i;
    }
    return 0;
}

constexpr std::size_t kFlushBytes = 64u << 10;

int blockIndex(SheetBlock block) {
    switch (block) {
        case SheetBlock::Thiospinel:
            return 1;
        case SheetBlock::Selenospinel:
            return 2;
        default:
            return 0;
    }
}

struct ZoneItem {
    std::string_view text;  // Windows-1252
    bool plainNumber;
    bool negative;
};

// Room in a file's pending buffer: the bytes that make it write them out,
// and as much again as the longest line composed in place.
constexpr std::size_t kLineRoom = 1024;
constexpr std::size_t kPendingBytes = kFlushBytes + kLineRoom;

// A whole line with its CR LF, laid out as appendZoned lays out its items.
// A line that fits kLineRoom is composed in place at p and its end returned;
// a longer one is composed into `out` and p is returned.
char* appendZonedLine(char* p, std::string& out, const ZoneItem* items, std::size_t count) {
    std::size_t need = 2;
    for (std::size_t k = 0; k < count; ++k) need += items[k].text.size() + 16 + 2;
    if (need > kLineRoom) {
        const std::size_t start = out.size();
        for (std::size_t k = 0; k < count; ++k) {
            const ZoneItem& it = items[k];
            if (k > 0) {
                const std::size_t used = out.size() - start;
                out.append((used / kZoneWidth + 1) * kZoneWidth - used, ' ');
            }
            if (it.plainNumber && !it.negative) out.push_back(' ');
            out += it.text;
            if (it.plainNumber) out.push_back(' ');
        }
        out += "\r\n";
        return p;
    }
    char* const lineStart = p;
    for (std::size_t k = 0; k < count; ++k) {
        const ZoneItem& it = items[k];
        if (k > 0) {
            const std::size_t used = static_cast<std::size_t>(p - lineStart);
            const std::size_t pad = (used / kZoneWidth + 1) * kZoneWidth - used;
            // One fixed-size store of blanks (pad is at most 14; the room
            // reserved per item covers 16).
            std::memcpy(p, "                ", 16);
            p += pad;
        }
        if (it.plainNumber && !it.negative) *p++ = ' ';
        copyBytes(p, it.text.data(), it.text.size());
        p += it.text.size();
        if (it.plainNumber) *p++ = ' ';
    }
    *p++ = '\r';
    *p++ = '\n';
    return p;
}

}  // namespace

std::string printZoneLine(const std::vector<PrintItem>& items) {
    std::string line;
    for (std::size_t i = 0; i < items.size(); ++i) {
        appendZoned(line, 0, i == 0, items[i].text, items[i].plainNumber, items[i].negative);
    }
    line += "\r\n";
    return line;
}

bool passesFilter(const DiagramDataFile& file, const SampleRow& row, const RowResults& results,
                  const NumberFormatSettings& settings) {
    const std::string& species = row[speciesColumnOf(file.block)];
    bool named = false;
    for (std::string_view s : file.species) named = named || species == s;
    return named && rangesHold(file, row, results, settings);
}

void openDiagramFiles(DiagramFileSet& set, const std::filesystem::path& folder,
                      const NumberFormatSettings& settings) {
    set.settings = settings;
    set.errors.clear();
    set.files.clear();
    set.pending.clear();
    set.files.reserve(diagramDataFiles().size());
    for (const DiagramDataFile& file : diagramDataFiles()) {
        AtomicFile& out = set.files.emplace_back();
        // Every run makes these files anew; waiting for the disk at each of
        // them would slow every run for nothing.
        out.setDurable(false);
        if (!out.open(folder / file.fileName)) {
            set.errors.push_back(std::string(file.fileName) + ": " + out.error());
            continue;
        }
        std::vector<PrintItem> items{{"SampleNo"}};
        for (std::string_view title : file.titles) items.push_back({std::string(title)});
        out.write(printZoneLine(items));
    }
}

void writeDiagramLines(DiagramFileSet& set, const SampleRow& row, const RowResults& results) {
    const auto& files = diagramDataFiles();
    const SpeciesIndex& index = speciesIndex();
    const std::uint64_t oxy = speciesBit(row[rc::kOxySpecies]);
    const std::uint64_t thio = speciesBit(row[rc::kThioSpecies]);
    const std::uint64_t seleno = speciesBit(row[rc::kSelenoSpecies]);
    if ((oxy | thio | seleno) == 0) return;  // a row no file accepts
    set.pending.resize(set.files.size());
    // Texts in Windows-1252: the sample names once per row; the formatted
    // cells as they are when every character of the number forms is ASCII.
    const bool asciiNumbers =
        isAscii(set.settings.groupSeparator) && isAscii(set.settings.decimalSeparator);
    std::array<std::string, 3> encodedNames;
    std::array<std::string_view, 3> names;
    const int nameColumns[3] = {rc::kOxySample, rc::kThioSample, rc::kSelenoSample};
    for (int b = 0; b < 3; ++b) {
        const std::string& name = row[nameColumns[b]];
        if (isAscii(name)) {
            names[b] = name;
        } else {
            encodedNames[b] = encodeWindows1252(name);
            names[b] = encodedNames[b];
        }
    }
    std::array<std::string, 8> encodedCells;  // one per item of a line
    const auto cellText = [&](const std::string& text, std::size_t item) -> std::string_view {
        if (asciiNumbers || isAscii(text)) return text;
        encodedCells[item] = encodeWindows1252(text);
        return encodedCells[item];
    };
    // Each plain value is formatted once per row, however many files take it,
    // into texts kept in the set from row to row (their storage is reused).
    auto& plains = set.plainTexts;
    std::size_t plainCount = 0;
    const auto plainText = [&](double (*f)(const RowResults&)) -> const DiagramPlainText* {
        for (std::size_t k = 0; k < plainCount; ++k) {
            if (plains[k].plain == f) return &plains[k];
        }
        if (plainCount == plains.size()) plainCount = 0;  // more than a row has: start over
        DiagramPlainText& p = plains[plainCount++];
        const double v = f(results);
        p.plain = f;
        p.text.clear();
        appendNumber(p.text, v, NumberForm::Plain, set.settings);
        if (!asciiNumbers) p.text = encodeWindows1252(p.text);
        p.negative = v < 0;
        return &p;
    };
    // A cell's value as the table shows it is read once per row, however
    // many files test it.
    std::array<double, kFormattedCellCount> shownValues;
    std::bitset<kFormattedCellCount> shownRead;
    const auto valueOf = [&](const DiagramValue& value) -> double {
        if (value.plain != nullptr) return value.plain(results);
        const auto column = static_cast<std::size_t>(value.resultColumn);
        if (!shownRead[column]) {
            shownValues[column] = readFormatted(row[column], set.settings);
            shownRead[column] = true;
        }
        return shownValues[column];
    };
    std::string longLine;  // a line too long to be composed in place
    for (std::size_t i = 0; i < files.size() && i < set.files.size(); ++i) {
        const DiagramDataFile& file = files[i];
        const std::uint64_t bit = file.block == SheetBlock::Thiospinel     ? thio
                                  : file.block == SheetBlock::Selenospinel ? seleno
                                                                           : oxy;
        if ((index.accepted[i] & bit) == 0 || !set.files[i].isOpen()) continue;
        if (!rangesHoldFor(file, valueOf)) continue;
        DiagramFileSet::PendingLines& out = set.pending[i];
        if (!out.bytes) out.bytes = std::make_unique_for_overwrite<char[]>(kPendingBytes);
        // The items of a line; the texts are Windows-1252 already.
        std::array<ZoneItem, 8> items;
        std::size_t count = 0;
        items[count++] = {names[blockIndex(file.block)], false, false};
        for (const DiagramValue& value : file.values) {
            if (count == items.size()) break;
            if (value.plain != nullptr) {
                const DiagramPlainText* p = plainText(value.plain);
                items[count++] = {p->text, true, p->negative};
            } else {
                items[count] = {cellText(row[value.resultColumn], count), false, false};
                ++count;
            }
        }
        // out.size is below kFlushBytes here, which leaves kLineRoom.
        char* const at = out.bytes.get() + out.size;
        longLine.clear();
        char* const end = appendZonedLine(at, longLine, items.data(), count);
        out.size += static_cast<std::size_t>(end - at);
        if (!longLine.empty()) {
            // The lines before it go first.
            set.files[i].write({out.bytes.get(), out.size});
            out.size = 0;
            set.files[i].write(longLine);
        } else if (out.size >= kFlushBytes) {
            set.files[i].write({out.bytes.get(), out.size});
            out.size = 0;
        }
    }
}

bool closeDiagramFiles(DiagramFileSet& set) {
    const auto& files = diagramDataFiles();
    for (std::size_t i = 0; i < set.files.size(); ++i) {
        AtomicFile& out = set.files[i];
        if (!out.isOpen()) continue;
        if (i < set.pending.size() && set.pending[i].size > 0) {
            out.write({set.pending[i].bytes.get(), set.pending[i].size});
        }
        if (!out.commit()) {
            set.errors.push_back(std::string(files[i].fileName) + ": " + out.error());
        }
    }
    set.files.clear();
    set.pending.clear();
    return set.errors.empty();
}

void discardDiagramFiles(DiagramFileSet& set) {
    for (AtomicFile& out : set.files) out.discard();
    set.files.clear();
    set.pending.clear();
}

}  // namespace qarv
