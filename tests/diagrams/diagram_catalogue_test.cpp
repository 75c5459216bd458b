// The Graph menu catalogue: every entry against a transcription of the menu
// (item, caption with its exact blanks, template, data file) arranged by
// sub-menu and group, the sub-menus, the separator lines between groups, and
// that every template is a distinct .grf file plotting one of the run's data
// files.

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "diagrams/diagram_catalogue.h"
#include "diagrams/diagram_data_files.h"

namespace qarv {
namespace {

struct Row {
    std::string_view item;
    std::string_view caption;
    std::string_view templateFile;
    std::string_view dataFile;
};

struct Menu {
    std::string_view item;
    std::string_view caption;
    std::vector<std::vector<Row>> groups;
};

// clang-format off
const std::vector<Menu> kMenus = {
    {"mnuClass", "Classification Diagrams (Oxyspinel Group)  [1]",
     {
         {  // group 1
             {"mnFe3CrAl1", "[1]  Fe3+ - Cr - Al Diagram [Stevens (1944)]",
              "Fe3CrAl_3.grf", "Fe3CrAl.dat"},
             {"mnFe3CrAl2", "[2]  Fe3+ - Cr - Al Diagram [Gawlick et al. (2020; see references therein for discrimination fields)]",
              "Fe3CrAl_2.grf", "Fe3CrAl.dat"},
             {"mnuCrAlFe3", "[3]  Cr - Al - Fe3+  Diagram [Mekhonoshin et al. (2020)]",
              "CrAlFe3.grf", "CrAlFe3.dat"},
             {"mnuMgFe2CrAl", "[4]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) Diagram [after Al-Juboury et al. (2009)]",
              "MgFe2CrAl.grf", "MgFe2CrAl.dat"},
             {"mnuFe2MgFe3Al", "[5]  Fe2+/(Fe2++Mg) - Fe3+/(Fe3++Al) Diagram [Gargiulo et al. (2013; see references therein for discrimination fields)]",
              "Fe2MgFe3Al.grf", "Fe2MgFe3Al.dat"},
             {"mnuFe3CuZn", "[6]  Fe3+ - (Cu+Zn) Diagram [Sharygin et al. (2018)]",
              "Fe3CuZn.grf", "Fe3CuZn.dat"},
         },
         {  // group 2
             {"mnVCrFe3", "[1]  V - Cr - Fe3+ Diagram [Kompanchenko (2020)]",
              "VCrFe3.grf", "VCrFe3.dat"},
             {"mnuZnFeMnMg", "[2]  Zn - (Fe2++Mn) - Mg Diagram [Johan and Ohnenstetter (2010)]",
              "ZnFe2MnMg.grf", "ZnFe2MnMg.dat"},
         },
         {  // group 3
             {"mnuFe2CuMg", "[1]  Fe2+ - Cu - Mg Diagram   [B3+ = Al]   (Hercynite, Thermaerogenite, Spinel)",
              "Fe2CuMg.grf", "Fe2CuMg.dat"},
             {"mnuCuZnMn", "[2]  Cu- Zn - Mn Diagram       [B3+ = Al]    (Thermaerogenite, Gahnite, Galaxite)",
              "CuZnMn.grf", "CuZnMn.dat"},
             {"mnuMnMgCu", "[3]  Mn- Mg - Cu Diagram      [B3+ = Al]    (Galaxite, Spinel, Thermaerogenite)",
              "MnMgCu.grf", "MnMgCu.dat"},
             {"mnuMgMnV2", "[4]  Mg- Mn - V2+ Diagram    [B3+ = Al]]   (Spinel, Galaxite, Dellagiustaite)",
              "MgMnV2.grf", "MgMnV2.dat"},
         },
         {  // group 4
             {"Fe2CoMg", "[1]  Fe2+ - Co - Mg Diagram   [B3+ = Cr]    (Chromite, Cochromite, Magnesiochromite)",
              "Fe2CoMg.grf", "Fe2CoMg.dat"},
             {"mnuCoZnMn", "[2]  Co - Zn - Mn Diagram       [B3+ = Cr]    (Cochromite, Zincochromite, Manganochromite)",
              "CoZnMn.grf", "CoZnMn.dat"},
             {"mnuMnMgCo", "[3]  Mn - Mg - Co Diagram      [B3+ = Cr]    (Manganochromite, Magnesiochromite, Cochromite)",
              "MnMgCo.grf", "MnMgCo.dat"},
             {"mnuMgMnNi", "[4]  Mg - Mn - Ni Diagram       [B3+ = Cr]    (Magnesiochromite, Manganochromite)",
              "MgMnNi.grf", "MgMnNi.dat"},
         },
         {  // group 5
             {"mnuFe2CuMg1", "[1]  Fe2+ - Cu - Mg Diagram   [B3+ = Fe3+]    (Magnetite, Cuprospinel, Magnesioferrite)",
              "Fe2CuMg1.grf", "Fe2CuMg1.dat"},
             {"mnuCuZnMn1", "[2]  Cu - Zn - Mn Diagram       [B3+ = Fe3+]    (Cuprospinel, Franklinite, Jacobsite)",
              "CuZnMn1.grf", "CuZnMn1.dat"},
             {"mnuMnMgCu1", "[3]  Mn - Mg - Cu Diagram      [B3+ = Fe3+]    (Jacobsite, Magnesioferrite, Cuprospinel)",
              "MnMgCu1.grf", "MnMgCu1.dat"},
             {"mnuMgMnNi1", "[4]  Mg - Mn - Ni Diagram       [B3+ = Fe3+]    (Magnesioferrite, Jacobsite, Trevorite)",
              "MgMnNi1.grf", "MgMnNi1.dat"},
         },
     }},
    {"mnuClass2", "Classification Diagrams (Oxyspinel Group)  [2]",
     {
         {  // group 1
             {"mnuFe2CoMn", "[1]  Fe2+ - Co - Mn Diagram   (Magnetite, Guite, Hausmannite)",
              "Fe2CoMn.grf", "Fe2CoMn.dat"},
             {"mnuZnFeMn", "[2]  Zn - Fe2+ - Mn Diagram   [Stalder and Rozendaal (2005)]   (Franklinite, Magnetite, Jacobsite)",
              "ZnFeMn.grf", "ZnFeMn.dat"},
             {"mnuZnMgFe1", "[3]  Zn - Mg - Fe2+ Diagram   [Heimann and Spry (2005)]   (Gahnite, Spinel, Hercynite)",
              "ZnMgFe1.grf", "ZnMgFe.dat"},
             {"mnuZnMgFe2", "[4]  Ghn - Spl - Hc Diagram   [Heimann and Spry (2005)]   (1)",
              "ZnMgFe2.grf", "ZnMgFe.dat"},
             {"mnuZnMgFe3", "[5]  Ghn - Spl - Hc Diagram   [Heimann and Spry (2005)]   (2)",
              "ZnMgFe3.grf", "ZnMgFe.dat"},
             {"mnuMgCuZn", "[6]  Mg - Cu - Zn Diagram   [Pekov et al. (2018)]",
              "MgCuZn.grf", "MgCuZn.dat"},
             {"mnuTiFeAl", "[7]  Mn2TiO4 - MnFe2O4 - MnAl2O4 Diagram [Essene and Peacor (1983)]   (Galaxite, Jacobsite)",
              "TiFeAl.grf", "TiFeAl.dat"},
             {"mnuZnMnFe3Al", "[8]  Zn/(Zn+Mn) - Fe3+/(Fe3++Al) Diagram [after Essene and Peacor (1983)]   (Galaxite, Jacobsite, Franklinite, Gahnite)",
              "ZnMnFe3Al.grf", "ZnMnFe3Al.dat"},
             {"mnuFeVCr", "[9]  Fe3+ - V3+ - Cr Diagram   (Magnetite, Vuorelainenite, Manganochromite)",
              "FeVCr.grf", "FeVCr.dat"},
             {"mnuTiAlFe", "[10]  (Fe,Mg)2TiO4 - (Fe,Mg)Al2O4 - (Fe,Mg)Fe2O4 Diagram   [after Pascal et al. (2011)]   (Qandilite, Spinel,Magnesioferrite)",
              "TiAlFe.grf", "TiAlFe.dat"},
             {"mnuFe3AlFe2Mg", "[11]  Fe3+/(Fe3++Al) - (Fe2+/(Fe2++Mg) Diagram   (Spinel, Magnesioferrite, Hercynite, Magnetite)",
              "Fe3AlFe2Mg.grf", "Fe3AlFe2Mg.dat"},
             {"mnuCrFeAl", "[12]  Cr - Fe3+ - Al Diagram   (Manganochromite, Jacobsite, Galaxite)",
              "CrFeAl.grf", "CrFeAl.dat"},
             {"mnuMnFeAl", "[13]  Mn3+ - Fe3+ - Al Diagram   (Hausmannite, Jacobsite, Galaxite)",
              "MnFeAl.grf", "MnFeAl.dat"},
         },
     }},
    {"mnuTPT", "Chromian Spinel Compositional Diagrams  [1]",
     {
         {  // group 1
             {"mnuMgMgFeCrCrAl1", "[1]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Leblanc and Nicolas (1992); Irvine (1967)]",
              "MgMgFeCrCrAl_1.grf", "MgMgFeCrCrAl.dat"},
             {"mnuMgMgFeCrCrAl2", "[2]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Lippo et al. (1994; see references therein for discrimination fields)]",
              "MgMgFeCrCrAl_2.grf", "MgMgFeCrCrAl.dat"},
             {"mnuMgMgFeCrCrAl3", "[3]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Baxter et al. (2016; see references therein for discrimination fields)]",
              "MgMgFeCrCrAl_3.grf", "MgMgFeCrCrAl.dat"},
             {"mnuMgMgFeCrCrAl4", "[4]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Lee (1999; see references therein for discrimination fields)]",
              "MgMgFeCrCrAl_4.grf", "MgMgFeCrCrAl.dat"},
             {"mnuMgMgFeCrCrAl5", "[5]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Lee (1999; see references therein for discrimination fields)]",
              "MgMgFeCrCrAl_5.grf", "MgMgFeCrCrAl.dat"},
             {"mnuMgMgFeCrCrAl6", "[6]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Lee (1999; see references therein for discrimination fields)]",
              "MgMgFeCrCrAl_6.grf", "MgMgFeCrCrAl.dat"},
             {"mnuMgMgFeCrCrAl7", "[7]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Lee (1999; see references therein for discrimination fields)]",
              "MgMgFeCrCrAl_7.grf", "MgMgFeCrCrAl.dat"},
             {"mnuMgMgFeCrCrAl8a", "[8]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Lee (1999; see references therein for discrimination fields)]",
              "MgMgFeCrCrAl_8.grf", "MgMgFeCrCrAl.dat"},
             {"mnuMgMgFeCrCrAl8", "[9]  100Mg/(Mg+Fe2+) - 100Cr/(Cr+Al) [Irvine and Findlay (1972)]",
              "MgFeCrAl100_1.grf", "MgFeCrAl100.dat"},
             {"mnuMgMgFeCrCrAl9", "[10]  100Mg/(Mg+Fe2+) - 100Cr/(Cr+Al) [Bhat et al. (2019; see refernces therein for discrimination fields)]",
              "MgFeCrAl100_2.grf", "MgFeCrAl100.dat"},
         },
         {  // group 2
             {"mnuFeFeMgCrCrAl1", "[1]  Fe2+/(Fe2++Mg) - Cr/(Cr+Al) [Barnes and Roeder (2001)]",
              "FeFeMgCrCrAl_1.grf", "FeFeMgCrCrAl.dat"},
             {"mnuFeFeMgCrCrAl2", "[2]  Fe2+/(Fe2++Mg) - Cr/(Cr+Al) [Harstad et al. (2020)]",
              "FeFeMgCrCrAl_2.grf", "FeFeMgCrCrAl.dat"},
         },
         {  // group 3
             {"mnuMgFe2Fe3CrAl1", "[1] Mg/(Mg+Fe2+) - Fe3+/(Fe3++Cr+Al) [Lippo et al. (1994; see references therein for discrimination fields)]",
              "MgFe2Fe3CrAl_1.grf", "MgFe2Fe3CrAl.dat"},
             {"mnuMgFe2Fe3CrAl2", "[2] Mg/(Mg+Fe2+) - Fe3+/(Fe3++Cr+Al) [Cookenboo et al. (1997)]",
              "MgFe2Fe3CrAl_2.grf", "MgFe2Fe3CrAl.dat"},
         },
         {  // group 4
             {"mnuFe2MgFe3CrAl", "[1]  Fe2+/(Fe2++Mg) - Fe3+/(Fe3++Cr+Al) [Barnes and Roeder (2001)]",
              "Fe2MgFe3CrAl.grf", "Fe2MgFe3CrAl.dat"},
             {"mnuMgMgFeCrCrAl100", "[2] 100Mg/(Mg+Fe2+) - 100Cr/(Cr+Al) [Dick and Bullen (1984)]",
              "MgMgFeCrCrAl100.grf", "MgMgFeCrCrAl100.dat"},
             {"mnuFe3CrAl1", "[3]  Fe3+ - Cr - Al [Bhat et al. (2019; see references therein for discrimination fields)]",
              "Fe3CrAl_1.grf", "Fe3CrAl.dat"},
             {"mnuFe3CrAl4", "[4]  Fe3+ - Cr - Al [Barnes and Roeder (2001)]",
              "Fe3CrAl_4.grf", "Fe3CrAl.dat"},
             {"mnuFe3CrAl5", "[5]  Fe3+ - Cr - Al [Cookenboo et al. (1997)]",
              "Fe3CrAl_5.grf", "Fe3CrAl.dat"},
             {"mnuFe3CrAl6", "[6]  Fe3+ - Cr - Al [Harstad et al. (2020)]",
              "Fe3CrAl_6.grf", "Fe3CrAl.dat"},
             {"mnuCrAlFe3Ti", "[7]  Cr - Al - (Fe3++2Ti) [Lippo et al. (1994; see refernces therein for discrimination fields)]",
              "CrAlFe3Ti.grf", "CrAlFe3Ti.dat"},
         },
     }},
    {"mnuMP", "Chromian Spinel Compositional Diagrams  [2]",
     {
         {  // group 1
             {"mnuAl2O3TiO21", "[1] Al2O3 - TiO2 [Kamenetsky et al. (2001)]",
              "Al2O3TiO2_1.grf", "Al2O3TiO2.dat"},
             {"mnuAl2O3TiO22", "[2] Al2O3 - TiO2 [Kamenetsky et al. (2001)]",
              "Al2O3TiO2_2.grf", "Al2O3TiO2.dat"},
             {"mnuAl2O3TiO23", "[3] Al2O3 - TiO2 [Kamenetsky et al. (2001)]",
              "Al2O3TiO2_3.grf", "Al2O3TiO2.dat"},
             {"mnuAl2O3TiO24", "[4] Al2O3 - TiO2 [Kamenetsky et al. (2001)]",
              "Al2O3TiO2_4.grf", "Al2O3TiO2.dat"},
         },
         {  // group 2
             {"mnuCr2O3Al2O3", "[1] Cr2O3 - Al2O3 [Bonavia et al. (1993)]",
              "Cr2O3Al2O3.grf", "Cr2O3Al2O3.dat"},
             {"mnuCr2O3FeO", "[2] Cr2O3 - FeOtotal [Jan and Windley (1990)]",
              "Cr2O3FeO.grf", "Cr2O3FeO.dat"},
         },
         {  // group 3
             {"mnuCrCrAlTiO21", "[1] Cr/(Cr+Al) - TiO2 [Arai (1992)]",
              "CrCrAlTiO2_1.grf", "CrCrAlTiO2.dat"},
             {"mnuCrCrAlTiO22", "[2] Cr/(Cr+Al) - TiO2 [Arai (1992)]",
              "CrCrAlTiO2_2.grf", "CrCrAlTiO2.dat"},
             {"mnuFe3CrAlTiO21", "[3] Fe3+/(Fe3++Cr+Al) - TiO2 [Barnes and Roeder (2001)]",
              "Fe3CrAlTiO2_1.grf", "Fe3CrAlTiO2.dat"},
             {"mnuFe3CrAlTiO22", "[4] Fe3+/(Fe3++Cr+Al) - TiO2 [Arai (2011)]",
              "Fe3CrAlTiO2_2.grf", "Fe3CrAlTiO2.dat"},
             {"mnuCrCrAl100TiO2", "[5] 100Cr/(Cr+Al) - TiO2 [Barnes and Roeder (2001)]",
              "CrCrAl100TiO2.grf", "CrCrAl100TiO2.dat"},
             {"mnuAl2O3Fe2Fe31", "[6] Al2O3 - (Fe2+/Fe3+) [Kamenetsky et al. (2001)]",
              "Al2O3Fe2Fe3_1.grf", "Al2O3Fe2Fe3.dat"},
             {"mnuTiO2Fe2Fe3", "[7] TiO2 - (Fe2+/Fe3+) [Lenaz et al. (2000)]",
              "TiO2Fe2Fe3.grf", "TiO2Fe2Fe3.dat"},
         },
     }},
    {"mnuClassThio", "Classification Diagrams (Thiospinel Group)",
     {
         {  // group 1
             {"mnuNiFe2Cots1", "[1]  Ni - Fe - Co Diagram  ",
              "NiFe2Cots1.grf", "NiFe2Cots1.dat"},
             {"mnuNiFe2Cots2", "[2]  Ni - Fe - Co Diagram [Ostwald (1978)]",
              "NiFe2Cots2.grf", "NiFe2Cots2.dat"},
             {"mnuCuNiCoFeCoNits", "[3]  Cu - Ni - Co and Fe - Co - Ni Diagrams [Ostwald (1978)]",
              "CuNiCoFets.grf", "CuNiCoFets.dat"},
             {"mnuFe2MnZnts", "[4]  Fe - Mn - Zn Diagram  ",
              "Fe2MnZnts.grf", "Fe2MnZnts.dat"},
             {"mnuFe2NiCots", "[5]  Fe - Ni - Co Diagram  ",
              "Fe2NiCots.grf", "Fe2NiCots.dat"},
             {"mnuZnCdFe2ts", "[6]  Zn - Cd - Fe Diagram  ",
              "ZnCdFe2ts.grf", "ZnCdFe2ts.dat"},
             {"mnuIrRhPtts", "[7]  Ir - Rh - Pt Diagram [Barkov et al. (2000)]",
              "IrRhPtts.grf", "IrRhPtts.dat"},
             {"mnuZnFeAgCuts", "[8]  Zn/(Zn+Fe) - Ag/(Ag+Cu) Diagram [Yajima et al. (1991)]",
              "ZnFeAgCuts.grf", "ZnFeAgCuts.dat"},
         },
     }},
    {"mnuClassSele", "Classification Diagrams (Selenospinel Group)",
     {
         {  // group 1
             {"mnuCuCoNiss", "[1]  Cu - Co - Ni Diagram [F\xC3\xB6" "rster et al. (2019)]",
              "CuCoNiss.grf", "CuCoNiss.dat"},
         },
     }},

};
// clang-format on

// The transcription flattened into menu order, with sub-menu index and group
// number.
struct FlatRow {
    Row row;
    int submenu;
    int group;
};

std::vector<FlatRow> flatten() {
    std::vector<FlatRow> out;
    for (std::size_t m = 0; m < kMenus.size(); ++m)
        for (std::size_t g = 0; g < kMenus[m].groups.size(); ++g)
            for (const Row& r : kMenus[m].groups[g])
                out.push_back({r, static_cast<int>(m), static_cast<int>(g) + 1});
    return out;
}

std::string blanks(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

TEST(DiagramCatalogue, EveryEntryMatchesTheMenuInMenuOrder) {
    const std::vector<FlatRow> want = flatten();
    const std::vector<DiagramEntry>& got = diagramCatalogue();
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "entry " << i << " (" << want[i].row.item << ")");
        EXPECT_EQ(got[i].item, want[i].row.item);
        EXPECT_EQ(got[i].caption, want[i].row.caption);
        EXPECT_EQ(got[i].templateFile, want[i].row.templateFile);
        EXPECT_EQ(got[i].dataFile, want[i].row.dataFile);
        EXPECT_EQ(got[i].submenu, want[i].submenu);
        EXPECT_EQ(got[i].group, want[i].group);
    }
}

// Captions whose blanks, doubled bracket or non-ASCII letter are easy to lose,
// spelled out with explicit blank counts and bytes.
struct CaptionCase {
    const char* item;
    std::string bytes;
};

void PrintTo(const CaptionCase& c, std::ostream* os) {
    *os << c.item;
}

class TrickyCaption : public testing::TestWithParam<CaptionCase> {};

TEST_P(TrickyCaption, IsKeptByteForByte) {
    const DiagramEntry* e = findDiagramEntry(GetParam().item);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(std::string(e->caption), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Captions, TrickyCaption,
    testing::Values(
        CaptionCase{"mnuMgMnV2", "[4]" + blanks(2) + "Mg- Mn - V2+ Diagram" + blanks(4) +
                                     "[B3+ = Al]]" + blanks(3) +
                                     "(Spinel, Galaxite, Dellagiustaite)"},
        CaptionCase{"mnuCuZnMn", "[2]" + blanks(2) + "Cu- Zn - Mn Diagram" + blanks(7) +
                                     "[B3+ = Al]" + blanks(4) +
                                     "(Thermaerogenite, Gahnite, Galaxite)"},
        CaptionCase{"mnuMnMgCo", "[3]" + blanks(2) + "Mn - Mg - Co Diagram" + blanks(6) +
                                     "[B3+ = Cr]" + blanks(4) +
                                     "(Manganochromite, Magnesiochromite, Cochromite)"},
        CaptionCase{"mnuCrAlFe3", "[3]" + blanks(2) + "Cr - Al - Fe3+" + blanks(2) +
                                      "Diagram [Mekhonoshin et al. (2020)]"},
        CaptionCase{"mnuNiFe2Cots1", "[1]" + blanks(2) + "Ni - Fe - Co Diagram" + blanks(2)},
        CaptionCase{"mnuZnCdFe2ts", "[6]" + blanks(2) + "Zn - Cd - Fe Diagram" + blanks(2)},
        CaptionCase{"mnuMgFe2Fe3CrAl2",
                    "[2] Mg/(Mg+Fe2+) - Fe3+/(Fe3++Cr+Al) [Cookenboo et al. (1997)]"},
        CaptionCase{"mnuTiAlFe", "[10]" + blanks(2) +
                                     "(Fe,Mg)2TiO4 - (Fe,Mg)Al2O4 - (Fe,Mg)Fe2O4 Diagram" +
                                     blanks(3) + "[after Pascal et al. (2011)]" + blanks(3) +
                                     "(Qandilite, Spinel,Magnesioferrite)"},
        CaptionCase{"mnuFeVCr", "[9]" + blanks(2) + "Fe3+ - V3+ - Cr Diagram" + blanks(3) +
                                    "(Magnetite, Vuorelainenite, Manganochromite)"},
        CaptionCase{"mnuCuCoNiss", "[1]" + blanks(2) + "Cu - Co - Ni Diagram [F" +
                                       std::string{'\xC3', '\xB6'} + "rster et al. (2019)]"}),
    [](const testing::TestParamInfo<CaptionCase>& info) { return std::string(info.param.item); });

TEST(DiagramCatalogue, SubmenusInMenuOrder) {
    const auto& got = diagramSubmenus();
    ASSERT_EQ(got.size(), kMenus.size());
    for (std::size_t m = 0; m < got.size(); ++m) {
        SCOPED_TRACE(kMenus[m].item);
        EXPECT_EQ(got[m].item, kMenus[m].item);
        EXPECT_EQ(got[m].caption, kMenus[m].caption);
    }
    EXPECT_EQ(std::string(got[0].caption),
              "Classification Diagrams (Oxyspinel Group)" + blanks(2) + "[1]");
    EXPECT_EQ(std::string(got[3].caption),
              "Chromian Spinel Compositional Diagrams" + blanks(2) + "[2]");
}

TEST(DiagramCatalogue, ItemCountsPerSubmenu) {
    std::map<int, int> count;
    for (const DiagramEntry& e : diagramCatalogue()) ++count[e.submenu];
    EXPECT_EQ(count, (std::map<int, int>{{0, 20}, {1, 13}, {2, 21}, {3, 13}, {4, 8}, {5, 1}}));
}

// Within a group the captions are numbered [1], [2], ... in menu order, so a
// wrong group number shows up as a broken count.
TEST(DiagramCatalogue, CaptionsAreNumberedWithinTheirGroup) {
    int expected = 0;
    const DiagramEntry* previous = nullptr;
    for (const DiagramEntry& e : diagramCatalogue()) {
        const bool newGroup =
            !previous || previous->submenu != e.submenu || previous->group != e.group;
        expected = newGroup ? 1 : expected + 1;
        const std::string prefix = "[" + std::to_string(expected) + "]";
        EXPECT_EQ(std::string(e.caption.substr(0, prefix.size())), prefix) << e.item;
        previous = &e;
    }
}

TEST(DiagramCatalogue, ItemsAndTemplatesAreUniqueBareGrfNames) {
    std::set<std::string_view> items, templates;
    for (const DiagramEntry& e : diagramCatalogue()) {
        EXPECT_TRUE(items.insert(e.item).second) << "item twice: " << e.item;
        EXPECT_TRUE(templates.insert(e.templateFile).second)
            << "template twice: " << e.templateFile;
        EXPECT_TRUE(e.templateFile.size() > 4 && e.templateFile.ends_with(".grf"))
            << e.templateFile;
        EXPECT_EQ(e.templateFile.find_first_of("/\\:"), std::string_view::npos) << e.templateFile;
    }
}

// Every template plots a file the run writes; only the three files without a
// template of their own are left unplotted.
TEST(DiagramCatalogue, DataFilesAreAmongTheRunFiles) {
    std::set<std::string_view> written;
    for (const DiagramDataFile& f : diagramDataFiles()) written.insert(f.fileName);
    std::set<std::string_view> plotted;
    for (const DiagramEntry& e : diagramCatalogue()) {
        EXPECT_TRUE(written.count(e.dataFile)) << e.item << " plots " << e.dataFile;
        plotted.insert(e.dataFile);
    }
    std::set<std::string_view> unplotted;
    for (std::string_view name : written)
        if (!plotted.count(name)) unplotted.insert(name);
    EXPECT_EQ(unplotted,
              (std::set<std::string_view>{"Fe3CrAl3.dat", "FeCrAlTiO2.dat", "ZnFe2Mn.dat"}));
}

TEST(DiagramCatalogue, SharedDataFiles) {
    std::map<std::string_view, int> uses;
    for (const DiagramEntry& e : diagramCatalogue()) ++uses[e.dataFile];
    EXPECT_EQ(uses["MgMgFeCrCrAl.dat"], 8);
    EXPECT_EQ(uses["Al2O3TiO2.dat"], 4);
    EXPECT_EQ(uses["ZnMgFe.dat"], 3);
    EXPECT_EQ(uses["Fe3CrAl.dat"], 6);
    EXPECT_EQ(uses["Fe3CrAlTiO2.dat"], 2);
}

TEST(DiagramCatalogue, ItemNamesNotInCaptionOrderAreFoundByName) {
    const DiagramEntry* eighth = findDiagramEntry("mnuMgMgFeCrCrAl8a");
    const DiagramEntry* ninth = findDiagramEntry("mnuMgMgFeCrCrAl8");
    ASSERT_NE(eighth, nullptr);
    ASSERT_NE(ninth, nullptr);
    EXPECT_EQ(eighth->templateFile, "MgMgFeCrCrAl_8.grf");
    EXPECT_TRUE(eighth->caption.starts_with("[8]"));
    EXPECT_EQ(ninth->templateFile, "MgFeCrAl100_1.grf");
    EXPECT_TRUE(ninth->caption.starts_with("[9]"));
    EXPECT_EQ(ninth - eighth, 1);
    EXPECT_EQ(findDiagramEntry("mnuGraph"), nullptr);
    EXPECT_EQ(findDiagramEntry(""), nullptr);
}

// A sub-menu drawn as '-' for a separator and 'e' for an entry.
std::string drawn(int submenu) {
    std::string s;
    for (const DiagramMenuLine& line : diagramSubmenuLines(submenu))
        s += line.isSeparator() ? '-' : 'e';
    return s;
}

TEST(DiagramSubmenuLines, SeparatorsOpenAndCloseEverySubmenuAndSplitItsGroups) {
    EXPECT_EQ(drawn(0), "-eeeeee-ee-eeee-eeee-eeee-");
    EXPECT_EQ(drawn(1), "-eeeeeeeeeeeee-");
    EXPECT_EQ(drawn(2), "-eeeeeeeeee-ee-ee-eeeeeee-");
    EXPECT_EQ(drawn(3), "-eeee-ee-eeeeeee-");
    EXPECT_EQ(drawn(4), "-eeeeeeee-");
    EXPECT_EQ(drawn(5), "-e-");
}

TEST(DiagramSubmenuLines, EntriesFollowTheTranscriptionInOrder) {
    for (int m = 0; m < kDiagramSubmenuCount; ++m) {
        SCOPED_TRACE(kMenus[static_cast<std::size_t>(m)].item);
        std::vector<std::string_view> want;
        for (const auto& group : kMenus[static_cast<std::size_t>(m)].groups)
            for (const Row& r : group) want.push_back(r.item);
        std::vector<std::string_view> got;
        for (const DiagramMenuLine& line : diagramSubmenuLines(m))
            if (!line.isSeparator()) got.push_back(line.entry->item);
        EXPECT_EQ(got, want);
    }
}

TEST(DiagramSubmenuLines, NoLinesOutsideTheSixSubmenus) {
    EXPECT_TRUE(diagramSubmenuLines(-1).empty());
    EXPECT_TRUE(diagramSubmenuLines(kDiagramSubmenuCount).empty());
}

TEST(GrapherFileFilter, OneFilterOfDescriptionAndPattern) {
    EXPECT_EQ(kGrapherFileFilter, "Grapher files(*.grf) |*.grf");
    EXPECT_EQ(std::string(kGrapherFileFilter),
              std::string(kGrapherFilterDescription) + "|" + std::string(kGrapherFilterPattern));
    EXPECT_EQ(kGrapherFilterDescription, "Grapher files(*.grf) ");
}

}  // namespace
}  // namespace qarv
