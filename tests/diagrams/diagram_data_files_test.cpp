// The 57 diagram data files: the print-zone line format the plot templates
// read, the catalogue of file names, header titles, values and species
// (checked against the diagram table), the filters with their range
// conditions on the values as written, and how a run creates, fills and
// replaces the files in a folder.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "diagrams/diagram_data_files.h"
#include "results/sample_row.h"
#include "test_support.h"

namespace qarv {
namespace {

namespace fs = std::filesystem;

const NumberFormatSettings kUs{",", "."};
const NumberFormatSettings kGerman{".", ","};

// ---------------------------------------------------------------------------
// Line format

struct LineCase {
    const char* name;
    std::vector<PrintItem> items;
    std::string want;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class PrintZones : public ::testing::TestWithParam<LineCase> {};

TEST_P(PrintZones, ItemsStartAtTheNextZoneAfterTheirPredecessor) {
    EXPECT_EQ(printZoneLine(GetParam().items), GetParam().want);
}

std::string blanks(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PrintZones,
    ::testing::Values(
        LineCase{"SingleItem", {{"SampleNo"}}, "SampleNo\r\n"},
        LineCase{"AfterAnEmptyNameAt15", {{""}, {"x"}}, blanks(14) + "x\r\n"},
        LineCase{"AfterA13CharacterNameAt15", {{"abcdefghijklm"}, {"x"}}, "abcdefghijklm x\r\n"},
        LineCase{"AfterA14CharacterNameAt29",
                 {{"abcdefghijklmn"}, {"x"}},
                 "abcdefghijklmn" + blanks(14) + "x\r\n"},
        LineCase{"AfterA15CharacterNameAt29",
                 {{"abcdefghijklmno"}, {"x"}},
                 "abcdefghijklmno" + blanks(13) + "x\r\n"},
        LineCase{"AfterA28CharacterNameAt43",
                 {{std::string(28, 'n')}, {"x"}},
                 std::string(28, 'n') + blanks(14) + "x\r\n"},
        LineCase{
            "EmptyItemInTheMiddleTakesItsZone", {{"a"}, {""}, {"b"}}, "a" + blanks(27) + "b\r\n"},
        LineCase{"PlainNumberKeepsItsBlanksAtTheLineEnd",
                 {{"S1"}, {"1.5", true, false}},
                 "S1" + blanks(12) + " 1.5 \r\n"},
        LineCase{
            "NegativePlainNumber", {{"S1"}, {"-1.5", true, true}}, "S1" + blanks(12) + "-1.5 \r\n"},
        LineCase{"PlainNumberThenFormattedNumber",
                 {{"S1"}, {"1.5", true, false}, {"0.250"}},
                 "S1" + blanks(12) + " 1.5 " + blanks(9) + "0.250\r\n"},
        LineCase{
            "PlainNumbersInARow",
            {{"S1"}, {"0", true, false}, {"-0.000123456789012346", true, true}, {"7", true, false}},
            "S1" + blanks(12) + " 0 " + blanks(11) + "-0.000123456789012346 " + blanks(6) +
                " 7 \r\n"},
        LineCase{"NonAsciiNameIsOnePositionPerCharacter",
                 {{"Müller"}, {"x"}},
                 "M\xFCller" + blanks(8) + "x\r\n"},
        LineCase{"ThirteenCharactersInFifteenUtf8Bytes",
                 {{"Trüstedtite-ß"}, {"x"}},
                 "Tr\xFCstedtite-\xDF x\r\n"},
        LineCase{"EuroSignIsOneByte", {{"€-12"}, {"€"}}, "\x80-12" + blanks(10) + "\x80\r\n"},
        LineCase{"CharacterOutsideTheCodePage", {{"Ω"}, {"x"}}, "?" + blanks(13) + "x\r\n"},
        LineCase{"HeaderOfMgFeCrAl100",
                 {{"SampleNo"}, {"Mg/(Mg+Fe2)"}, {"Cr/(Cr+Al)"}},
                 "SampleNo" + blanks(6) + "Mg/(Mg+Fe2)" + blanks(3) + "Cr/(Cr+Al)\r\n"}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// A row whose every diagram value has its own recognisable text.

RowResults fixtureResults() {
    RowResults r;
    OxyspinelFormula& o = r.oxy;
    o.oxideTotal = 100;
    o.cationTotal = 3;
    o.oxides[Al2O3] = 20.5;
    o.oxides[TiO2] = 0.25;
    o.oxides[Cr2O3] = 45.5;
    o.apfu[Fe3] = 0.1101;
    o.apfu[Cr] = 1.2202;
    o.apfu[Al] = 0.3303;
    o.apfu[Mg] = 0.4404;
    o.apfu[Cu] = 0.0505;
    o.apfu[Zn] = 0.0606;
    o.apfu[Mn2] = 0.0707;
    o.apfu[Fe2] = 0.5808;
    o.apfu[Co2] = 0.0909;
    o.apfu[Ni] = 0.0110;
    o.apfu[V2] = 0.0211;
    o.apfu[V3] = 0.0312;
    o.apfu[Ti4] = 0.0413;
    o.apfu[Mn3] = 0.0514;
    o.crOverCrAl = 0.79;
    o.fe2OverFe2Mg = 0.57;
    o.fe3OverFe3AlCr = 0.07;
    o.mgOverMgFe2 = 0.43;
    o.mgOverMgFe2Times100 = 43;
    o.crOverCrAlTimes100 = 78.7;
    o.fe2OverFe3 = 5.25;
    o.fe3OverFe3Al = 0.25;
    o.znOverZnMn = 0.4615;
    o.fe3PlusTwoTi = 0.1927;
    o.cuPlusZn = 0.1111;
    o.fe2PlusMn2 = 0.6515;
    o.feOTotal = 25.5;

    r.thioInput.wt[tS] = 40;
    ThiospinelFormula t;
    t.apfu[tCu] = 0.101;
    t.apfu[tCd] = 0.202;
    t.apfu[tFe] = 0.303;
    t.apfu[tMn] = 0.404;
    t.apfu[tZn] = 0.505;
    t.apfu[tCo] = 0.606;
    t.apfu[tNi] = 0.707;
    t.apfu[tIr] = 0.808;
    t.apfu[tPt] = 0.909;
    t.apfu[tRh] = 1.111;
    t.apfu[tS] = 4;
    t.wtTotal = 100;
    t.apfuTotal = 10;
    t.znOverZnFe = 0.625;
    t.agOverAgCu = 0.375;
    r.thio = t;

    r.selenoInput.wt[sSe] = 60;
    SelenospinelFormula s;
    s.apfu[sCu] = 1.001;
    s.apfu[sCo] = 1.002;
    s.apfu[sNi] = 0.999;
    s.apfu[sSe] = 4;
    s.wtTotal = 100;
    s.apfuTotal = 7;
    r.seleno = s;
    return r;
}

// The text each value of the diagram table takes for the fixture, and
// whether it is written as a plain number (with its surrounding blanks).
struct ValueText {
    std::string text;
    bool plain;
};

const std::map<std::string, ValueText>& oxyValueTexts() {
    static const std::map<std::string, ValueText> m = {{"Fe3+", {"0.1101", false}},
                                                       {"Cr", {"1.2202", false}},
                                                       {"Al", {"0.3303", false}},
                                                       {"Mg", {"0.4404", false}},
                                                       {"Cu", {"0.0505", false}},
                                                       {"Zn", {"0.0606", false}},
                                                       {"Mn2+", {"0.0707", false}},
                                                       {"Fe2+", {"0.5808", false}},
                                                       {"Co2+", {"0.0909", false}},
                                                       {"Ni", {"0.0110", false}},
                                                       {"V2+", {"0.0211", false}},
                                                       {"V3+", {"0.0312", false}},
                                                       {"Ti4+", {"0.0413", false}},
                                                       {"Mn3+", {"0.0514", false}},
                                                       {"Al2O3 wt%", {"20.500", false}},
                                                       {"TiO2 wt%", {"0.250", false}},
                                                       {"Cr2O3 wt%", {"45.500", false}},
                                                       {"Cr/(Cr + Al)", {"0.79", false}},
                                                       {"Fe2+/(Fe2+ + Mg)", {"0.57", false}},
                                                       {"Fe3+/(Fe3+ + Al + Cr)", {"0.07", false}},
                                                       {"Mg/(Mg + Fe2+)", {"0.43", true}},
                                                       {"100 × Mg/(Mg + Fe2+)", {"43", true}},
                                                       {"100 × Cr/(Cr + Al)", {"78.7", true}},
                                                       {"Fe2+/Fe3+", {"5.25", true}},
                                                       {"Fe3+/(Fe3+ + Al)", {"0.25", true}},
                                                       {"Zn/(Zn + Mn2+)", {"0.4615", true}},
                                                       {"Fe3+ + 2 × Ti4+", {"0.1927", true}},
                                                       {"Cu + Zn", {"0.1111", true}},
                                                       {"Fe2+ + Mn2+", {"0.6515", true}},
                                                       {"FeOtot", {"25.5", true}}};
    return m;
}

const std::map<std::string, ValueText>& thioValueTexts() {
    static const std::map<std::string, ValueText> m = {
        {"Cu", {"0.101", false}}, {"Cd", {"0.202", false}},        {"Fe", {"0.303", false}},
        {"Mn", {"0.404", false}}, {"Zn", {"0.505", false}},        {"Co", {"0.606", false}},
        {"Ni", {"0.707", false}}, {"Ir", {"0.808", false}},        {"Pt", {"0.909", false}},
        {"Rh", {"1.111", false}}, {"znOverZnFe", {"0.625", true}}, {"agOverAgCu", {"0.375", true}}};
    return m;
}

const std::map<std::string, ValueText>& selenoValueTexts() {
    static const std::map<std::string, ValueText> m = {
        {"Cu", {"1.001", false}}, {"Co", {"1.002", false}}, {"Ni", {"0.999", false}}};
    return m;
}

// A line laid out by the print-zone rule, written out independently for
// ASCII items: each item after the first starts at the next of the
// positions 1, 15, 29, ... after the previous item.
std::string zoned(const std::vector<std::string>& items) {
    std::string line;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) line.append((line.size() / 14 + 1) * 14 - line.size(), ' ');
        line += items[i];
    }
    return line + "\r\n";
}

// ---------------------------------------------------------------------------
// The catalogue

enum Block { Oxy, Thio, Seleno };

struct CatalogueEntry {
    int channel;
    std::string file;
    Block block;
    std::vector<std::string> titles;
    std::vector<std::string> values;
    std::vector<std::string> species;
};

// The diagram table: channel, file, header titles, values in writing order
// and the species admitted.
const std::vector<CatalogueEntry>& catalogue() {
    static const std::vector<CatalogueEntry> entries = {
        {2,
         "MgFeCrAl100.dat",
         Oxy,
         {"Mg/(Mg+Fe2)", "Cr/(Cr+Al)"},
         {"100 × Mg/(Mg + Fe2+)", "100 × Cr/(Cr + Al)"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {3,
         "Fe3CrAl.dat",
         Oxy,
         {"Fe3+", "Cr", "Al"},
         {"Fe3+", "Cr", "Al"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite",
          "Magnetite", "Hercynite"}},
        {4,
         "CrAlFe3.dat",
         Oxy,
         {"Cr", "Al", "Fe3+"},
         {"Cr", "Al", "Fe3+"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite",
          "Hercynite", "Magnetite"}},
        {5,
         "MgCuZn.dat",
         Oxy,
         {"Mg", "Cu", "Zn"},
         {"Mg", "Cu", "Zn"},
         {"Magnesiocoulsonite", "Magnesiochromite", "Magnesioferrite", "Spinel", "Cuprospinel",
          "Thermaerogenite", "Franklinite", "Gahnite", "Hetaerolite", "Zincochromite"}},
        {6,
         "Fe3CuZn.dat",
         Oxy,
         {"Fe3+(apfu)", "Cu+Zn(apfu"},
         {"Fe3+", "Cu + Zn"},
         {"Cuprospinel", "Spinel", "Magnesioferrite", "Thermaerogenite"}},
        {7,
         "Al2O3TiO2.dat",
         Oxy,
         {"Al2O3(wt%)", "TiO2(wt%)"},
         {"Al2O3 wt%", "TiO2 wt%"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {8,
         "Cr2O3Al2O3.dat",
         Oxy,
         {"Cr2O3(wt%)", "Al2O3(wt%)"},
         {"Cr2O3 wt%", "Al2O3 wt%"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {9,
         "CrCrAl100TiO2.dat",
         Oxy,
         {"100Cr/(Cr+Al)", "TiO2(wt)"},
         {"100 × Cr/(Cr + Al)", "TiO2 wt%"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {10,
         "MgMgFeCrCrAl100.dat",
         Oxy,
         {"100Mg/(Mg+Fe2)", "100Cr/(Cr+Al)"},
         {"100 × Mg/(Mg + Fe2+)", "100 × Cr/(Cr + Al)"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {11,
         "Al2O3Fe2Fe3.dat",
         Oxy,
         {"Al2O3(wt%)", "Fe2+/Fe3+"},
         {"Al2O3 wt%", "Fe2+/Fe3+"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {12,
         "Fe2MgFe3Al.dat",
         Oxy,
         {"Fe2+/(Fe2++Mg)", "Fe3+/(Fe3++Al)"},
         {"Fe2+/(Fe2+ + Mg)", "Fe3+/(Fe3+ + Al)"},
         {"Spinel", "Magnetite", "Hercynite", "Magnesioferrite"}},
        {13,
         "MgMgFeCrCrAl.dat",
         Oxy,
         {"Mg/(Mg+Fe2)", "Cr/(Cr+Al)"},
         {"Mg/(Mg + Fe2+)", "Cr/(Cr + Al)"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {14,
         "CrCrAlTiO2.dat",
         Oxy,
         {"Cr/(Cr+Al)", "TiO2(wt)"},
         {"Cr/(Cr + Al)", "TiO2 wt%"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {15,
         "Fe3CrAl3.dat",
         Oxy,
         {"Fe3+", "Cr", "Al"},
         {"Fe3+", "Cr", "Al"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {16,
         "FeCrAlTiO2.dat",
         Oxy,
         {"Fe3+/(Fe3++Cr+Al)", "TiO2(wt%)"},
         {"Fe3+/(Fe3+ + Al + Cr)", "TiO2 wt%"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {17,
         "FeFeMgCrCrAl.dat",
         Oxy,
         {"Fe2+/(Fe2++Mg)", "Cr/(Cr+Al)"},
         {"Fe2+/(Fe2+ + Mg)", "Cr/(Cr + Al)"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {18,
         "Fe2MgFe3CrAl.dat",
         Oxy,
         {"Fe2+/(Fe2++Mg)", "Fe3+/(Fe3++Cr+Al)"},
         {"Fe2+/(Fe2+ + Mg)", "Fe3+/(Fe3+ + Al + Cr)"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {19,
         "Cr2O3FeO.dat",
         Oxy,
         {"Cr2O3(wt%)", "FeOtot(wt%)"},
         {"Cr2O3 wt%", "FeOtot"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {20,
         "CrAlFe3Ti.dat",
         Oxy,
         {"Cr", "Al", "Fe3++2Ti"},
         {"Cr", "Al", "Fe3+ + 2 × Ti4+"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {21,
         "MgFe2Fe3CrAl.dat",
         Oxy,
         {"Mg/(Mg+Fe2+)", "Fe3+/(Fe3++Cr+Al)"},
         {"Mg/(Mg + Fe2+)", "Fe3+/(Fe3+ + Al + Cr)"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {22,
         "TiO2Fe2Fe3.dat",
         Oxy,
         {"TiO2(wt%)", "Fe2+/Fe3+"},
         {"TiO2 wt%", "Fe2+/Fe3+"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {23,
         "Fe3CrAlTiO2.dat",
         Oxy,
         {"Fe3+/(Fe3++Cr+Al)", "TiO2(wt%)"},
         {"Fe3+/(Fe3+ + Al + Cr)", "TiO2 wt%"},
         {"Chromite", "Cochromite", "Magnesiochromite", "Manganochromite", "Zincochromite"}},
        {24,
         "VCrFe3.dat",
         Oxy,
         {"V", "Cr", "Fe3+"},
         {"V3+", "Cr", "Fe3+"},
         {"Chromite", "Magnetite", "Coulsonite"}},
        {25,
         "ZnFe2MnMg.dat",
         Oxy,
         {"Zn", "(Fe2++Mn", "Mg"},
         {"Zn", "Fe2+ + Mn2+", "Mg"},
         {"Chromite", "Magnesiochromite", "Zincochromite"}},
        {26,
         "ZnFe2Mn.dat",
         Oxy,
         {"Zn", "Fe2+", "Mn"},
         {"Zn", "Fe2+", "Mn2+"},
         {"Franklinite", "Magnetite", "Jacobsite"}},
        {27,
         "CuZnMn.dat",
         Oxy,
         {"Cu", "Zn", "Mn"},
         {"Cu", "Zn", "Mn2+"},
         {"Thermaerogenite", "Gahnite", "Galaxite"}},
        {28,
         "Fe2CuMg.dat",
         Oxy,
         {"Fe2+", "Cu", "Mg"},
         {"Fe2+", "Cu", "Mg"},
         {"Hercynite", "Thermaerogenite", "Spinel"}},
        {29,
         "MnMgCu.dat",
         Oxy,
         {"Mn", "Mg", "Cu"},
         {"Mn2+", "Mg", "Cu"},
         {"Galaxite", "Spinel", "Thermaerogenite"}},
        {30,
         "MgMnV2.dat",
         Oxy,
         {"Mg", "Mn", "V2+"},
         {"Mg", "Mn2+", "V2+"},
         {"Spinel", "Galaxite", "Dellagiustaite"}},
        {31,
         "Fe2CoMg.dat",
         Oxy,
         {"Fe2+", "Co", "Mg"},
         {"Fe2+", "Co2+", "Mg"},
         {"Chromite", "Cochromite", "Magnesiochromite"}},
        {32,
         "CoZnMn.dat",
         Oxy,
         {"Co", "Zn", "Mn"},
         {"Co2+", "Zn", "Mn2+"},
         {"Cochromite", "Zincochromite", "Manganochromite"}},
        {33,
         "MnMgCo.dat",
         Oxy,
         {"Mn", "Mg", "Co"},
         {"Mn2+", "Mg", "Co2+"},
         {"Manganochromite", "Magnesiochromite", "Cochromite"}},
        {34,
         "MgMnNi.dat",
         Oxy,
         {"Mg", "Mn", "Ni"},
         {"Mg", "Mn2+", "Ni"},
         {"Manganochromite", "Magnesiochromite"}},
        {35,
         "Fe2CuMg1.dat",
         Oxy,
         {"Fe2+", "Cu", "Mg"},
         {"Fe2+", "Cu", "Mg"},
         {"Magnetite", "Cuprospinel", "Magnesioferrite"}},
        {36,
         "CuZnMn1.dat",
         Oxy,
         {"Cu", "Zn", "Mn"},
         {"Cu", "Zn", "Mn2+"},
         {"Cuprospinel", "Franklinite", "Jacobsite"}},
        {37,
         "MnMgCu1.dat",
         Oxy,
         {"Mn", "Mg", "Cu"},
         {"Mn2+", "Mg", "Cu"},
         {"Jacobsite", "Magnesioferrite", "Cuprospinel"}},
        {38,
         "MgMnNi1.dat",
         Oxy,
         {"Mg", "Mn", "Ni"},
         {"Mg", "Mn2+", "Ni"},
         {"Magnesioferrite", "Jacobsite", "Trevorite"}},
        {39,
         "MgFe2CrAl.dat",
         Oxy,
         {"Mg/(Mg+Fe2+)", "Cr/(Cr+Al)"},
         {"Mg/(Mg + Fe2+)", "Cr/(Cr + Al)"},
         {"Magnesiochromite", "Chromite", "Hercynite", "Spinel"}},
        {40,
         "Fe2CoMn.dat",
         Oxy,
         {"Fe2+", "Co", "Mn"},
         {"Fe2+", "Co2+", "Mn2+"},
         {"Magnetite", "Guite", "Hausmannite"}},
        {41,
         "ZnMgFe.dat",
         Oxy,
         {"Zn", "Mg", "Fe2+"},
         {"Zn", "Mg", "Fe2+"},
         {"Gahnite", "Spinel", "Hercynite"}},
        {42,
         "ZnFeMn.dat",
         Oxy,
         {"Zn", "Fe2+", "Mn"},
         {"Zn", "Fe2+", "Mn2+"},
         {"Franklinite", "Magnetite", "Jacobsite"}},
        {43,
         "TiFeAl.dat",
         Oxy,
         {"Ti", "Fe3+", "Al"},
         {"Ti4+", "Fe3+", "Al"},
         {"Galaxite", "Jacobsite"}},
        {44,
         "ZnMnFe3Al.dat",
         Oxy,
         {"Zn/(Zn+Mn)", "Fe3+/(Fe3++Al)"},
         {"Zn/(Zn + Mn2+)", "Fe3+/(Fe3+ + Al)"},
         {"Galaxite", "Jacobsite", "Franklinite", "Gahnite"}},
        {45,
         "FeVCr.dat",
         Oxy,
         {"Fe3+", "V3+", "Cr3+"},
         {"Fe3+", "V3+", "Cr"},
         {"Magnetite", "Vuorelainenite", "Manganochromite"}},
        {46,
         "TiAlFe.dat",
         Oxy,
         {"(FeMg)2TiO4", "(FeMg)Al2O4", "(FeMg)Fe2O4"},
         {"Ti4+", "Al", "Fe3+"},
         {"Qandilite", "Spinel", "Magnesioferrite"}},
        {47,
         "Fe3AlFe2Mg.dat",
         Oxy,
         {"Fe3+/(Fe3++Al)", "Fe2+/(Fe2++Mg)"},
         {"Fe3+/(Fe3+ + Al)", "Fe2+/(Fe2+ + Mg)"},
         {"Magnesioferrite", "Spinel", "Hercynite", "Magnetite"}},
        {48,
         "CrFeAl.dat",
         Oxy,
         {"Cr", "Fe3", "Al"},
         {"Cr", "Fe3+", "Al"},
         {"Manganochromite", "Jacobsite", "Galaxite"}},
        {49,
         "MnFeAl.dat",
         Oxy,
         {"Mn3+", "Fe3", "Al"},
         {"Mn3+", "Fe3+", "Al"},
         {"Hausmannite", "Jacobsite", "Galaxite"}},
        {50,
         "NiFe2Cots1.dat",
         Thio,
         {"Ni", "Fe2+", "Co"},
         {"Ni", "Fe", "Co"},
         {"Greigite", "Polydymite", "Linnaeite"}},
        {51,
         "NiFe2Cots2.dat",
         Thio,
         {"Ni", "Fe2+", "Co"},
         {"Ni", "Fe", "Co"},
         {"Violarite", "Polydymite", "Siegenite", "Linnaeite"}},
        {52,
         "Fe2MnZnts.dat",
         Thio,
         {"Fe2+", "Mn", "Zn"},
         {"Fe", "Mn", "Zn"},
         {"Daubreelite", "Joegoldsteinite", "Kalininite"}},
        {53,
         "Fe2NiCots.dat",
         Thio,
         {"Fe2+", "Ni", "Co"},
         {"Fe", "Ni", "Co"},
         {"Greigite", "Grimmite", "Siegenite"}},
        {54,
         "ZnCdFe2ts.dat",
         Thio,
         {"Zn", "Cd", "Fe2+"},
         {"Zn", "Cd", "Fe"},
         {"Kalininite", "Cadmoindite", "Indite"}},
        {55,
         "IrRhPtts.dat",
         Thio,
         {"Ir", "Rh", "Pt"},
         {"Ir", "Rh", "Pt"},
         {"Cuproiridsite", "Cuprorhodsite", "Malanite"}},
        {56,
         "ZnFeAgCuts.dat",
         Thio,
         {"Zn/(Zn+Fe)", "Ag/(Ag+Cu)"},
         {"znOverZnFe", "agOverAgCu"},
         {"Toyohaite", "Rhodostannite"}},
        {57,
         "CuNiCoFets.dat",
         Thio,
         {"Cu", "Ni", "Co", "Fe"},
         {"Cu", "Ni", "Co", "Fe"},
         {"Polydymite", "Violarite", "Siegenite", "Carrollite", "Linnaeite", "Greigite"}},
        {60,
         "CuCoNiss.dat",
         Seleno,
         {"Cu", "Co", "Ni"},
         {"Cu", "Co", "Ni"},
         {"Tyrrellite", "Nickeltyrrellite"}},
    };
    return entries;
}

TEST(DiagramCatalogue, FilesChannelsAndHeaderTitlesMatchTheDiagramTable) {
    const auto& files = diagramDataFiles();
    const auto& want = catalogue();
    ASSERT_EQ(want.size(), 57u);
    ASSERT_EQ(files.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(want[i].file);
        EXPECT_EQ(files[i].channel, want[i].channel);
        EXPECT_EQ(files[i].fileName, want[i].file);
        ASSERT_EQ(files[i].titles.size(), want[i].titles.size());
        for (std::size_t t = 0; t < want[i].titles.size(); ++t) {
            EXPECT_EQ(files[i].titles[t], want[i].titles[t]);
        }
        EXPECT_EQ(files[i].values.size(), want[i].values.size());
    }
}

// The species the table names for each block, plus names that no file
// admits (and near misses of admitted names), so that a run over one row per
// name shows every file's species list exactly.
std::vector<std::string> speciesNamesOf(Block block) {
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (const CatalogueEntry& e : catalogue()) {
        if (e.block != block) continue;
        for (const std::string& s : e.species) {
            if (seen.insert(s).second) names.push_back(s);
        }
    }
    const std::vector<std::string> extra =
        block == Oxy
            ? std::vector<std::string>{"Maghemite",    "Titanomaghemite",      "Deltalumite",
                                       "Filipstadite", "Ulvöspinel",           "chromite",
                                       "Chromite ",    "Spinel subgroup (2-3)"}
        : block == Thio
            ? std::vector<std::string>{"Cuprokalininite", "Xingzhongite", "not classified",
                                       "violarite", "Chromite"}
            : std::vector<std::string>{"Bornhardtite", "Trüstedtite", "tyrrellite", "Linnaeite"};
    names.insert(names.end(), extra.begin(), extra.end());
    return names;
}

struct CatalogueRun {
    std::vector<SampleRow> rows;
    std::vector<std::string> oxy, thio, seleno;  // species of each row ("" past the list)
};

CatalogueRun catalogueRun() {
    CatalogueRun run;
    run.oxy = speciesNamesOf(Oxy);
    run.thio = speciesNamesOf(Thio);
    run.seleno = speciesNamesOf(Seleno);
    const std::size_t n = std::max({run.oxy.size(), run.thio.size(), run.seleno.size()});
    run.oxy.resize(n);
    run.thio.resize(n);
    run.seleno.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        RowResults r = fixtureResults();
        r.oxySampleName = "O" + std::to_string(i) + " " + run.oxy[i];
        r.thioInput.sampleName = "T" + std::to_string(i);
        r.selenoInput.sampleName = "S" + std::to_string(i);
        r.oxyName.species = run.oxy[i];
        r.thioName.species = run.thio[i];
        r.selenoName.species = run.seleno[i];
        run.rows.push_back(formatSampleRow(r, kUs));
    }
    return run;
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(DiagramFiles, ARunWritesEveryFileWithItsHeaderSpeciesAndValues) {
    const CatalogueRun run = catalogueRun();
    const RowResults results = fixtureResults();
    test::TempDir dir;
    DiagramFileSet set;
    openDiagramFiles(set, dir.path(), kUs);
    EXPECT_TRUE(set.errors.empty());
    for (const SampleRow& row : run.rows) writeDiagramLines(set, row, results);
    ASSERT_TRUE(closeDiagramFiles(set)) << set.errors.front();

    std::set<std::string> wantNames;
    for (const CatalogueEntry& e : catalogue()) wantNames.insert(e.file);
    EXPECT_EQ(namesIn(dir.path()), wantNames);

    for (const CatalogueEntry& e : catalogue()) {
        SCOPED_TRACE(e.file);
        std::vector<std::string> header = {"SampleNo"};
        header.insert(header.end(), e.titles.begin(), e.titles.end());
        std::string want = zoned(header);

        const auto& texts = e.block == Oxy    ? oxyValueTexts()
                            : e.block == Thio ? thioValueTexts()
                                              : selenoValueTexts();
        const auto& species = e.block == Oxy ? run.oxy : e.block == Thio ? run.thio : run.seleno;
        const int nameColumn = e.block == Oxy ? 0 : e.block == Thio ? 79 : 139;
        for (std::size_t i = 0; i < run.rows.size(); ++i) {
            const bool admitted =
                std::find(e.species.begin(), e.species.end(), species[i]) != e.species.end();
            if (!admitted) continue;
            std::vector<std::string> items = {run.rows[i][nameColumn]};
            for (const std::string& v : e.values) {
                const auto it = texts.find(v);
                ASSERT_NE(it, texts.end()) << v;
                items.push_back(it->second.plain ? " " + it->second.text + " " : it->second.text);
            }
            want += zoned(items);
        }
        const std::string got = test::readFile(dir.path() / e.file);
        EXPECT_EQ(got, want) << test::firstDifference(want, got);
    }
}

TEST(DiagramFiles, HeaderLineOfMgFeCrAl100) {
    test::TempDir dir;
    DiagramFileSet set;
    openDiagramFiles(set, dir.path(), kUs);
    ASSERT_TRUE(closeDiagramFiles(set));
    EXPECT_EQ(test::readFile(dir.path() / "MgFeCrAl100.dat"),
              "SampleNo      Mg/(Mg+Fe2)   Cr/(Cr+Al)\r\n");
    EXPECT_EQ(test::readFile(dir.path() / "CuNiCoFets.dat"),
              "SampleNo      Cu            Ni            Co            Fe\r\n");
}

TEST(DiagramFiles, PlainNumbersUseTheDecimalCharacterAndKeepTheirSign) {
    RowResults r = fixtureResults();
    r.oxySampleName = "Spl 7";
    r.oxyName.species = "Spinel";
    r.oxy.fe3OverFe3Al = -0.25;
    const SampleRow row = formatSampleRow(r, kGerman);
    test::TempDir dir;
    DiagramFileSet set;
    openDiagramFiles(set, dir.path(), kGerman);
    writeDiagramLines(set, row, r);
    ASSERT_TRUE(closeDiagramFiles(set));
    const std::string file = test::readFile(dir.path() / "Fe2MgFe3Al.dat");
    const std::string line = file.substr(file.find("\r\n") + 2);
    EXPECT_EQ(line, "Spl 7" + blanks(9) + "0,57" + blanks(10) + "-0,25 \r\n");
    // Values shown by the table are written as the table shows them.
    const std::string mg = test::readFile(dir.path() / "MgCuZn.dat");
    EXPECT_EQ(mg.substr(mg.find("\r\n") + 2),
              "Spl 7" + blanks(9) + "0,4404" + blanks(8) + "0,0505" + blanks(8) + "0,0606\r\n");
}

TEST(DiagramFiles, SampleNamesAreWrittenInWindows1252WithTheirBlanks) {
    RowResults r = fixtureResults();
    r.selenoInput.sampleName = "Grain ü 1";
    r.selenoName.species = "Tyrrellite";
    const SampleRow row = formatSampleRow(r, kUs);
    test::TempDir dir;
    DiagramFileSet set;
    openDiagramFiles(set, dir.path(), kUs);
    writeDiagramLines(set, row, r);
    ASSERT_TRUE(closeDiagramFiles(set));
    const std::string file = test::readFile(dir.path() / "CuCoNiss.dat");
    EXPECT_EQ(file.substr(file.find("\r\n") + 2),
              "Grain \xFC 1" + blanks(5) + "1.001" + blanks(9) + "1.002" + blanks(9) + "0.999\r\n");
}

// ---------------------------------------------------------------------------
// Filters

const DiagramDataFile& fileNamed(std::string_view name) {
    for (const DiagramDataFile& f : diagramDataFiles()) {
        if (f.fileName == name) return f;
    }
    ADD_FAILURE() << "no file " << name;
    return diagramDataFiles().front();
}

struct RangeCase {
    const char* name;
    const char* file;
    std::function<void(RowResults&)> change;
    NumberFormatSettings settings;
    bool passes;
};

void PrintTo(const RangeCase& c, std::ostream* os) {
    *os << c.name;
}

class RangeConditions : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeConditions, CompareTheValueAsItIsWritten) {
    const RangeCase& c = GetParam();
    RowResults r = fixtureResults();
    r.oxyName.species = "Magnesiochromite";
    c.change(r);
    const SampleRow row = formatSampleRow(r, c.settings);
    EXPECT_EQ(passesFilter(fileNamed(c.file), row, r, c.settings), c.passes);
}

auto al2o3(double v) {
    return [v](RowResults& r) { r.oxy.oxides[Al2O3] = v; };
}
auto cr2o3(double v) {
    return [v](RowResults& r) { r.oxy.oxides[Cr2O3] = v; };
}
auto tio2(double v) {
    return [v](RowResults& r) { r.oxy.oxides[TiO2] = v; };
}
auto crx100(double v) {
    return [v](RowResults& r) { r.oxy.crOverCrAlTimes100 = v; };
}
auto fe2fe3(double v) {
    return [v](RowResults& r) { r.oxy.fe2OverFe3 = v; };
}
auto feotot(double v) {
    return [v](RowResults& r) { r.oxy.feOTotal = v; };
}
double above(double v) {
    return std::nextafter(v, std::numeric_limits<double>::infinity());
}
double below(double v) {
    return std::nextafter(v, -std::numeric_limits<double>::infinity());
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, RangeConditions,
    ::testing::Values(
        // Formatted values: read back as the number their text shows.
        RangeCase{"Al2O3ShownAs35Passes", "Cr2O3Al2O3.dat", al2o3(35.0004), kUs, true},
        RangeCase{"Al2O3ShownAs35_001Fails", "Cr2O3Al2O3.dat", al2o3(35.0006), kUs, false},
        RangeCase{"Cr2O3ShownAs30Passes", "Cr2O3Al2O3.dat", cr2o3(29.9996), kUs, true},
        RangeCase{"Cr2O3ShownAs29_999Fails", "Cr2O3Al2O3.dat", cr2o3(29.9994), kUs, false},
        RangeCase{"Cr2O3ShownAs70Passes", "Cr2O3Al2O3.dat", cr2o3(70.0004), kUs, true},
        RangeCase{"Cr2O3ShownAs70_001Fails", "Cr2O3Al2O3.dat", cr2o3(70.0006), kUs, false},
        // "34,900.000" is 34900 with "," grouping; "34,900" is 34.9 with a
        // decimal comma.
        RangeCase{"GroupedAl2O3Fails", "Cr2O3Al2O3.dat", al2o3(34900), kUs, false},
        RangeCase{"DecimalCommaAl2O3Passes", "Cr2O3Al2O3.dat", al2o3(34.9), kGerman, true},
        RangeCase{"DecimalCommaAl2O3AboveTheLimitFails", "Cr2O3Al2O3.dat", al2o3(35.4), kGerman,
                  false},
        RangeCase{"GroupedCr2O3WithDecimalCommaFails", "Cr2O3Al2O3.dat", cr2o3(45000), kGerman,
                  false},
        RangeCase{"TiO2ShownAs1Passes", "CrCrAl100TiO2.dat", tio2(1.0004), kUs, true},
        RangeCase{"TiO2ShownAs1_001Fails", "CrCrAl100TiO2.dat", tio2(1.0006), kUs, false},
        RangeCase{"NegativeTiO2Passes", "CrCrAl100TiO2.dat", tio2(-1), kUs, true},
        RangeCase{"TiO2AtFivePasses", "CrCrAlTiO2.dat", tio2(5.0004), kUs, true},
        RangeCase{"TiO2AboveFiveFails", "CrCrAlTiO2.dat", tio2(5.0006), kUs, false},
        RangeCase{"TiO2AtThirtyPasses", "FeCrAlTiO2.dat", tio2(30.0004), kUs, true},
        RangeCase{"TiO2AboveThirtyFails", "FeCrAlTiO2.dat", tio2(30.0006), kUs, false},
        RangeCase{"TiO2AtSixPasses", "Fe3CrAlTiO2.dat", tio2(6.0004), kUs, true},
        RangeCase{"TiO2AboveSixFails", "Fe3CrAlTiO2.dat", tio2(6.0006), kUs, false},
        RangeCase{"TiO2AboveFiveFailsWithFe2Fe3", "TiO2Fe2Fe3.dat", tio2(5.0006), kUs, false},
        RangeCase{"Al2O3AtSixtyPasses", "Al2O3Fe2Fe3.dat", al2o3(60.0004), kUs, true},
        RangeCase{"Al2O3AboveSixtyFails", "Al2O3Fe2Fe3.dat", al2o3(60.0006), kUs, false},
        RangeCase{"Cr2O3ShownAs20Passes", "Cr2O3FeO.dat", cr2o3(19.9996), kUs, true},
        RangeCase{"Cr2O3ShownAs19_999Fails", "Cr2O3FeO.dat", cr2o3(19.9994), kUs, false},
        RangeCase{"Cr2O3ShownAs60Passes", "Cr2O3FeO.dat", cr2o3(60.0004), kUs, true},
        RangeCase{"Cr2O3ShownAs60_001Fails", "Cr2O3FeO.dat", cr2o3(60.0006), kUs, false},
        // Plain values: compared unrounded, even where the written text
        // would show the limit itself.
        RangeCase{"CrAt30Passes", "CrCrAl100TiO2.dat", crx100(30), kUs, true},
        RangeCase{"CrJustBelow30Fails", "CrCrAl100TiO2.dat", crx100(below(30)), kUs, false},
        RangeCase{"CrAt100Passes", "CrCrAl100TiO2.dat", crx100(100), kUs, true},
        RangeCase{"CrJustAbove100Fails", "CrCrAl100TiO2.dat", crx100(above(100)), kUs, false},
        RangeCase{"CrAt30PassesMgMg", "MgMgFeCrCrAl100.dat", crx100(30), kUs, true},
        RangeCase{"CrJustBelow30FailsMgMg", "MgMgFeCrCrAl100.dat", crx100(below(30)), kUs, false},
        RangeCase{"CrAbove100FailsMgMg", "MgMgFeCrCrAl100.dat", crx100(100.5), kUs, false},
        RangeCase{"Fe2Fe3At0_05Passes", "Al2O3Fe2Fe3.dat", fe2fe3(0.05), kUs, true},
        RangeCase{"Fe2Fe3JustBelow0_05Fails", "Al2O3Fe2Fe3.dat", fe2fe3(below(0.05)), kUs, false},
        RangeCase{"Fe2Fe3At20Passes", "Al2O3Fe2Fe3.dat", fe2fe3(20), kUs, true},
        RangeCase{"Fe2Fe3JustAbove20Fails", "Al2O3Fe2Fe3.dat", fe2fe3(above(20)), kUs, false},
        RangeCase{"Fe2Fe3HasNoLowerLimitWithTiO2", "TiO2Fe2Fe3.dat", fe2fe3(0), kUs, true},
        RangeCase{"Fe2Fe3JustAbove20FailsWithTiO2", "TiO2Fe2Fe3.dat", fe2fe3(above(20)), kUs,
                  false},
        RangeCase{"FeOtotAt60Passes", "Cr2O3FeO.dat", feotot(60), kUs, true},
        RangeCase{"FeOtotJustAbove60Fails", "Cr2O3FeO.dat", feotot(above(60)), kUs, false},
        // Files without further conditions take any value.
        RangeCase{"NoConditions", "MgFeCrAl100.dat",
                  [](RowResults& r) {
                      r.oxy.oxides[Al2O3] = 99;
                      r.oxy.oxides[TiO2] = 40;
                      r.oxy.crOverCrAlTimes100 = 0;
                  },
                  kUs, true}),
    [](const ::testing::TestParamInfo<RangeCase>& info) { return info.param.name; });

TEST(DiagramFilters, ATextThatReadsAsANumberOnlyUpToTheGroupCharacterIsNotTakenForIt) {
    // "35,400" with "," grouping is 35400, not 35.
    RowResults r = fixtureResults();
    r.oxyName.species = "Chromite";
    SampleRow row = formatSampleRow(r, kUs);
    row[4] = "35,400";
    EXPECT_FALSE(passesFilter(fileNamed("Cr2O3Al2O3.dat"), row, r, kUs));
    row[4] = "34.900";
    EXPECT_TRUE(passesFilter(fileNamed("Cr2O3Al2O3.dat"), row, r, kUs));
}

TEST(DiagramFilters, ABlankedBlockPassesNoFilter) {
    // An oxide total shown as 79.999 blanks the block, its species included;
    // none of the oxyspinel files may take the row, whatever its name was.
    RowResults r = fixtureResults();
    r.oxy.oxideTotal = 79.9994;
    r.oxyName = {"Oxyspinel group", "Spinel subgroup (2-3)", "Fe2+", "Al3+", "Hercynite"};
    r.thioInput.wt[tS] = 0;
    r.thio.reset();
    r.thioName.species = "Violarite";
    r.selenoInput.wt[sSe] = 0;
    r.seleno.reset();
    r.selenoName.species = "Tyrrellite";
    const SampleRow row = formatSampleRow(r, kUs);
    for (const DiagramDataFile& f : diagramDataFiles()) {
        EXPECT_FALSE(passesFilter(f, row, r, kUs)) << f.fileName;
    }
    test::TempDir dir;
    DiagramFileSet set;
    openDiagramFiles(set, dir.path(), kUs);
    writeDiagramLines(set, row, r);
    ASSERT_TRUE(closeDiagramFiles(set));
    for (const DiagramDataFile& f : diagramDataFiles()) {
        const std::string text = test::readFile(dir.path() / f.fileName);
        EXPECT_EQ(text.find("\r\n"), text.size() - 2) << f.fileName << " has more than its header";
    }
}

TEST(DiagramFiles, AChromiteWithNoCrOrAlGoesOnlyWhereZeroIsAdmitted) {
    RowResults r = fixtureResults();
    r.oxySampleName = "Chr 0";
    r.oxyName.species = "Chromite";
    r.oxy.apfu[Cr] = 0;
    r.oxy.apfu[Al] = 0;
    r.oxy.crOverCrAl = 0;
    r.oxy.crOverCrAlTimes100 = 0;
    const SampleRow row = formatSampleRow(r, kUs);
    test::TempDir dir;
    DiagramFileSet set;
    openDiagramFiles(set, dir.path(), kUs);
    writeDiagramLines(set, row, r);
    ASSERT_TRUE(closeDiagramFiles(set));
    EXPECT_EQ(test::readFile(dir.path() / "MgFeCrAl100.dat"),
              zoned({"SampleNo", "Mg/(Mg+Fe2)", "Cr/(Cr+Al)"}) + zoned({"Chr 0", " 43 ", " 0 "}));
    for (const char* name : {"CrCrAl100TiO2.dat", "MgMgFeCrCrAl100.dat"}) {
        const std::string text = test::readFile(dir.path() / name);
        EXPECT_EQ(text.find("Chr 0"), std::string::npos) << name;
    }
    EXPECT_NE(test::readFile(dir.path() / "Fe3CrAl.dat").find("Chr 0"), std::string::npos);
}

// ---------------------------------------------------------------------------
// Runs in a folder

TEST(DiagramFiles, ASecondRunReplacesTheFirstRunsLines) {
    test::TempDir dir;
    RowResults r = fixtureResults();
    r.oxySampleName = "first run";
    r.oxyName.species = "Chromite";
    {
        DiagramFileSet set;
        openDiagramFiles(set, dir.path(), kUs);
        writeDiagramLines(set, formatSampleRow(r, kUs), r);
        ASSERT_TRUE(closeDiagramFiles(set));
    }
    ASSERT_NE(test::readFile(dir.path() / "MgFeCrAl100.dat").find("first run"), std::string::npos);
    {
        DiagramFileSet set;
        openDiagramFiles(set, dir.path(), kUs);
        ASSERT_TRUE(closeDiagramFiles(set));
    }
    for (const DiagramDataFile& f : diagramDataFiles()) {
        const std::string text = test::readFile(dir.path() / f.fileName);
        EXPECT_EQ(text.find("\r\n"), text.size() - 2) << f.fileName;
        EXPECT_EQ(text.rfind("SampleNo", 0), 0u) << f.fileName;
    }
    EXPECT_EQ(namesIn(dir.path()).size(), 57u);
}

TEST(DiagramFiles, ADiscardedRunLeavesThePreviousFiles) {
    test::TempDir dir;
    RowResults r = fixtureResults();
    r.oxySampleName = "kept";
    r.oxyName.species = "Chromite";
    {
        DiagramFileSet set;
        openDiagramFiles(set, dir.path(), kUs);
        writeDiagramLines(set, formatSampleRow(r, kUs), r);
        ASSERT_TRUE(closeDiagramFiles(set));
    }
    const std::string before = test::readFile(dir.path() / "MgFeCrAl100.dat");
    {
        DiagramFileSet set;
        openDiagramFiles(set, dir.path(), kUs);
        discardDiagramFiles(set);
    }
    EXPECT_EQ(test::readFile(dir.path() / "MgFeCrAl100.dat"), before);
    EXPECT_EQ(namesIn(dir.path()).size(), 57u);
}

TEST(DiagramFiles, AFolderThatCannotBeWrittenIsReportedWithoutACrash) {
    test::TempDir dir;
    test::writeFile(dir.path() / "plain", "x");
    for (const fs::path& folder : {dir.path() / "missing", dir.path() / "plain"}) {
        SCOPED_TRACE(folder.string());
        RowResults r = fixtureResults();
        r.oxyName.species = "Chromite";
        DiagramFileSet set;
        openDiagramFiles(set, folder, kUs);
        ASSERT_EQ(set.errors.size(), 57u);
        EXPECT_EQ(set.errors.front().rfind("MgFeCrAl100.dat", 0), 0u) << set.errors.front();
        EXPECT_EQ(set.errors.back().rfind("CuCoNiss.dat", 0), 0u) << set.errors.back();
        writeDiagramLines(set, formatSampleRow(r, kUs), r);
        EXPECT_FALSE(closeDiagramFiles(set));
    }
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"plain"});
}

TEST(DiagramFiles, OneFileThatCannotBeWrittenDoesNotStopTheOthers) {
    test::TempDir dir;
    fs::create_directory(dir.path() / "Fe3CrAl.dat");
    RowResults r = fixtureResults();
    r.oxySampleName = "Chr 9";
    r.oxyName.species = "Chromite";
    DiagramFileSet set;
    openDiagramFiles(set, dir.path(), kUs);
    writeDiagramLines(set, formatSampleRow(r, kUs), r);
    EXPECT_FALSE(closeDiagramFiles(set));
    ASSERT_EQ(set.errors.size(), 1u);
    EXPECT_EQ(set.errors[0].rfind("Fe3CrAl.dat", 0), 0u) << set.errors[0];
    EXPECT_TRUE(fs::is_directory(dir.path() / "Fe3CrAl.dat"));
    EXPECT_NE(test::readFile(dir.path() / "MgFeCrAl100.dat").find("Chr 9"), std::string::npos);
    EXPECT_NE(test::readFile(dir.path() / "CrAlFe3.dat").find("Chr 9"), std::string::npos);
    EXPECT_EQ(namesIn(dir.path()).size(), 57u);
}

}  // namespace
}  // namespace qarv
