#pragma once
// The Graph menu of the results window: 76 plot templates in six sub-menus.
// Choosing an item hands its template to the program the desktop associates
// with ".grf"; the template plots one of the diagram data files that every
// run rewrites. The table is in menu order.

#include <array>
#include <string_view>
#include <vector>

namespace qarv {

struct DiagramEntry {
    std::string_view item;          // menu item name, e.g. "mnuFe2CoMn"
    std::string_view caption;       // shown as is, blanks included (UTF-8)
    std::string_view templateFile;  // bare file name, e.g. "Fe2CoMn.grf"
    std::string_view dataFile;      // the diagram data file the template plots
    int submenu;                    // 0..5, index into diagramSubmenus()
    int group;                      // 1.. within the sub-menu; separators lie between groups
};

struct DiagramSubmenu {
    std::string_view item;     // e.g. "mnuClass"
    std::string_view caption;  // e.g. "Classification Diagrams (Oxyspinel Group)  [1]"
};

inline constexpr int kDiagramSubmenuCount = 6;

// The top-level menu that holds the six sub-menus.
inline constexpr std::string_view kGraphMenuItem = "mnuGraph";
inline constexpr std::string_view kGraphMenuCaption = "Graph";

// The file dialog of the generic "open any template" command: one filter,
// description and pattern joined by '|'.
inline constexpr std::string_view kGrapherFileFilter = "Grapher files(*.grf) |*.grf";
inline constexpr std::string_view kGrapherFilterDescription = "Grapher files(*.grf) ";
inline constexpr std::string_view kGrapherFilterPattern = "*.grf";

// All 76 entries in menu order, sub-menu by sub-menu.
const std::vector<DiagramEntry>& diagramCatalogue();
// The six sub-menus in menu order.
const std::array<DiagramSubmenu, kDiagramSubmenuCount>& diagramSubmenus();

// The entry with this menu item name, if any.
const DiagramEntry* findDiagramEntry(std::string_view item);

// One line of a sub-menu as displayed: an entry, or a separator line.
struct DiagramMenuLine {
    const DiagramEntry* entry = nullptr;  // points into diagramCatalogue(); null = separator
    bool isSeparator() const { return entry == nullptr; }
};

// A sub-menu's lines in display order: a separator first, a separator
// wherever the group number changes, and a separator last. Empty for an
// index outside 0..5.
std::vector<DiagramMenuLine> diagramSubmenuLines(int submenu);

}  // namespace qarv
