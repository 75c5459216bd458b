#include "diagrams/diagram_template.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>
#include <system_error>

#include "diagrams/bounded_file.h"
#include "diagrams/diagram_data_files.h"

namespace qarv {
namespace {

// ---------------------------------------------------------------------------
// What each template plots, keyed by template name. Binary diagrams put the
// first quantity their caption names on the x axis and the second on the y
// axis; triangles put the first component the caption names at the top
// apex, the second at the lower left and the third at the lower right. Both
// follow the column order of the data files, so column numbers are those of
// the data file's header line.

struct AxisFacts {
    int column;
    std::string_view title;
    AxisScale scale;
    double min;
    double max;
};

struct ApexFacts {
    int column;
    std::string_view label;
};

struct PlotFacts {
    std::string_view templateFile;
    PlotKind kind;
    AxisFacts x{};
    AxisFacts y{};
    std::array<ApexFacts, 3> first{};   // top, left, right
    std::array<ApexFacts, 3> second{};  // the second triangle of a pair
    std::string_view firstTitle{};
    std::string_view secondTitle{};
};

constexpr auto kLin = AxisScale::Linear;
constexpr auto kLog = AxisScale::Log;

constexpr PlotFacts binary(std::string_view file, AxisFacts x, AxisFacts y) {
    return {file, PlotKind::Binary, x, y, {}, {}, {}, {}};
}
constexpr PlotFacts ternary(std::string_view file, std::string_view top, std::string_view left,
                            std::string_view right) {
    return {file, PlotKind::Ternary, {}, {}, {{{1, top}, {2, left}, {3, right}}}, {}, {}, {}};
}

// Axes shared by several diagrams.
constexpr AxisFacts kXMgNumber{1, "Mg/(Mg+Fe²⁺)", kLin, 0, 1};
constexpr AxisFacts kXFe2Number{1, "Fe²⁺/(Fe²⁺+Mg)", kLin, 0, 1};
constexpr AxisFacts kYCrNumber{2, "Cr/(Cr+Al)", kLin, 0, 1};
constexpr AxisFacts kYFe3Number{2, "Fe³⁺/(Fe³⁺+Cr+Al)", kLin, 0, 1};
constexpr AxisFacts kXMg100{1, "100Mg/(Mg+Fe²⁺)", kLin, 0, 100};
constexpr AxisFacts kYCr100{2, "100Cr/(Cr+Al)", kLin, 0, 100};
constexpr AxisFacts kXAl2O3{1, "Al₂O₃ (wt%)", kLin, 0, 70};
constexpr AxisFacts kYTiO2Log{2, "TiO₂ (wt%)", kLog, 0.01, 10};
constexpr AxisFacts kXCrNumber{1, "Cr/(Cr+Al)", kLin, 0, 1};
constexpr AxisFacts kXFe3Number{1, "Fe³⁺/(Fe³⁺+Cr+Al)", kLin, 0, 1};

// clang-format off
constexpr PlotFacts kPlotFacts[] = {
    // Classification Diagrams (Oxyspinel Group)  [1]
    ternary("Fe3CrAl_3.grf", "Fe³⁺", "Cr", "Al"),
    ternary("Fe3CrAl_2.grf", "Fe³⁺", "Cr", "Al"),
    ternary("CrAlFe3.grf", "Cr", "Al", "Fe³⁺"),
    binary("MgFe2CrAl.grf", kXMgNumber, kYCrNumber),
    binary("Fe2MgFe3Al.grf", kXFe2Number, {2, "Fe³⁺/(Fe³⁺+Al)", kLin, 0, 1}),
    binary("Fe3CuZn.grf", {1, "Fe³⁺ (apfu)", kLin, 0, 2}, {2, "Cu+Zn (apfu)", kLin, 0, 1}),
    ternary("VCrFe3.grf", "V", "Cr", "Fe³⁺"),
    ternary("ZnFe2MnMg.grf", "Zn", "Fe²⁺+Mn", "Mg"),
    ternary("Fe2CuMg.grf", "Fe²⁺", "Cu", "Mg"),
    ternary("CuZnMn.grf", "Cu", "Zn", "Mn"),
    ternary("MnMgCu.grf", "Mn", "Mg", "Cu"),
    ternary("MgMnV2.grf", "Mg", "Mn", "V²⁺"),
    ternary("Fe2CoMg.grf", "Fe²⁺", "Co", "Mg"),
    ternary("CoZnMn.grf", "Co", "Zn", "Mn"),
    ternary("MnMgCo.grf", "Mn", "Mg", "Co"),
    ternary("MgMnNi.grf", "Mg", "Mn", "Ni"),
    ternary("Fe2CuMg1.grf", "Fe²⁺", "Cu", "Mg"),
    ternary("CuZnMn1.grf", "Cu", "Zn", "Mn"),
    ternary("MnMgCu1.grf", "Mn", "Mg", "Cu"),
    ternary("MgMnNi1.grf", "Mg", "Mn", "Ni"),

    // Classification Diagrams (Oxyspinel Group)  [2]
    ternary("Fe2CoMn.grf", "Fe²⁺", "Co", "Mn"),
    ternary("ZnFeMn.grf", "Zn", "Fe²⁺", "Mn"),
    ternary("ZnMgFe1.grf", "Zn", "Mg", "Fe²⁺"),
    ternary("ZnMgFe2.grf", "Ghn", "Spl", "Hc"),
    ternary("ZnMgFe3.grf", "Ghn", "Spl", "Hc"),
    ternary("MgCuZn.grf", "Mg", "Cu", "Zn"),
    ternary("TiFeAl.grf", "Mn₂TiO₄", "MnFe₂O₄", "MnAl₂O₄"),
    binary("ZnMnFe3Al.grf", {1, "Zn/(Zn+Mn)", kLin, 0, 1}, {2, "Fe³⁺/(Fe³⁺+Al)", kLin, 0, 1}),
    ternary("FeVCr.grf", "Fe³⁺", "V³⁺", "Cr"),
    ternary("TiAlFe.grf", "(Fe,Mg)₂TiO₄", "(Fe,Mg)Al₂O₄", "(Fe,Mg)Fe₂O₄"),
    binary("Fe3AlFe2Mg.grf", {1, "Fe³⁺/(Fe³⁺+Al)", kLin, 0, 1}, {2, "Fe²⁺/(Fe²⁺+Mg)", kLin, 0, 1}),
    ternary("CrFeAl.grf", "Cr", "Fe³⁺", "Al"),
    ternary("MnFeAl.grf", "Mn³⁺", "Fe³⁺", "Al"),

    // Chromian Spinel Compositional Diagrams  [1]
    binary("MgMgFeCrCrAl_1.grf", kXMgNumber, kYCrNumber),
    binary("MgMgFeCrCrAl_2.grf", kXMgNumber, kYCrNumber),
    binary("MgMgFeCrCrAl_3.grf", kXMgNumber, kYCrNumber),
    binary("MgMgFeCrCrAl_4.grf", kXMgNumber, kYCrNumber),
    binary("MgMgFeCrCrAl_5.grf", kXMgNumber, kYCrNumber),
    binary("MgMgFeCrCrAl_6.grf", kXMgNumber, kYCrNumber),
    binary("MgMgFeCrCrAl_7.grf", kXMgNumber, kYCrNumber),
    binary("MgMgFeCrCrAl_8.grf", kXMgNumber, kYCrNumber),
    binary("MgFeCrAl100_1.grf", kXMg100, kYCr100),
    binary("MgFeCrAl100_2.grf", kXMg100, kYCr100),
    binary("FeFeMgCrCrAl_1.grf", kXFe2Number, kYCrNumber),
    binary("FeFeMgCrCrAl_2.grf", kXFe2Number, kYCrNumber),
    binary("MgFe2Fe3CrAl_1.grf", kXMgNumber, kYFe3Number),
    binary("MgFe2Fe3CrAl_2.grf", kXMgNumber, kYFe3Number),
    binary("Fe2MgFe3CrAl.grf", kXFe2Number, kYFe3Number),
    binary("MgMgFeCrCrAl100.grf", kXMg100, kYCr100),
    ternary("Fe3CrAl_1.grf", "Fe³⁺", "Cr", "Al"),
    ternary("Fe3CrAl_4.grf", "Fe³⁺", "Cr", "Al"),
    ternary("Fe3CrAl_5.grf", "Fe³⁺", "Cr", "Al"),
    ternary("Fe3CrAl_6.grf", "Fe³⁺", "Cr", "Al"),
    ternary("CrAlFe3Ti.grf", "Cr", "Al", "Fe³⁺+2Ti"),

    // Chromian Spinel Compositional Diagrams  [2]
    binary("Al2O3TiO2_1.grf", kXAl2O3, kYTiO2Log),
    binary("Al2O3TiO2_2.grf", kXAl2O3, kYTiO2Log),
    binary("Al2O3TiO2_3.grf", kXAl2O3, kYTiO2Log),
    binary("Al2O3TiO2_4.grf", kXAl2O3, kYTiO2Log),
    binary("Cr2O3Al2O3.grf", {1, "Cr₂O₃ (wt%)", kLin, 30, 70}, {2, "Al₂O₃ (wt%)", kLin, 0, 35}),
    binary("Cr2O3FeO.grf", {1, "Cr₂O₃ (wt%)", kLin, 20, 60}, {2, "FeOtotal (wt%)", kLin, 0, 60}),
    binary("CrCrAlTiO2_1.grf", kXCrNumber, {2, "TiO₂ (wt%)", kLin, 0, 5}),
    binary("CrCrAlTiO2_2.grf", kXCrNumber, {2, "TiO₂ (wt%)", kLin, 0, 5}),
    binary("Fe3CrAlTiO2_1.grf", kXFe3Number, {2, "TiO₂ (wt%)", kLin, 0, 6}),
    binary("Fe3CrAlTiO2_2.grf", kXFe3Number, {2, "TiO₂ (wt%)", kLin, 0, 6}),
    binary("CrCrAl100TiO2.grf", {1, "100Cr/(Cr+Al)", kLin, 30, 100}, {2, "TiO₂ (wt%)", kLin, 0, 1}),
    binary("Al2O3Fe2Fe3_1.grf", {1, "Al₂O₃ (wt%)", kLin, 0, 60}, {2, "Fe²⁺/Fe³⁺", kLog, 0.01, 100}),
    binary("TiO2Fe2Fe3.grf", {1, "TiO₂ (wt%)", kLin, 0, 5}, {2, "Fe²⁺/Fe³⁺", kLin, 0, 20}),

    // Classification Diagrams (Thiospinel Group)
    ternary("NiFe2Cots1.grf", "Ni", "Fe", "Co"),
    ternary("NiFe2Cots2.grf", "Ni", "Fe", "Co"),
    {"CuNiCoFets.grf", PlotKind::TernaryPair, {}, {},
     {{{1, "Cu"}, {2, "Ni"}, {3, "Co"}}}, {{{4, "Fe"}, {3, "Co"}, {2, "Ni"}}},
     "Cu - Ni - Co", "Fe - Co - Ni"},
    ternary("Fe2MnZnts.grf", "Fe", "Mn", "Zn"),
    ternary("Fe2NiCots.grf", "Fe", "Ni", "Co"),
    ternary("ZnCdFe2ts.grf", "Zn", "Cd", "Fe"),
    ternary("IrRhPtts.grf", "Ir", "Rh", "Pt"),
    binary("ZnFeAgCuts.grf", {1, "Zn/(Zn+Fe)", kLin, 0, 1}, {2, "Ag/(Ag+Cu)", kLin, 0, 1}),

    // Classification Diagrams (Selenospinel Group)
    ternary("CuCoNiss.grf", "Cu", "Co", "Ni"),
};
// clang-format on
static_assert(std::size(kPlotFacts) == 76);

const PlotFacts* findPlotFacts(std::string_view templateFile) {
    for (const PlotFacts& f : kPlotFacts)
        if (f.templateFile == templateFile) return &f;
    return nullptr;
}

const DiagramDataFile* findDataFile(std::string_view name) {
    for (const DiagramDataFile& f : diagramDataFiles())
        if (f.fileName == name) return &f;
    return nullptr;
}

bool plottedByCatalogue(std::string_view dataFile) {
    for (const DiagramEntry& e : diagramCatalogue())
        if (e.dataFile == dataFile) return true;
    return false;
}

// Data files with the same columns as this one that no template plots: the
// catalogue chose this one of the pair.
std::vector<std::string_view> unplottedTwins(const DiagramDataFile& file) {
    std::vector<std::string_view> twins;
    for (const DiagramDataFile& other : diagramDataFiles()) {
        if (other.fileName == file.fileName || other.titles != file.titles) continue;
        if (!plottedByCatalogue(other.fileName)) twins.push_back(other.fileName);
    }
    return twins;
}

TemplateAxis makeAxis(const AxisFacts& f) {
    return {f.column, std::string(f.title), f.scale, f.min, f.max};
}

TemplatePanel makeTernaryPanel(std::string_view title, const std::array<ApexFacts, 3>& apexes) {
    TemplatePanel panel;
    panel.title = std::string(title);
    panel.ternary = true;
    for (std::size_t i = 0; i < 3; ++i)
        panel.apexes[i] = {apexes[i].column, std::string(apexes[i].label)};
    return panel;
}

std::string collapseBlanks(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out.push_back(c);
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// Whether the text holds "(dddd" : a year in parentheses.
bool holdsYear(std::string_view text) {
    for (std::size_t i = 0; i + 5 <= text.size(); ++i) {
        if (text[i] != '(') continue;
        bool digits = true;
        for (std::size_t k = 1; k <= 4; ++k)
            digits = digits && text[i + k] >= '0' && text[i + k] <= '9';
        if (digits) return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Writing

std::string quotedText(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

std::string number(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

void writePoint(std::string& out, const FieldPoint& p, bool ternary) {
    out += ' ' + number(p.a) + ' ' + number(p.b);
    if (ternary) out += ' ' + number(p.c);
}

constexpr std::string_view kApexNames[3] = {"top", "left", "right"};

// ---------------------------------------------------------------------------
// Parsing

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits a line into bare words and quoted texts; false with a reason when a
// quote is not closed or an escape is unknown.
bool tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error) {
    tokens.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        Token t;
        if (c == '"') {
            t.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    t.text.push_back(d);
                    continue;
                }
                if (i >= line.size()) break;
                const char e = line[i++];
                switch (e) {
                    case '"':
                    case '\\':
                        t.text.push_back(e);
                        break;
                    case 'n':
                        t.text.push_back('\n');
                        break;
                    case 't':
                        t.text.push_back('\t');
                        break;
                    case 'r':
                        t.text.push_back('\r');
                        break;
                    default:
                        error = std::string("unknown escape \\") + e + " in a text";
                        return false;
                }
            }
            if (!closed) {
                error = "a text in double quotes is not closed";
                return false;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '"')
                t.text.push_back(line[i++]);
        }
        tokens.push_back(std::move(t));
    }
    return true;
}

bool parseNumber(const Token& t, double& v) {
    if (t.quoted || t.text.empty()) return false;
    const char* begin = t.text.data();
    const char* end = begin + t.text.size();
    const auto r = std::from_chars(begin, end, v);
    return r.ec == std::errc{} && r.ptr == end && std::isfinite(v);
}

bool parseInt(const Token& t, int& v) {
    if (t.quoted || t.text.empty()) return false;
    const char* begin = t.text.data();
    const char* end = begin + t.text.size();
    const auto r = std::from_chars(begin, end, v);
    return r.ec == std::errc{} && r.ptr == end;
}

class Parser {
  public:
    TemplateParseResult run(std::string_view text) {
        TemplateParseResult result;
        if (text.size() > kMaxTemplateBytes) {
            result.error = "larger than " + std::to_string(kMaxTemplateBytes) + " bytes";
            return result;
        }
        if (text.find('\0') != std::string_view::npos) {
            result.error = "not a text file (holds NUL bytes)";
            return result;
        }
        if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        std::size_t pos = 0;
        while (pos < text.size() && error_.empty()) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(pos, end - pos);
            pos = end + 1;
            ++lineNumber_;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (line.size() > kMaxTemplateLineBytes) {
                fail("longer than " + std::to_string(kMaxTemplateLineBytes) + " characters");
                break;
            }
            handleLine(line);
        }
        if (error_.empty()) finish();
        if (!error_.empty()) {
            result.error = error_;
            return result;
        }
        result.diagram = std::move(t_);
        return result;
    }

  private:
    void fail(const std::string& message) {
        if (error_.empty()) error_ = "line " + std::to_string(lineNumber_) + ": " + message;
    }
    void failAtEnd(const std::string& message) {
        if (error_.empty()) error_ = message;
    }

    void handleLine(std::string_view line) {
        std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#') return;
        std::vector<Token> tokens;
        std::string why;
        if (!tokenize(line, tokens, why)) return fail(why);
        if (ended_) return fail("text after the \"end\" line");
        const Token& key = tokens[0];
        if (key.quoted) return fail("a line must begin with a keyword");
        const std::string& k = key.text;
        if (!sawMagic_) {
            if (k != kTemplateMagic) {
                return fail("not a Qarvelion diagram template (it must begin with \"" +
                            std::string(kTemplateMagic) + " " +
                            std::to_string(kTemplateFormatVersion) + "\")");
            }
            int version = 0;
            if (tokens.size() != 2 || !parseInt(tokens[1], version) || version < 1)
                return fail("the format version must be a whole number");
            if (version > kTemplateFormatVersion) {
                return fail("made for a newer grapher (format " + std::to_string(version) +
                            "; this one reads format " + std::to_string(kTemplateFormatVersion) +
                            ")");
            }
            sawMagic_ = true;
            return;
        }
        if (k == "template") return text(tokens, t_.templateFile, sawTemplate_);
        if (k == "caption") return text(tokens, t_.caption, sawCaption_);
        if (k == "title") return text(tokens, t_.title, sawTitle_);
        if (k == "source") return text(tokens, t_.source, sawSource_);
        if (k == "data") return text(tokens, t_.dataFile, sawData_);
        if (k == "field-source") return text(tokens, t_.fieldSource, sawFieldSource_);
        if (k == "note") {
            bool unused = false;
            std::string note;
            text(tokens, note, unused);
            if (t_.notes.size() >= 100) return fail("too many notes");
            t_.notes.push_back(std::move(note));
            return;
        }
        if (k == "kind") return kind(tokens);
        if (k == "columns") return columns(tokens);
        if (k == "panel") return panel(tokens);
        if (k == "x" || k == "y") return axis(tokens, k == "x");
        if (k == "apex") return apex(tokens);
        if (k == "field") return field(tokens);
        if (k == "end") {
            if (tokens.size() != 1) return fail("\"end\" takes nothing after it");
            ended_ = true;
            return;
        }
        fail("unknown keyword \"" + k + "\"");
    }

    void text(const std::vector<Token>& tokens, std::string& into, bool& seen) {
        if (seen) return fail("\"" + tokens[0].text + "\" given twice");
        if (tokens.size() != 2 || !tokens[1].quoted)
            return fail("\"" + tokens[0].text + "\" takes one text in double quotes");
        into = tokens[1].text;
        seen = true;
    }

    void kind(const std::vector<Token>& tokens) {
        if (sawKind_) return fail("\"kind\" given twice");
        if (tokens.size() != 2) return fail("\"kind\" takes binary, ternary or ternary-pair");
        const std::string& v = tokens[1].text;
        if (v == plotKindName(PlotKind::Binary)) {
            t_.kind = PlotKind::Binary;
        } else if (v == plotKindName(PlotKind::Ternary)) {
            t_.kind = PlotKind::Ternary;
        } else if (v == plotKindName(PlotKind::TernaryPair)) {
            t_.kind = PlotKind::TernaryPair;
        } else {
            return fail("unknown kind \"" + v + "\" (binary, ternary or ternary-pair)");
        }
        sawKind_ = true;
    }

    void columns(const std::vector<Token>& tokens) {
        if (sawColumns_) return fail("\"columns\" given twice");
        if (tokens.size() < 2 || tokens.size() > 17)
            return fail("\"columns\" takes 1 to 16 texts: the data file's column titles");
        for (std::size_t i = 1; i < tokens.size(); ++i) {
            if (!tokens[i].quoted) return fail("column titles must be in double quotes");
            t_.dataColumns.push_back(tokens[i].text);
        }
        sawColumns_ = true;
    }

    void panel(const std::vector<Token>& tokens) {
        if (t_.panels.size() >= 2) return fail("more than two panels");
        if (tokens.size() != 3 || tokens[2].quoted == false ||
            (tokens[1].text != "binary" && tokens[1].text != "ternary")) {
            return fail("\"panel\" takes binary or ternary and a title in double quotes");
        }
        TemplatePanel& p = t_.panels.emplace_back();
        p.ternary = tokens[1].text == "ternary";
        p.title = tokens[2].text;
        p.x.column = p.y.column = 0;
        apexSeen_ = {false, false, false};
        xSeen_ = ySeen_ = false;
    }

    TemplatePanel* currentPanel(const std::string& keyword) {
        if (t_.panels.empty()) {
            fail("\"" + keyword + "\" before the first \"panel\" line");
            return nullptr;
        }
        return &t_.panels.back();
    }

    void axis(const std::vector<Token>& tokens, bool isX) {
        TemplatePanel* p = currentPanel(tokens[0].text);
        if (p == nullptr) return;
        if (p->ternary) return fail("a ternary panel has apexes, not axes");
        bool& seen = isX ? xSeen_ : ySeen_;
        if (seen) return fail("the " + tokens[0].text + " axis is given twice");
        TemplateAxis a;
        if (tokens.size() != 6 || !parseInt(tokens[1], a.column) ||
            !parseNumber(tokens[3], a.min) || !parseNumber(tokens[4], a.max) || !tokens[5].quoted) {
            return fail("\"" + tokens[0].text +
                        "\" takes a column number, linear or log, the range and a title");
        }
        if (tokens[2].text == "linear") {
            a.scale = AxisScale::Linear;
        } else if (tokens[2].text == "log") {
            a.scale = AxisScale::Log;
        } else {
            return fail("unknown scale \"" + tokens[2].text + "\" (linear or log)");
        }
        if (!(a.min < a.max))
            return fail("the axis range must run from a smaller to a larger number");
        if (a.scale == AxisScale::Log && !(a.min > 0)) return fail("a log axis must start above 0");
        a.title = tokens[5].text;
        (isX ? p->x : p->y) = a;
        seen = true;
    }

    void apex(const std::vector<Token>& tokens) {
        TemplatePanel* p = currentPanel("apex");
        if (p == nullptr) return;
        if (!p->ternary) return fail("a binary panel has axes, not apexes");
        int column = 0;
        if (tokens.size() != 4 || !parseInt(tokens[2], column) || !tokens[3].quoted)
            return fail("\"apex\" takes top, left or right, a column number and a label");
        int index = -1;
        for (int i = 0; i < 3; ++i)
            if (tokens[1].text == kApexNames[i]) index = i;
        if (index < 0) return fail("unknown apex \"" + tokens[1].text + "\" (top, left or right)");
        if (apexSeen_[index]) return fail("the " + tokens[1].text + " apex is given twice");
        p->apexes[index] = {column, tokens[3].text};
        apexSeen_[index] = true;
    }

    void field(const std::vector<Token>& tokens) {
        TemplatePanel* p = currentPanel("field");
        if (p == nullptr) return;
        if (p->fields.size() >= kMaxFieldsPerPanel)
            return fail("more than " + std::to_string(kMaxFieldsPerPanel) + " fields in a panel");
        const std::size_t dims = p->ternary ? 3 : 2;
        // field "label" at A B [C] points A B [C] A B [C] ...
        const std::string usage =
            "\"field\" takes a label, \"at\" and the label's position, "
            "\"points\" and at least two points";
        if (tokens.size() < 3 || !tokens[1].quoted || tokens[2].text != "at") return fail(usage);
        const std::size_t pointsAt = 3 + dims;
        if (tokens.size() < pointsAt + 1 || tokens[pointsAt].text != "points") return fail(usage);
        const std::size_t numbers = tokens.size() - pointsAt - 1;
        if (numbers % dims != 0 || numbers / dims < 2) return fail(usage);
        if (numbers / dims > kMaxPointsPerField)
            return fail("more than " + std::to_string(kMaxPointsPerField) + " points in a field");
        FieldBoundary f;
        f.label = tokens[1].text;
        auto readPoint = [&](std::size_t at, FieldPoint& point) {
            double v[3] = {0, 0, 0};
            for (std::size_t d = 0; d < dims; ++d)
                if (!parseNumber(tokens[at + d], v[d])) return false;
            point = {v[0], v[1], v[2]};
            return true;
        };
        if (!readPoint(3, f.labelAt)) return fail("the label's position must be numbers");
        for (std::size_t at = pointsAt + 1; at < tokens.size(); at += dims) {
            FieldPoint point;
            if (!readPoint(at, point)) return fail("a field's points must be numbers");
            f.points.push_back(point);
        }
        p->fields.push_back(std::move(f));
    }

    void finish() {
        if (!sawMagic_) return failAtEnd("empty: not a Qarvelion diagram template");
        if (!ended_) return failAtEnd("truncated: the \"end\" line is missing");
        if (!sawTemplate_) return failAtEnd("the \"template\" line is missing");
        if (!sawCaption_) return failAtEnd("the \"caption\" line is missing");
        if (!sawKind_) return failAtEnd("the \"kind\" line is missing");
        if (!sawData_ || t_.dataFile.empty()) return failAtEnd("the \"data\" line is missing");
        if (t_.dataFile.find_first_of("/\\") != std::string::npos)
            return failAtEnd("the data file must be a bare file name");
        if (!sawColumns_) return failAtEnd("the \"columns\" line is missing");
        const std::size_t wanted = t_.kind == PlotKind::TernaryPair ? 2 : 1;
        if (t_.panels.size() != wanted) {
            return failAtEnd("a " + std::string(plotKindName(t_.kind)) + " diagram has " +
                             std::to_string(wanted) + (wanted == 1 ? " panel" : " panels"));
        }
        const int columnCount = static_cast<int>(t_.dataColumns.size());
        auto columnOk = [&](int c) { return c >= 1 && c <= columnCount; };
        bool anyField = false;
        for (const TemplatePanel& p : t_.panels) {
            if (p.ternary != (t_.kind != PlotKind::Binary))
                return failAtEnd("the panels do not match the kind of diagram");
            if (p.ternary) {
                for (const TemplateApex& a : p.apexes) {
                    if (!columnOk(a.column))
                        return failAtEnd(
                            "a triangle needs top, left and right apexes on data "
                            "columns 1 to " +
                            std::to_string(columnCount));
                }
            } else if (!columnOk(p.x.column) || !columnOk(p.y.column)) {
                return failAtEnd("a binary diagram needs x and y axes on data columns 1 to " +
                                 std::to_string(columnCount));
            }
            anyField = anyField || !p.fields.empty();
        }
        if (anyField && t_.fieldSource.empty())
            return failAtEnd("field boundaries need a \"field-source\" line naming their source");
    }

    DiagramTemplate t_;
    int lineNumber_ = 0;
    std::string error_;
    bool sawMagic_ = false, sawTemplate_ = false, sawCaption_ = false, sawTitle_ = false,
         sawSource_ = false, sawData_ = false, sawFieldSource_ = false, sawKind_ = false,
         sawColumns_ = false, ended_ = false;
    std::array<bool, 3> apexSeen_{};
    bool xSeen_ = false, ySeen_ = false;
};

}  // namespace

std::string_view plotKindName(PlotKind kind) {
    switch (kind) {
        case PlotKind::Binary:
            return "binary";
        case PlotKind::Ternary:
            return "ternary";
        case PlotKind::TernaryPair:
            return "ternary-pair";
    }
    return "binary";
}

std::string_view axisScaleName(AxisScale scale) {
    return scale == AxisScale::Log ? "log" : "linear";
}

CaptionParts splitCaption(std::string_view caption) {
    CaptionParts parts;
    std::string_view rest = caption;
    const std::size_t lead = rest.find_first_not_of(' ');
    if (lead != std::string_view::npos && rest[lead] == '[') {
        const std::size_t close = rest.find(']', lead);
        if (close != std::string_view::npos) {
            parts.number = std::string(rest.substr(lead, close - lead + 1));
            rest.remove_prefix(close + 1);
        }
    }
    std::string title;
    std::size_t i = 0;
    while (i < rest.size()) {
        if (rest[i] == '[' && parts.source.empty()) {
            // The bracket closes at its own level: "[... (1994; see ...)]".
            int depth = 0;
            std::size_t j = i;
            for (; j < rest.size(); ++j) {
                if (rest[j] == '[') ++depth;
                if (rest[j] == ']' && --depth == 0) break;
            }
            if (j < rest.size()) {
                const std::string_view inside = rest.substr(i + 1, j - i - 1);
                if (holdsYear(inside)) {
                    parts.source = std::string(inside);
                    i = j + 1;
                    continue;
                }
            }
        }
        title.push_back(rest[i]);
        ++i;
    }
    parts.title = collapseBlanks(title);
    const std::size_t start = parts.title.find_first_not_of(' ');
    parts.title = start == std::string::npos ? std::string() : parts.title.substr(start);
    return parts;
}

DiagramTemplate templateForEntry(const DiagramEntry& entry) {
    DiagramTemplate t;
    t.templateFile = std::string(entry.templateFile);
    t.caption = std::string(entry.caption);
    const CaptionParts parts = splitCaption(entry.caption);
    t.title = parts.title;
    t.source = parts.source;
    t.dataFile = std::string(entry.dataFile);
    if (const DiagramDataFile* data = findDataFile(entry.dataFile)) {
        for (std::string_view title : data->titles) t.dataColumns.emplace_back(title);
        for (std::string_view twin : unplottedTwins(*data)) {
            t.notes.push_back("Two data files of the run have these columns, " +
                              std::string(entry.dataFile) + " and " + std::string(twin) +
                              " (other species or ranges); this diagram plots " +
                              std::string(entry.dataFile) + ".");
        }
    }
    const PlotFacts* facts = findPlotFacts(entry.templateFile);
    if (facts == nullptr) return t;
    t.kind = facts->kind;
    switch (facts->kind) {
        case PlotKind::Binary: {
            TemplatePanel panel;
            panel.x = makeAxis(facts->x);
            panel.y = makeAxis(facts->y);
            t.panels.push_back(std::move(panel));
            break;
        }
        case PlotKind::Ternary:
            t.panels.push_back(makeTernaryPanel("", facts->first));
            break;
        case PlotKind::TernaryPair:
            t.panels.push_back(makeTernaryPanel(facts->firstTitle, facts->first));
            t.panels.push_back(makeTernaryPanel(facts->secondTitle, facts->second));
            break;
    }
    return t;
}

std::vector<std::string> plotFactsMismatches() {
    std::vector<std::string> mismatches;
    for (const DiagramEntry& e : diagramCatalogue())
        if (findPlotFacts(e.templateFile) == nullptr)
            mismatches.push_back(std::string(e.templateFile) + ": no plotting facts");
    for (const PlotFacts& f : kPlotFacts) {
        const bool known =
            std::any_of(diagramCatalogue().begin(), diagramCatalogue().end(),
                        [&](const DiagramEntry& e) { return e.templateFile == f.templateFile; });
        if (!known) mismatches.push_back(std::string(f.templateFile) + ": not in the catalogue");
    }
    return mismatches;
}

std::string writeTemplate(const DiagramTemplate& t) {
    std::string out;
    out += "# Qarvelion diagram template, plotted by qarvelion-grapher.\n";
    out += "# Texts are in double quotes; numbers use the period as decimal character.\n";
    out +=
        "# Axes: x|y COLUMN linear|log FROM TO \"TITLE\"; apexes: apex top|left|right COLUMN "
        "\"LABEL\".\n";
    out += "# Columns are counted after \"SampleNo\" in the data file's header line.\n";
    out += std::string(kTemplateMagic) + " " + std::to_string(kTemplateFormatVersion) + "\n";
    out += "template " + quotedText(t.templateFile) + "\n";
    out += "caption " + quotedText(t.caption) + "\n";
    out += "title " + quotedText(t.title) + "\n";
    out += "source " + quotedText(t.source) + "\n";
    out += "kind " + std::string(plotKindName(t.kind)) + "\n";
    out += "data " + quotedText(t.dataFile) + "\n";
    out += "columns";
    for (const std::string& c : t.dataColumns) out += " " + quotedText(c);
    out += "\n";
    for (const std::string& note : t.notes) out += "note " + quotedText(note) + "\n";
    if (!t.fieldSource.empty()) out += "field-source " + quotedText(t.fieldSource) + "\n";
    for (const TemplatePanel& p : t.panels) {
        out += "panel " + std::string(p.ternary ? "ternary" : "binary") + " " +
               quotedText(p.title) + "\n";
        if (p.ternary) {
            for (std::size_t i = 0; i < 3; ++i) {
                out += "apex " + std::string(kApexNames[i]) + " " +
                       std::to_string(p.apexes[i].column) + " " + quotedText(p.apexes[i].label) +
                       "\n";
            }
        } else {
            for (const TemplateAxis* a : {&p.x, &p.y}) {
                out += std::string(a == &p.x ? "x " : "y ") + std::to_string(a->column) + " " +
                       std::string(axisScaleName(a->scale)) + " " + number(a->min) + " " +
                       number(a->max) + " " + quotedText(a->title) + "\n";
            }
        }
        for (const FieldBoundary& f : p.fields) {
            out += "field " + quotedText(f.label) + " at";
            writePoint(out, f.labelAt, p.ternary);
            out += " points";
            for (const FieldPoint& point : f.points) writePoint(out, point, p.ternary);
            out += "\n";
        }
    }
    out += "end\n";
    return out;
}

TemplateParseResult parseTemplate(std::string_view text) {
    TemplateParseResult result = Parser().run(text);
    if (!result.ok()) return result;
    // A text written back takes escapes where the file had raw characters,
    // so a template is accepted only when its written form reads again:
    // no line of it may pass the reader's limit.
    const std::string written = writeTemplate(result.diagram);
    std::size_t lineNumber = 0;
    for (std::size_t from = 0; from < written.size();) {
        const std::size_t end = std::min(written.find('\n', from), written.size());
        ++lineNumber;
        if (end - from > kMaxTemplateLineBytes) {
            result = TemplateParseResult{};
            result.error = "a text is too long: written again, line " +
                           std::to_string(lineNumber) + " would pass " +
                           std::to_string(kMaxTemplateLineBytes) + " characters";
            return result;
        }
        from = end + 1;
    }
    return result;
}

TemplateParseResult readTemplateFile(const std::filesystem::path& path) {
    std::string bytes;
    std::string error;
    if (!readBoundedFile(path, kMaxTemplateBytes, bytes, error)) {
        TemplateParseResult result;
        result.error = error;
        return result;
    }
    TemplateParseResult result = parseTemplate(bytes);
    if (!result.ok()) result.error = "'" + path.filename().string() + "': " + result.error;
    return result;
}

}  // namespace qarv
