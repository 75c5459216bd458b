#include "diagrams/diagram_catalogue.h"

#include <iterator>

namespace qarv {
namespace {

// Fe3CrAl.dat and Fe3CrAlTiO2.dat each have a twin with the same columns and
// other filters (Fe3CrAl3.dat, FeCrAlTiO2.dat). The Fe3+ - Cr - Al templates
// and the Fe3+/(Fe3++Cr+Al) - TiO2 templates plot the file that carries their
// name, Fe3CrAl.dat and Fe3CrAlTiO2.dat; no template here plots a twin.
//
// Item names are kept as the menus have them, irregular ones included
// ("mnFe3CrAl1", "Fe2CoMg", "mnuMgMgFeCrCrAl8a" before "mnuMgMgFeCrCrAl8").
// clang-format off
constexpr DiagramEntry kCatalogue[] = {
    // Classification Diagrams (Oxyspinel Group)  [1]
    {"mnFe3CrAl1", "[1]  Fe3+ - Cr - Al Diagram [Stevens (1944)]",
     "Fe3CrAl_3.grf", "Fe3CrAl.dat", 0, 1},
    {"mnFe3CrAl2", "[2]  Fe3+ - Cr - Al Diagram [Gawlick et al. (2020; see references therein for discrimination fields)]",
     "Fe3CrAl_2.grf", "Fe3CrAl.dat", 0, 1},
    {"mnuCrAlFe3", "[3]  Cr - Al - Fe3+  Diagram [Mekhonoshin et al. (2020)]",
     "CrAlFe3.grf", "CrAlFe3.dat", 0, 1},
    {"mnuMgFe2CrAl", "[4]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) Diagram [after Al-Juboury et al. (2009)]",
     "MgFe2CrAl.grf", "MgFe2CrAl.dat", 0, 1},
    {"mnuFe2MgFe3Al", "[5]  Fe2+/(Fe2++Mg) - Fe3+/(Fe3++Al) Diagram [Gargiulo et al. (2013; see references therein for discrimination fields)]",
     "Fe2MgFe3Al.grf", "Fe2MgFe3Al.dat", 0, 1},
    {"mnuFe3CuZn", "[6]  Fe3+ - (Cu+Zn) Diagram [Sharygin et al. (2018)]",
     "Fe3CuZn.grf", "Fe3CuZn.dat", 0, 1},
    {"mnVCrFe3", "[1]  V - Cr - Fe3+ Diagram [Kompanchenko (2020)]",
     "VCrFe3.grf", "VCrFe3.dat", 0, 2},
    {"mnuZnFeMnMg", "[2]  Zn - (Fe2++Mn) - Mg Diagram [Johan and Ohnenstetter (2010)]",
     "ZnFe2MnMg.grf", "ZnFe2MnMg.dat", 0, 2},
    {"mnuFe2CuMg", "[1]  Fe2+ - Cu - Mg Diagram   [B3+ = Al]   (Hercynite, Thermaerogenite, Spinel)",
     "Fe2CuMg.grf", "Fe2CuMg.dat", 0, 3},
    {"mnuCuZnMn", "[2]  Cu- Zn - Mn Diagram       [B3+ = Al]    (Thermaerogenite, Gahnite, Galaxite)",
     "CuZnMn.grf", "CuZnMn.dat", 0, 3},
    {"mnuMnMgCu", "[3]  Mn- Mg - Cu Diagram      [B3+ = Al]    (Galaxite, Spinel, Thermaerogenite)",
     "MnMgCu.grf", "MnMgCu.dat", 0, 3},
    {"mnuMgMnV2", "[4]  Mg- Mn - V2+ Diagram    [B3+ = Al]]   (Spinel, Galaxite, Dellagiustaite)",
     "MgMnV2.grf", "MgMnV2.dat", 0, 3},
    {"Fe2CoMg", "[1]  Fe2+ - Co - Mg Diagram   [B3+ = Cr]    (Chromite, Cochromite, Magnesiochromite)",
     "Fe2CoMg.grf", "Fe2CoMg.dat", 0, 4},
    {"mnuCoZnMn", "[2]  Co - Zn - Mn Diagram       [B3+ = Cr]    (Cochromite, Zincochromite, Manganochromite)",
     "CoZnMn.grf", "CoZnMn.dat", 0, 4},
    {"mnuMnMgCo", "[3]  Mn - Mg - Co Diagram      [B3+ = Cr]    (Manganochromite, Magnesiochromite, Cochromite)",
     "MnMgCo.grf", "MnMgCo.dat", 0, 4},
    {"mnuMgMnNi", "[4]  Mg - Mn - Ni Diagram       [B3+ = Cr]    (Magnesiochromite, Manganochromite)",
     "MgMnNi.grf", "MgMnNi.dat", 0, 4},
    {"mnuFe2CuMg1", "[1]  Fe2+ - Cu - Mg Diagram   [B3+ = Fe3+]    (Magnetite, Cuprospinel, Magnesioferrite)",
     "Fe2CuMg1.grf", "Fe2CuMg1.dat", 0, 5},
    {"mnuCuZnMn1", "[2]  Cu - Zn - Mn Diagram       [B3+ = Fe3+]    (Cuprospinel, Franklinite, Jacobsite)",
     "CuZnMn1.grf", "CuZnMn1.dat", 0, 5},
    {"mnuMnMgCu1", "[3]  Mn - Mg - Cu Diagram      [B3+ = Fe3+]    (Jacobsite, Magnesioferrite, Cuprospinel)",
     "MnMgCu1.grf", "MnMgCu1.dat", 0, 5},
    {"mnuMgMnNi1", "[4]  Mg - Mn - Ni Diagram       [B3+ = Fe3+]    (Magnesioferrite, Jacobsite, Trevorite)",
     "MgMnNi1.grf", "MgMnNi1.dat", 0, 5},

    // Classification Diagrams (Oxyspinel Group)  [2]
    {"mnuFe2CoMn", "[1]  Fe2+ - Co - Mn Diagram   (Magnetite, Guite, Hausmannite)",
     "Fe2CoMn.grf", "Fe2CoMn.dat", 1, 1},
    {"mnuZnFeMn", "[2]  Zn - Fe2+ - Mn Diagram   [Stalder and Rozendaal (2005)]   (Franklinite, Magnetite, Jacobsite)",
     "ZnFeMn.grf", "ZnFeMn.dat", 1, 1},
    {"mnuZnMgFe1", "[3]  Zn - Mg - Fe2+ Diagram   [Heimann and Spry (2005)]   (Gahnite, Spinel, Hercynite)",
     "ZnMgFe1.grf", "ZnMgFe.dat", 1, 1},
    {"mnuZnMgFe2", "[4]  Ghn - Spl - Hc Diagram   [Heimann and Spry (2005)]   (1)",
     "ZnMgFe2.grf", "ZnMgFe.dat", 1, 1},
    {"mnuZnMgFe3", "[5]  Ghn - Spl - Hc Diagram   [Heimann and Spry (2005)]   (2)",
     "ZnMgFe3.grf", "ZnMgFe.dat", 1, 1},
    {"mnuMgCuZn", "[6]  Mg - Cu - Zn Diagram   [Pekov et al. (2018)]",
     "MgCuZn.grf", "MgCuZn.dat", 1, 1},
    {"mnuTiFeAl", "[7]  Mn2TiO4 - MnFe2O4 - MnAl2O4 Diagram [Essene and Peacor (1983)]   (Galaxite, Jacobsite)",
     "TiFeAl.grf", "TiFeAl.dat", 1, 1},
    {"mnuZnMnFe3Al", "[8]  Zn/(Zn+Mn) - Fe3+/(Fe3++Al) Diagram [after Essene and Peacor (1983)]   (Galaxite, Jacobsite, Franklinite, Gahnite)",
     "ZnMnFe3Al.grf", "ZnMnFe3Al.dat", 1, 1},
    // Our own wording for the Fe3+ - V3+ - Cr diagram.
    {"mnuFeVCr", "[9]  Fe3+ - V3+ - Cr Diagram   (Magnetite, Vuorelainenite, Manganochromite)",
     "FeVCr.grf", "FeVCr.dat", 1, 1},
    {"mnuTiAlFe", "[10]  (Fe,Mg)2TiO4 - (Fe,Mg)Al2O4 - (Fe,Mg)Fe2O4 Diagram   [after Pascal et al. (2011)]   (Qandilite, Spinel,Magnesioferrite)",
     "TiAlFe.grf", "TiAlFe.dat", 1, 1},
    {"mnuFe3AlFe2Mg", "[11]  Fe3+/(Fe3++Al) - (Fe2+/(Fe2++Mg) Diagram   (Spinel, Magnesioferrite, Hercynite, Magnetite)",
     "Fe3AlFe2Mg.grf", "Fe3AlFe2Mg.dat", 1, 1},
    {"mnuCrFeAl", "[12]  Cr - Fe3+ - Al Diagram   (Manganochromite, Jacobsite, Galaxite)",
     "CrFeAl.grf", "CrFeAl.dat", 1, 1},
    {"mnuMnFeAl", "[13]  Mn3+ - Fe3+ - Al Diagram   (Hausmannite, Jacobsite, Galaxite)",
     "MnFeAl.grf", "MnFeAl.dat", 1, 1},

    // Chromian Spinel Compositional Diagrams  [1]
    {"mnuMgMgFeCrCrAl1", "[1]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Leblanc and Nicolas (1992); Irvine (1967)]",
     "MgMgFeCrCrAl_1.grf", "MgMgFeCrCrAl.dat", 2, 1},
    {"mnuMgMgFeCrCrAl2", "[2]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Lippo et al. (1994; see references therein for discrimination fields)]",
     "MgMgFeCrCrAl_2.grf", "MgMgFeCrCrAl.dat", 2, 1},
    {"mnuMgMgFeCrCrAl3", "[3]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Baxter et al. (2016; see references therein for discrimination fields)]",
     "MgMgFeCrCrAl_3.grf", "MgMgFeCrCrAl.dat", 2, 1},
    {"mnuMgMgFeCrCrAl4", "[4]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Lee (1999; see references therein for discrimination fields)]",
     "MgMgFeCrCrAl_4.grf", "MgMgFeCrCrAl.dat", 2, 1},
    {"mnuMgMgFeCrCrAl5", "[5]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Lee (1999; see references therein for discrimination fields)]",
     "MgMgFeCrCrAl_5.grf", "MgMgFeCrCrAl.dat", 2, 1},
    {"mnuMgMgFeCrCrAl6", "[6]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Lee (1999; see references therein for discrimination fields)]",
     "MgMgFeCrCrAl_6.grf", "MgMgFeCrCrAl.dat", 2, 1},
    {"mnuMgMgFeCrCrAl7", "[7]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Lee (1999; see references therein for discrimination fields)]",
     "MgMgFeCrCrAl_7.grf", "MgMgFeCrCrAl.dat", 2, 1},
    {"mnuMgMgFeCrCrAl8a", "[8]  Mg/(Mg+Fe2+) - Cr/(Cr+Al) [Lee (1999; see references therein for discrimination fields)]",
     "MgMgFeCrCrAl_8.grf", "MgMgFeCrCrAl.dat", 2, 1},
    {"mnuMgMgFeCrCrAl8", "[9]  100Mg/(Mg+Fe2+) - 100Cr/(Cr+Al) [Irvine and Findlay (1972)]",
     "MgFeCrAl100_1.grf", "MgFeCrAl100.dat", 2, 1},
    {"mnuMgMgFeCrCrAl9", "[10]  100Mg/(Mg+Fe2+) - 100Cr/(Cr+Al) [Bhat et al. (2019; see refernces therein for discrimination fields)]",
     "MgFeCrAl100_2.grf", "MgFeCrAl100.dat", 2, 1},
    {"mnuFeFeMgCrCrAl1", "[1]  Fe2+/(Fe2++Mg) - Cr/(Cr+Al) [Barnes and Roeder (2001)]",
     "FeFeMgCrCrAl_1.grf", "FeFeMgCrCrAl.dat", 2, 2},
    {"mnuFeFeMgCrCrAl2", "[2]  Fe2+/(Fe2++Mg) - Cr/(Cr+Al) [Harstad et al. (2020)]",
     "FeFeMgCrCrAl_2.grf", "FeFeMgCrCrAl.dat", 2, 2},
    {"mnuMgFe2Fe3CrAl1", "[1] Mg/(Mg+Fe2+) - Fe3+/(Fe3++Cr+Al) [Lippo et al. (1994; see references therein for discrimination fields)]",
     "MgFe2Fe3CrAl_1.grf", "MgFe2Fe3CrAl.dat", 2, 3},
    {"mnuMgFe2Fe3CrAl2", "[2] Mg/(Mg+Fe2+) - Fe3+/(Fe3++Cr+Al) [Cookenboo et al. (1997)]",
     "MgFe2Fe3CrAl_2.grf", "MgFe2Fe3CrAl.dat", 2, 3},
    {"mnuFe2MgFe3CrAl", "[1]  Fe2+/(Fe2++Mg) - Fe3+/(Fe3++Cr+Al) [Barnes and Roeder (2001)]",
     "Fe2MgFe3CrAl.grf", "Fe2MgFe3CrAl.dat", 2, 4},
    {"mnuMgMgFeCrCrAl100", "[2] 100Mg/(Mg+Fe2+) - 100Cr/(Cr+Al) [Dick and Bullen (1984)]",
     "MgMgFeCrCrAl100.grf", "MgMgFeCrCrAl100.dat", 2, 4},
    {"mnuFe3CrAl1", "[3]  Fe3+ - Cr - Al [Bhat et al. (2019; see references therein for discrimination fields)]",
     "Fe3CrAl_1.grf", "Fe3CrAl.dat", 2, 4},
    {"mnuFe3CrAl4", "[4]  Fe3+ - Cr - Al [Barnes and Roeder (2001)]",
     "Fe3CrAl_4.grf", "Fe3CrAl.dat", 2, 4},
    {"mnuFe3CrAl5", "[5]  Fe3+ - Cr - Al [Cookenboo et al. (1997)]",
     "Fe3CrAl_5.grf", "Fe3CrAl.dat", 2, 4},
    {"mnuFe3CrAl6", "[6]  Fe3+ - Cr - Al [Harstad et al. (2020)]",
     "Fe3CrAl_6.grf", "Fe3CrAl.dat", 2, 4},
    {"mnuCrAlFe3Ti", "[7]  Cr - Al - (Fe3++2Ti) [Lippo et al. (1994; see refernces therein for discrimination fields)]",
     "CrAlFe3Ti.grf", "CrAlFe3Ti.dat", 2, 4},

    // Chromian Spinel Compositional Diagrams  [2]
    {"mnuAl2O3TiO21", "[1] Al2O3 - TiO2 [Kamenetsky et al. (2001)]",
     "Al2O3TiO2_1.grf", "Al2O3TiO2.dat", 3, 1},
    {"mnuAl2O3TiO22", "[2] Al2O3 - TiO2 [Kamenetsky et al. (2001)]",
     "Al2O3TiO2_2.grf", "Al2O3TiO2.dat", 3, 1},
    {"mnuAl2O3TiO23", "[3] Al2O3 - TiO2 [Kamenetsky et al. (2001)]",
     "Al2O3TiO2_3.grf", "Al2O3TiO2.dat", 3, 1},
    {"mnuAl2O3TiO24", "[4] Al2O3 - TiO2 [Kamenetsky et al. (2001)]",
     "Al2O3TiO2_4.grf", "Al2O3TiO2.dat", 3, 1},
    {"mnuCr2O3Al2O3", "[1] Cr2O3 - Al2O3 [Bonavia et al. (1993)]",
     "Cr2O3Al2O3.grf", "Cr2O3Al2O3.dat", 3, 2},
    {"mnuCr2O3FeO", "[2] Cr2O3 - FeOtotal [Jan and Windley (1990)]",
     "Cr2O3FeO.grf", "Cr2O3FeO.dat", 3, 2},
    {"mnuCrCrAlTiO21", "[1] Cr/(Cr+Al) - TiO2 [Arai (1992)]",
     "CrCrAlTiO2_1.grf", "CrCrAlTiO2.dat", 3, 3},
    {"mnuCrCrAlTiO22", "[2] Cr/(Cr+Al) - TiO2 [Arai (1992)]",
     "CrCrAlTiO2_2.grf", "CrCrAlTiO2.dat", 3, 3},
    {"mnuFe3CrAlTiO21", "[3] Fe3+/(Fe3++Cr+Al) - TiO2 [Barnes and Roeder (2001)]",
     "Fe3CrAlTiO2_1.grf", "Fe3CrAlTiO2.dat", 3, 3},
    {"mnuFe3CrAlTiO22", "[4] Fe3+/(Fe3++Cr+Al) - TiO2 [Arai (2011)]",
     "Fe3CrAlTiO2_2.grf", "Fe3CrAlTiO2.dat", 3, 3},
    {"mnuCrCrAl100TiO2", "[5] 100Cr/(Cr+Al) - TiO2 [Barnes and Roeder (2001)]",
     "CrCrAl100TiO2.grf", "CrCrAl100TiO2.dat", 3, 3},
    {"mnuAl2O3Fe2Fe31", "[6] Al2O3 - (Fe2+/Fe3+) [Kamenetsky et al. (2001)]",
     "Al2O3Fe2Fe3_1.grf", "Al2O3Fe2Fe3.dat", 3, 3},
    {"mnuTiO2Fe2Fe3", "[7] TiO2 - (Fe2+/Fe3+) [Lenaz et al. (2000)]",
     "TiO2Fe2Fe3.grf", "TiO2Fe2Fe3.dat", 3, 3},

    // Classification Diagrams (Thiospinel Group)
    {"mnuNiFe2Cots1", "[1]  Ni - Fe - Co Diagram  ",
     "NiFe2Cots1.grf", "NiFe2Cots1.dat", 4, 1},
    {"mnuNiFe2Cots2", "[2]  Ni - Fe - Co Diagram [Ostwald (1978)]",
     "NiFe2Cots2.grf", "NiFe2Cots2.dat", 4, 1},
    {"mnuCuNiCoFeCoNits", "[3]  Cu - Ni - Co and Fe - Co - Ni Diagrams [Ostwald (1978)]",
     "CuNiCoFets.grf", "CuNiCoFets.dat", 4, 1},
    {"mnuFe2MnZnts", "[4]  Fe - Mn - Zn Diagram  ",
     "Fe2MnZnts.grf", "Fe2MnZnts.dat", 4, 1},
    {"mnuFe2NiCots", "[5]  Fe - Ni - Co Diagram  ",
     "Fe2NiCots.grf", "Fe2NiCots.dat", 4, 1},
    {"mnuZnCdFe2ts", "[6]  Zn - Cd - Fe Diagram  ",
     "ZnCdFe2ts.grf", "ZnCdFe2ts.dat", 4, 1},
    {"mnuIrRhPtts", "[7]  Ir - Rh - Pt Diagram [Barkov et al. (2000)]",
     "IrRhPtts.grf", "IrRhPtts.dat", 4, 1},
    {"mnuZnFeAgCuts", "[8]  Zn/(Zn+Fe) - Ag/(Ag+Cu) Diagram [Yajima et al. (1991)]",
     "ZnFeAgCuts.grf", "ZnFeAgCuts.dat", 4, 1},

    // Classification Diagrams (Selenospinel Group)
    {"mnuCuCoNiss", "[1]  Cu - Co - Ni Diagram [Förster et al. (2019)]",
     "CuCoNiss.grf", "CuCoNiss.dat", 5, 1},
};
// clang-format on
static_assert(std::size(kCatalogue) == 76);

constexpr std::array<DiagramSubmenu, kDiagramSubmenuCount> kSubmenus = {{
    {"mnuClass", "Classification Diagrams (Oxyspinel Group)  [1]"},
    {"mnuClass2", "Classification Diagrams (Oxyspinel Group)  [2]"},
    {"mnuTPT", "Chromian Spinel Compositional Diagrams  [1]"},
    {"mnuMP", "Chromian Spinel Compositional Diagrams  [2]"},
    {"mnuClassThio", "Classification Diagrams (Thiospinel Group)"},
    {"mnuClassSele", "Classification Diagrams (Selenospinel Group)"},
}};

}  // namespace

const std::vector<DiagramEntry>& diagramCatalogue() {
    static const std::vector<DiagramEntry> catalogue(std::begin(kCatalogue), std::end(kCatalogue));
    return catalogue;
}

const std::array<DiagramSubmenu, kDiagramSubmenuCount>& diagramSubmenus() {
    return kSubmenus;
}

const DiagramEntry* findDiagramEntry(std::string_view item) {
    for (const DiagramEntry& e : diagramCatalogue())
        if (e.item == item) return &e;
    return nullptr;
}

std::vector<DiagramMenuLine> diagramSubmenuLines(int submenu) {
    std::vector<DiagramMenuLine> lines;
    if (submenu < 0 || submenu >= kDiagramSubmenuCount) return lines;
    const DiagramEntry* previous = nullptr;
    for (const DiagramEntry& e : diagramCatalogue()) {
        if (e.submenu != submenu) continue;
        if (previous == nullptr || previous->group != e.group) lines.push_back({});
        lines.push_back({&e});
        previous = &e;
    }
    if (previous != nullptr) lines.push_back({});
    return lines;
}

}  // namespace qarv
