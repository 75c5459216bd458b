// Makes the help pages and the help-file project from the pages in help/.
//
//   qarvelion-make-help-pages SOURCE_FOLDER OUTPUT_FOLDER
//
// Every topic of SOURCE_FOLDER/topics.tsv ("file<TAB>title" lines, contents
// order) is copied to OUTPUT_FOLDER, with its markers replaced by tables
// made from the program's own tables, so that the help cannot drift from the
// program:
//   <!-- contents -->    the list of topics
//   <!-- columns -->     the 171 columns of the results table
//   <!-- diagrams -->    the Graph menu: 76 diagrams, templates, sources
//   <!-- references -->  the literature sources of the diagrams
//   <!-- data-files -->  the 57 diagram data files: titles, species, ranges
//   <!-- oxides -->      the oxides with their molar masses
//   <!-- elements -->    the thiospinel and selenospinel elements
//   <!-- input-columns --> the columns of the analysis sheet
// It also writes the help-file project: qarvelion.hhp, contents.hhc and
// index.hhk. Characters beyond ASCII are written as numeric references, so
// that every help viewer shows them alike.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "calc/constituents.h"
#include "diagrams/diagram_catalogue.h"
#include "diagrams/diagram_data_files.h"
#include "results/results_layout.h"
#include "sheet/sheet_layout.h"

namespace fs = std::filesystem;
using namespace qarv;

namespace {

struct Topic {
    std::string file;
    std::string title;
};

// HTML text: markup characters escaped, UTF-8 sequences as numeric references.
std::string html(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '"') {
            out += "&quot;";
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
            unsigned code = c & (0x3F >> extra);
            for (int k = 0; k < extra && i + 1 < text.size(); ++k)
                code = (code << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F);
            out += "&#" + std::to_string(code) + ";";
        }
    }
    return out;
}

// Runs of blanks as one blank, none at the ends: captions carry runs of
// blanks that mean nothing in running text.
std::string collapse(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// A title without the brackets that mark the ends of a run of like columns.
std::string bare(std::string_view title) {
    std::string out(title);
    std::erase(out, '[');
    std::erase(out, ']');
    for (std::string_view unit : {" (%)", " (apfu)"})
        if (const auto at = out.find(unit); at != std::string::npos) out.erase(at, unit.size());
    return out;
}

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::vector<Topic> readTopics(const fs::path& path) {
    std::vector<Topic> topics;
    std::istringstream in(readText(path));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto tab = line.find('\t');
        if (tab == std::string::npos) throw std::runtime_error("topics: no tab in: " + line);
        topics.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return topics;
}

// ---------------------------------------------------------------------------
// The results table

std::string formText(const ResultColumn& column, int c) {
    if (column.kind == ResultKind::Text) return "text";
    switch (column.form) {
        case NumberForm::F2:
            return "2 decimals";
        case NumberForm::F3:
            return "3 decimals";
        case NumberForm::F3g:
            return c == rc::kCations + 2 ? "3 decimals (unlike its neighbours)" : "3 decimals";
        case NumberForm::F4:
            return "4 decimals";
        case NumberForm::Plain:
            return "as entered, no trailing zeros";
    }
    return {};
}

std::string cationDescription(std::string_view name) {
    std::string text = "<b>" + html(name) +
                       "</b> in atoms per formula unit (apfu), on the basis of 3 cations and "
                       "4 oxygens.";
    if (name == "Fe3+" || name == "Fe2+")
        text +=
            " Where FeO is given and Fe2O3 is not, the iron is split into Fe2+ and Fe3+ by "
            "charge balance; otherwise each oxide gives its own ion.";
    if (name == "Mn3+" || name == "Mn")
        text +=
            " In an analysis with more than 75 wt% MnO and no Mn2O3, Mn3+ is estimated by "
            "charge balance (and the iron is then left out).";
    if (name == "Co3+" || name == "Co2+")
        text +=
            " In an analysis with more than 75 wt% CoO and no Co2O3, Co3+ is estimated by "
            "charge balance (and the iron is then left out).";
    return text;
}

std::string describe(int c, const ResultColumn& column) {
    const std::string name = bare(column.title);
    if (c == rc::kOxySample || c == rc::kThioSample || c == rc::kSelenoSample)
        return "The sample name typed in the sheet for this block, shown even when the block "
               "is empty.";
    if (c >= rc::kOxides && c < rc::kOxides + kOxideCount)
        return "<b>" + html(name) + "</b> in wt%, as entered.";
    if (c == rc::kOxideTotal)
        return "Sum of the oxides (wt%). Where a FeO/Fe2O3, MnO/Mn2O3 or CoO/Co2O3 pair was "
               "recalculated, the recalculated pair replaces the entered oxide. When the total "
               "shows 0 or less than 80.000, the whole oxyspinel block of the row stays empty.";
    if (c >= rc::kCalcOxides && c < rc::kCalcOxides + 6) {
        static const char* const texts[] = {
            "The part of the entered FeO that is ferrous after the charge balance (wt% FeO).",
            "The part of the entered FeO that is ferric after the charge balance, as Fe2O3 "
            "(wt%; FeO &times; 1.1113).",
            "The part of the entered MnO that is Mn2+ after the charge balance (wt% MnO).",
            "The part of the entered MnO that is Mn3+, as Mn2O3 (wt%; MnO &times; 1.112771).",
            "The part of the entered CoO that is Co2+ after the charge balance (wt% CoO).",
            "The part of the entered CoO that is Co3+, as Co2O3 (wt%; CoO &times; 1.106766).",
        };
        return std::string(texts[c - rc::kCalcOxides]) +
               " 0 when the estimate finds no trivalent ion or the oxide was not entered "
               "alone.";
    }
    if (c >= rc::kCations && c < rc::kCations + kOxideCount) return cationDescription(name);
    if (c == rc::kCationTotal)
        return "Sum of the cations (apfu): 3 for every calculated analysis; empty when 0.";
    if (c >= rc::kRatios && c < rc::kRatios + 8)
        return "The ratio <b>" + html(name) +
               "</b> of the cation values (apfu); 0 when its denominator is not above 0.";
    if (c >= rc::kChargeTotals && c < rc::kChargeTotals + 4) {
        static const char* const texts[] = {
            "Fe2+ + Mg + Mn2+ + Cu + Zn + Co2+ + Ni + V2+ + Ca (apfu).",
            "Al + Cr + V3+ + Mn3+ + Fe3+ + Ti3+ + Co3+ (apfu).",
            "Si + Ge + Ti (apfu).",
            "Sb5+ (apfu). Na, K and Li belong to none of the four sums.",
        };
        return "Cations by charge: " + std::string(texts[c - rc::kChargeTotals]);
    }
    if (c == rc::kOxyDominantA || c == rc::kThioDominantA || c == rc::kSelenoDominantA)
        return "The dominant cation of the A site, or the end-member's site content for "
               "species with a mixed or vacant site (see <a "
               "href=\"classification.html\">Classification</a>).";
    if (c == rc::kOxyDominantA + 1 || c == rc::kThioDominantA + 1 || c == rc::kSelenoDominantA + 1)
        return "The dominant cation of the B site, or the end-member's site content.";
    if (c == rc::kOxyGroup || c == rc::kThioGroup || c == rc::kSelenoGroup)
        return "The group of the spinel supergroup.";
    if (c == rc::kOxyGroup + 1 || c == rc::kThioGroup + 1 || c == rc::kSelenoGroup + 1)
        return "The subgroup, with the charges of its A and B cations.";
    if (c == rc::kOxySpecies || c == rc::kThioSpecies || c == rc::kSelenoSpecies)
        return "The species name (IMA 2019); empty when no rule names the analysis.";
    if (c >= rc::kThioWt && c < rc::kThioWt + kThioElementCount)
        return "<b>" + html(name) + "</b> in wt%, as entered.";
    if (c == rc::kThioWtTotal || c == rc::kSelenoWtTotal)
        return "Sum of the entered element weights (wt%).";
    if (c >= rc::kThioApfu && c < rc::kThioApfu + kThioElementCount)
        return "<b>" + html(name) + "</b> in atoms per formula unit on the basis S = 4.";
    if (c == rc::kThioApfuTotal || c == rc::kSelenoApfuTotal)
        return "Sum of all atoms per formula unit of the block, the anions included.";
    if (c >= rc::kSelenoWt && c < rc::kSelenoWt + kSelenoElementCount)
        return "<b>" + html(name) + "</b> in wt%, as entered.";
    if (c >= rc::kSelenoApfu && c < rc::kSelenoApfu + kSelenoElementCount)
        return "<b>" + html(name) + "</b> in atoms per formula unit on the basis Se = 4.";
    return "";
}

std::string blockName(SheetBlock block) {
    switch (block) {
        case SheetBlock::Oxyspinel:
            return "Oxyspinel";
        case SheetBlock::Thiospinel:
            return "Thiospinel";
        case SheetBlock::Selenospinel:
            return "Selenospinel";
        case SheetBlock::None:
            break;
    }
    return "";
}

std::string columnsTable() {
    std::string out;
    SheetBlock current = SheetBlock::None;
    const auto& columns = resultColumns();
    for (int c = 0; c < kResultColumnCount; ++c) {
        const ResultColumn& column = columns[c];
        if (column.kind == ResultKind::Unused) continue;
        if (column.block != current) {
            if (current != SheetBlock::None) out += "</table>\n";
            current = column.block;
            out += "<h2 id=\"" + blockName(current) + "\">" + blockName(current) +
                   " block</h2>\n<table class=\"grid\">\n<tr><th>Column</th><th>Title</th>"
                   "<th>Content</th><th>Shown with</th></tr>\n";
        }
        out += "<tr><td class=\"n\">" + std::to_string(c) + "</td><td class=\"t\">" +
               html(column.title) + "</td><td>" + describe(c, column) + "</td><td>" +
               formText(column, c) + "</td></tr>\n";
    }
    if (current != SheetBlock::None) out += "</table>\n";
    return out;
}

// ---------------------------------------------------------------------------
// The diagrams

// The literature sources that a caption cites: the bracketed parts that hold
// a year, such as "[Stevens (1944)]" or "[after Al-Juboury et al. (2009)]".
std::vector<std::string> captionSources(std::string_view caption) {
    std::vector<std::string> sources;
    size_t from = 0;
    while ((from = caption.find('[', from)) != std::string_view::npos) {
        const size_t to = caption.find(']', from);
        if (to == std::string_view::npos) break;
        const std::string inside = collapse(caption.substr(from + 1, to - from - 1));
        bool year = false;
        for (size_t i = 0; i + 4 < inside.size(); ++i)
            if (inside[i] == '(' && (inside[i + 1] == '1' || inside[i + 1] == '2') &&
                std::isdigit(static_cast<unsigned char>(inside[i + 2])) &&
                std::isdigit(static_cast<unsigned char>(inside[i + 3])) &&
                std::isdigit(static_cast<unsigned char>(inside[i + 4])))
                year = true;
        if (year) sources.push_back(inside);
        from = to + 1;
    }
    return sources;
}

// "[9]  100Mg/(Mg+Fe2+) - ..." without its leading number.
std::string captionNumber(std::string_view caption) {
    if (caption.empty() || caption[0] != '[') return "";
    const size_t to = caption.find(']');
    return to == std::string_view::npos ? "" : std::string(caption.substr(1, to - 1));
}

std::string diagramsTable() {
    std::string out;
    const auto& submenus = diagramSubmenus();
    for (int s = 0; s < kDiagramSubmenuCount; ++s) {
        out += "<h2 id=\"submenu" + std::to_string(s + 1) + "\">Graph &rarr; " +
               html(collapse(submenus[s].caption)) + "</h2>\n";
        out +=
            "<table class=\"grid\">\n<tr><th>Item</th><th>Diagram</th><th>Template</th>"
            "<th>Data file</th><th>Source</th></tr>\n";
        int group = 0;
        for (const DiagramEntry& e : diagramCatalogue()) {
            if (e.submenu != s) continue;
            const bool newGroup = e.group != group;
            group = e.group;
            std::string caption = collapse(e.caption);
            const std::string number = captionNumber(e.caption);
            if (!number.empty()) caption = collapse(caption.substr(number.size() + 2));
            std::string sources;
            for (const std::string& source : captionSources(e.caption))
                sources += (sources.empty() ? "" : "; ") + html(source);
            out += std::string("<tr") + (newGroup ? " class=\"group\"" : "") + "><td class=\"n\">" +
                   html(number) + "</td><td>" + html(caption) + "</td><td class=\"t\">" +
                   html(e.templateFile) + "</td><td class=\"t\"><a href=\"data-files.html#" +
                   html(e.dataFile) + "\">" + html(e.dataFile) + "</a></td><td>" +
                   (sources.empty() ? "&ndash;" : sources) + "</td></tr>\n";
        }
        out += "</table>\n";
    }
    return out;
}

// The cited works, each once, with the diagrams that cite them.
std::string referencesList() {
    std::map<std::string, std::set<std::string>> works;
    for (const DiagramEntry& e : diagramCatalogue())
        for (std::string source : captionSources(e.caption)) {
            if (source.rfind("after ", 0) == 0) source.erase(0, 6);
            const auto see = source.find("; see ");
            if (see != std::string::npos) source = source.substr(0, see) + ")";
            // "Leblanc and Nicolas (1992); Irvine (1967)" cites two works.
            size_t from = 0;
            while (from < source.size()) {
                size_t to = source.find("); ", from);
                std::string work = collapse(source.substr(
                    from, to == std::string::npos ? std::string::npos : to + 1 - from));
                works[work].insert(std::string(e.templateFile));
                if (to == std::string::npos) break;
                from = to + 3;
            }
        }
    std::string out = "<table class=\"grid\">\n<tr><th>Work</th><th>Templates</th></tr>\n";
    for (const auto& [work, templates] : works) {
        std::string list;
        for (const std::string& t : templates) list += (list.empty() ? "" : ", ") + html(t);
        out += "<tr><td>" + html(work) + "</td><td class=\"t\">" + list + "</td></tr>\n";
    }
    return out + "</table>\n";
}

std::string number(double v) {
    std::ostringstream s;
    s << v;
    return s.str();
}

std::string dataFilesTable() {
    std::string out =
        "<table class=\"grid\">\n<tr><th>File</th><th>Block</th>"
        "<th>Columns after SampleNo</th><th>Species written</th>"
        "<th>Further conditions</th><th>Plotted by</th></tr>\n";
    for (const DiagramDataFile& file : diagramDataFiles()) {
        std::string titles;
        for (std::string_view t : file.titles) titles += (titles.empty() ? "" : ", ") + html(t);
        std::string species;
        for (std::string_view s : file.species) species += (species.empty() ? "" : ", ") + html(s);
        std::string ranges;
        for (const DiagramRange& r : file.ranges) {
            const std::string what = r.valueIndex >= 0 && r.valueIndex < int(file.titles.size())
                                         ? html(file.titles[r.valueIndex])
                                         : "value";
            std::string range;
            if (r.min) range += number(*r.min) + " &le; ";
            range += what;
            if (r.max) range += " &le; " + number(*r.max);
            ranges += (ranges.empty() ? "" : "; ") + range;
        }
        std::string templates;
        for (const DiagramEntry& e : diagramCatalogue())
            if (e.dataFile == file.fileName)
                templates += (templates.empty() ? "" : ", ") + html(e.templateFile);
        out += "<tr id=\"" + html(file.fileName) + "\"><td class=\"t\">" + html(file.fileName) +
               "</td><td>" + blockName(file.block) + "</td><td>" + titles + "</td><td>" + species +
               "</td><td>" + (ranges.empty() ? "&ndash;" : ranges) + "</td><td class=\"t\">" +
               (templates.empty() ? "&ndash;" : templates) + "</td></tr>\n";
    }
    return out + "</table>\n";
}

// ---------------------------------------------------------------------------
// Inputs and constants

std::string oxidesTable() {
    std::string out =
        "<table class=\"grid\">\n<tr><th>Oxide</th><th>Molar mass (g/mol)</th>"
        "<th>Cations</th><th>Oxygens</th></tr>\n";
    for (const OxideData& o : kOxides)
        out += "<tr><td class=\"t\">" + html(o.name) + "</td><td class=\"n\">" +
               number(o.molarMass) + "</td><td class=\"n\">" + std::to_string(o.cations) +
               "</td><td class=\"n\">" + std::to_string(o.oxygens) + "</td></tr>\n";
    return out + "</table>\n";
}

std::string elementsTable() {
    std::string out =
        "<table class=\"grid\">\n<tr><th>Element</th><th>Atomic mass (g/mol)</th>"
        "<th>Thiospinel block</th><th>Selenospinel block</th></tr>\n";
    for (const ElementData& e : kThioElements) {
        const bool seleno = std::any_of(kSelenoElements.begin(), kSelenoElements.end(),
                                        [&](const ElementData& s) { return s.symbol == e.symbol; });
        out += "<tr><td class=\"t\">" + html(e.symbol) + "</td><td class=\"n\">" +
               number(e.atomicMass) + "</td><td>yes" + (e.symbol == "S" ? " (anion: S = 4)" : "") +
               "</td><td>" + (seleno ? (e.symbol == "Se" ? "yes (anion: Se = 4)" : "yes") : "") +
               "</td></tr>\n";
    }
    return out + "</table>\n";
}

std::string inputColumnsTable() {
    std::string out;
    const auto& columns = sheetColumns();
    for (SheetBlock block :
         {SheetBlock::Oxyspinel, SheetBlock::Thiospinel, SheetBlock::Selenospinel}) {
        int first = -1, last = -1;
        std::string names;
        for (int c = 1; c < kSheetColumnCount; ++c) {
            if (columns[c].block != block) continue;
            if (first < 0) first = c;
            last = c;
            names += (names.empty() ? "" : ", ") + html(columns[c].header);
        }
        out += "<tr><td>" + blockName(block) + "</td><td class=\"n\">" + std::to_string(first) +
               "&ndash;" + std::to_string(last) + "</td><td>" + names + "</td></tr>\n";
    }
    return "<table class=\"grid\">\n<tr><th>Block</th><th>Sheet columns</th>"
           "<th>Column titles, in order</th></tr>\n" +
           out + "</table>\n";
}

// ---------------------------------------------------------------------------
// The help-file project

std::string contentsList(const std::vector<Topic>& topics) {
    std::string out = "<ul class=\"contents\">\n";
    for (const Topic& t : topics)
        if (t.file != "index.html")
            out += "<li><a href=\"" + t.file + "\">" + html(t.title) + "</a></li>\n";
    return out + "</ul>\n";
}

std::string sitemapEntry(const std::string& name, const std::string& local) {
    return "<LI><OBJECT type=\"text/sitemap\">\n<param name=\"Name\" value=\"" + html(name) +
           "\">\n<param name=\"Local\" value=\"" + local + "\">\n</OBJECT>\n";
}

std::string sitemap(const std::string& body) {
    return "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<HTML>\n<HEAD>\n</HEAD>\n<BODY>\n"
           "<UL>\n" +
           body + "</UL>\n</BODY>\n</HTML>\n";
}

void writeProject(const fs::path& out, const std::vector<Topic>& topics) {
    std::string files, contents, index;
    for (const Topic& t : topics) {
        files += t.file + "\n";
        contents += sitemapEntry(t.title, t.file);
    }
    // The index: every topic, every data file and every template by name.
    std::map<std::string, std::string> keywords;
    for (const Topic& t : topics) keywords[t.title] = t.file;
    for (const DiagramDataFile& f : diagramDataFiles())
        keywords[std::string(f.fileName)] = "data-files.html#" + std::string(f.fileName);
    for (const DiagramEntry& e : diagramCatalogue())
        keywords[std::string(e.templateFile)] =
            "diagrams.html#submenu" + std::to_string(e.submenu + 1);
    for (const auto& [name, local] : keywords) index += sitemapEntry(name, local);
    files += "style.css\n";
    writeText(out / "qarvelion.hhp",
              "[OPTIONS]\n"
              "Compatibility=1.1 or later\n"
              "Compiled file=qarvelion.chm\n"
              "Contents file=contents.hhc\n"
              "Index file=index.hhk\n"
              "Default topic=index.html\n"
              "Display compile progress=No\n"
              "Full-text search=Yes\n"
              "Language=0x409 English (United States)\n"
              "Title=Qarvelion Help\n"
              "\n[FILES]\n" +
                  files);
    writeText(out / "contents.hhc", sitemap(contents));
    writeText(out / "index.hhk", sitemap(index));
}

std::string fill(std::string page, const std::string& marker, const std::string& content) {
    const std::string tag = "<!-- " + marker + " -->";
    for (size_t at; (at = page.find(tag)) != std::string::npos;)
        page.replace(at, tag.size(), content);
    return page;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qarvelion-make-help-pages SOURCE_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    try {
        const fs::path source = argv[1];
        const fs::path out = argv[2];
        fs::create_directories(out);
        const std::vector<Topic> topics = readTopics(source / "topics.tsv");
        const std::pair<const char*, std::string> markers[] = {
            {"contents", contentsList(topics)}, {"columns", columnsTable()},
            {"diagrams", diagramsTable()},      {"references", referencesList()},
            {"data-files", dataFilesTable()},   {"oxides", oxidesTable()},
            {"elements", elementsTable()},      {"input-columns", inputColumnsTable()},
        };
        for (const Topic& t : topics) {
            std::string page = readText(source / t.file);
            for (const auto& [marker, content] : markers) page = fill(page, marker, content);
            writeText(out / t.file, page);
        }
        fs::copy_file(source / "style.css", out / "style.css",
                      fs::copy_options::overwrite_existing);
        writeProject(out, topics);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qarvelion-make-help-pages: %s\n", e.what());
        return 1;
    }
    return 0;
}
