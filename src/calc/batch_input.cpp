#include "calc/batch_input.h"

#include <algorithm>
#include <initializer_list>
#include <optional>

#include "calc/read_number.h"

namespace qarv {
namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lower(c);
    return out;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Units that mean weight percent, as they stand after lower-casing and
// removing blanks.
constexpr std::array<std::string_view, 8> kPercentUnits = {"wt%",   "wt.%",   "wt",    "%",
                                                           "wtpct", "wt.pct", "mass%", "weight%"};

bool isPercentUnit(std::string_view u) {
    return std::find(kPercentUnits.begin(), kPercentUnits.end(), u) != kPercentUnits.end();
}

// Titles of a total-iron column given as FeO, normalised.
constexpr std::array<std::string_view, 10> kFeOTotalTitles = {
    "feot",     "feo*",       "feo(t)", "feotot",    "feo(tot)",
    "feototal", "feo(total)", "feo*t",  "feo(tot.)", "feotot."};

// Sample-name titles, normalised, in order of preference.
constexpr std::array<std::string_view, 13> kSampleTitles = {
    "sample",    "sampleno", "sampleno.", "samplename", "sampleid", "samplenumber", "sample#",
    "samplenr.", "name",     "comment",   "comments",   "label",    "samplelabel"};

constexpr std::array<std::string_view, 3> kBlockTitles = {"block", "aniongroup", "spinelgroup"};

std::optional<int> oxideNamed(std::string_view key) {
    for (int i = 0; i < kOxideCount; ++i) {
        if (lowered(kOxides[i].name) == key) return i;
    }
    return std::nullopt;
}

std::optional<int> elementNamed(std::string_view key) {
    for (int i = 0; i < kThioElementCount; ++i) {
        if (lowered(kThioElements[i].symbol) == key) return i;
    }
    return std::nullopt;
}

std::optional<int> selenoIndexOf(int thioElement) {
    for (int i = 0; i < kSelenoElementCount; ++i) {
        if (kSelenoElements[i].symbol == kThioElements[thioElement].symbol) return i;
    }
    return std::nullopt;
}

template <std::size_t N>
int rankIn(const std::array<std::string_view, N>& list, std::string_view key) {
    for (std::size_t i = 0; i < N; ++i) {
        if (list[i] == key) return static_cast<int>(i);
    }
    return -1;
}

// Texts joined by appending (a literal in front of a temporary string
// makes GCC 12 warn falsely at -O3).
std::string joinedText(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view p : parts) out += p;
    return out;
}

std::string quoted(std::string_view title) {
    return joinedText({"\"", title, "\""});
}

std::string describeTarget(const ColumnTarget& t) {
    switch (t.kind) {
        case ColumnTarget::Kind::Oxide:
            return std::string(kOxides[t.index].name);
        case ColumnTarget::Kind::FeOTotal:
            return "FeO (total iron, where FeO and Fe2O3 are empty)";
        case ColumnTarget::Kind::Element:
            return std::string(kThioElements[t.index].symbol);
        case ColumnTarget::Kind::SampleName:
            return "sample name";
        case ColumnTarget::Kind::Block:
            return "block";
        default:
            return "";
    }
}

// Tab, CR and LF would split a results row or a data-file line: a sample
// name carries a blank in their place, as a workbook load does.
std::string cleanName(std::string name) {
    for (char& c : name) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return name;
}

bool isBlank(std::string_view s) {
    for (char c : s) {
        if (c != ' ' && c != '\t') return false;
    }
    return true;
}

// A value cell: its number by readNumber, noting text that is no number.
double readCell(const BatchRecord& record, std::size_t column, std::vector<CellNote>& notes) {
    const std::string_view raw = record.raw(column);
    if (raw.empty()) return 0;
    const NumberScan scan = scanNumber(raw);
    std::size_t end = raw.size();
    while (end > scan.length && raw[end - 1] == ' ') --end;
    if (scan.length == 0 || scan.length != end) {
        if (!isBlank(raw)) notes.push_back({CellNote::Kind::NotANumber, column});
    }
    return scan.value;
}

bool sheetRowInput(const BatchLayout& layout, const BatchRecord& record, RowInput& in,
                   std::vector<CellNote>& notes) {
    const int offset = layout.kind == BatchLayoutKind::SheetWithRowNumbers ? 0 : 1;
    bool any = false;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const int column = static_cast<int>(i) + offset;
        if (column >= 1 && column <= kLastDataColumn && !isBlank(record.raw(i))) any = true;
    }
    if (!any) return false;
    const auto fieldOf = [&](int column) -> std::size_t { return column - offset; };
    const auto name = [&](int column) {
        const std::size_t f = fieldOf(column);
        return f < record.size() ? cleanName(record.text(f)) : std::string();
    };
    const auto value = [&](int column) {
        const std::size_t f = fieldOf(column);
        return f < record.size() ? readCell(record, f, notes) : 0.0;
    };
    in = RowInput{};
    in.oxySampleName = name(kOxySampleColumn);
    for (int i = 0; i < kOxyValueCount; ++i) in.oxides[i] = value(kOxyFirstValueColumn + i);
    in.thio.sampleName = name(kThioSampleColumn);
    for (int i = 0; i < kThioValueCount; ++i) in.thio.wt[i] = value(kThioFirstValueColumn + i);
    in.seleno.sampleName = name(kSelenoSampleColumn);
    for (int i = 0; i < kSelenoValueCount; ++i) {
        in.seleno.wt[i] = value(kSelenoFirstValueColumn + i);
    }
    return true;
}

bool namedRowInput(const BatchLayout& layout, const BatchRecord& record,
                   std::string_view defaultName, RowInput& in, std::vector<CellNote>& notes) {
    bool any = false;
    for (std::size_t i = 0; i < record.size() && !any; ++i) {
        if (i < layout.columns.size() && layout.columns[i].kind != ColumnTarget::Kind::Ignored &&
            !isBlank(record.raw(i))) {
            any = true;
        }
    }
    if (!any) return false;

    OxideValues oxides{};
    std::array<double, kThioElementCount> elements{};
    std::array<bool, kOxideCount> oxideGiven{};
    std::string name(defaultName);
    RowBlock named = RowBlock::None;
    std::optional<std::size_t> feOTotalColumn;
    const std::size_t firstNote = notes.size();
    const std::size_t n = std::min(record.size(), layout.columns.size());
    for (std::size_t i = 0; i < n; ++i) {
        const ColumnTarget& t = layout.columns[i];
        switch (t.kind) {
            case ColumnTarget::Kind::Oxide:
                oxides[t.index] = readCell(record, i, notes);
                oxideGiven[t.index] = !isBlank(record.raw(i));
                break;
            case ColumnTarget::Kind::FeOTotal:
                feOTotalColumn = i;
                break;
            case ColumnTarget::Kind::Element:
                elements[t.index] = readCell(record, i, notes);
                break;
            case ColumnTarget::Kind::SampleName:
                name = cleanName(record.text(i));
                break;
            case ColumnTarget::Kind::Block:
                named = blockNamed(trimmed(record.text(i)));
                if (named == RowBlock::None && !isBlank(record.raw(i))) {
                    notes.push_back({CellNote::Kind::UnknownBlock, i});
                }
                break;
            default:
                break;
        }
    }
    // Total iron stands in for FeO where neither FeO nor Fe2O3 is given.
    if (feOTotalColumn && !oxideGiven[FeO] && !oxideGiven[Fe2O3]) {
        oxides[FeO] = readCell(record, *feOTotalColumn, notes);
    } else if (feOTotalColumn) {
        // Checked all the same, so a bad cell is never passed over in silence.
        std::vector<CellNote> ignored;
        readCell(record, *feOTotalColumn, ignored);
    }

    const bool anyOxide =
        std::any_of(oxides.begin(), oxides.end(), [](double v) { return v != 0; });
    const RowBlock block = blockOfRow(anyOxide, elements[tS], elements[tSe], named);

    in = RowInput{};
    const auto leftOut = [&](std::size_t i) {
        // A value note already stands for this cell when it is no number.
        for (std::size_t k = firstNote; k < notes.size(); ++k) {
            if (notes[k].column == i) return;
        }
        notes.push_back({CellNote::Kind::LeftOut, i});
    };
    for (std::size_t i = 0; i < n; ++i) {
        const ColumnTarget& t = layout.columns[i];
        const bool oxideColumn =
            t.kind == ColumnTarget::Kind::Oxide || t.kind == ColumnTarget::Kind::FeOTotal;
        if (oxideColumn && block != RowBlock::Oxyspinel && block != RowBlock::None &&
            readNumber(record.raw(i)) != 0) {
            leftOut(i);
        }
        if (t.kind == ColumnTarget::Kind::Element && elements[t.index] != 0) {
            const bool used = block == RowBlock::Thiospinel ||
                              (block == RowBlock::Selenospinel && selenoIndexOf(t.index));
            if (!used) leftOut(i);
        }
    }

    switch (block) {
        case RowBlock::Oxyspinel:
            in.oxySampleName = std::move(name);
            in.oxides = oxides;
            break;
        case RowBlock::Thiospinel:
            in.thio.sampleName = std::move(name);
            in.thio.wt = elements;
            break;
        case RowBlock::Selenospinel:
            in.seleno.sampleName = std::move(name);
            for (int e = 0; e < kThioElementCount; ++e) {
                if (const auto s = selenoIndexOf(e)) in.seleno.wt[*s] = elements[e];
            }
            break;
        case RowBlock::None:
            in.oxySampleName = std::move(name);
            break;
    }
    return true;
}

}  // namespace

std::string normalisedTitle(std::string_view title, std::string* unit) {
    std::string key;
    for (char c : trimmed(title)) {
        if (c == ' ' || c == '_' || c == '\t') continue;
        key.push_back(lower(c));
    }
    // A bracketed unit at the end: "sio2(wt%)", "cr2o3[wt.%]".
    if (!key.empty() && (key.back() == ')' || key.back() == ']')) {
        const char open = key.back() == ')' ? '(' : '[';
        const std::size_t at = key.rfind(open);
        if (at != std::string::npos && at > 0) {
            const std::string inner = key.substr(at + 1, key.size() - at - 2);
            if (isPercentUnit(inner)) {
                key.erase(at);
            } else if (inner == "ppm" || inner == "ppb" || inner == "mol%" || inner == "apfu" ||
                       inner == "at%" || inner == "at.%" || inner == "cps" || inner == "ppmw") {
                if (unit != nullptr) *unit = inner;
                key.erase(at);
            }
        }
    }
    // A unit written after the name: "sio2wt%", "sio2%".
    for (std::string_view suffix : {"wt.%", "wt%", "%"}) {
        if (key.size() > suffix.size() && key.ends_with(suffix)) {
            key.erase(key.size() - suffix.size());
            break;
        }
    }
    return key;
}

RowBlock blockNamed(std::string_view word) {
    const std::string w = lowered(word);
    if (w == "oxyspinel" || w == "oxide" || w == "oxides" || w == "oxyspinel group") {
        return RowBlock::Oxyspinel;
    }
    if (w == "thiospinel" || w == "sulfide" || w == "sulphide" || w == "sulfides" ||
        w == "thiospinel group") {
        return RowBlock::Thiospinel;
    }
    if (w == "selenospinel" || w == "selenide" || w == "selenides" || w == "selenospinel group") {
        return RowBlock::Selenospinel;
    }
    return RowBlock::None;
}

RowBlock blockOfRow(bool anyOxide, double sulfur, double selenium, RowBlock named) {
    if (named != RowBlock::None) return named;
    if (anyOxide) return RowBlock::Oxyspinel;
    if (sulfur != 0) return RowBlock::Thiospinel;
    if (selenium != 0) return RowBlock::Selenospinel;
    return RowBlock::None;
}

BatchLayout analysisFileLayout() {
    BatchLayout layout;
    layout.kind = BatchLayoutKind::AnalysisFileRows;
    layout.hasSampleColumn = true;
    return layout;
}

BatchLayout detectLayout(const std::vector<std::string>& header, std::string& error) {
    BatchLayout layout;
    layout.titles = header;
    const auto& sheet = sheetColumns();
    const std::string first = header.empty() ? std::string() : lowered(trimmed(header[0]));
    const bool withRowNumbers = first == lowered(sheet[0].header);
    if (withRowNumbers || first == lowered(sheet[kOxySampleColumn].header)) {
        layout.kind =
            withRowNumbers ? BatchLayoutKind::SheetWithRowNumbers : BatchLayoutKind::SheetColumns;
        layout.hasSampleColumn = true;
        const int offset = withRowNumbers ? 0 : 1;
        for (std::size_t i = 0; i < header.size(); ++i) {
            const int column = static_cast<int>(i) + offset;
            ColumnTarget t;
            if (column >= 1 && column <= kLastDataColumn) {
                t = {ColumnTarget::Kind::SheetColumn, column};
                const std::string_view want = sheet[column].header;
                if (!want.empty() && lowered(trimmed(header[i])) != lowered(want)) {
                    layout.warnings.push_back(joinedText(
                        {"column ", std::to_string(i + 1), " is titled ", quoted(header[i]),
                         " where the sheet has ", quoted(want), "; it is read as ", quoted(want)}));
                }
            } else if (column > kLastDataColumn && !isBlank(header[i])) {
                layout.ignored.push_back(quoted(header[i]) + " (beyond the sheet's 60 columns)");
            }
            layout.columns.push_back(t);
        }
        return layout;
    }

    layout.kind = BatchLayoutKind::HeaderNamed;
    layout.columns.resize(header.size());
    std::array<bool, kOxideCount> oxideTaken{};
    std::array<bool, kThioElementCount> elementTaken{};
    bool feOTotalTaken = false;
    bool blockTaken = false;
    int sampleRank = -1;
    std::size_t sampleColumn = 0;
    std::vector<std::string> why(header.size());
    for (std::size_t i = 0; i < header.size(); ++i) {
        std::string unit;
        const std::string key = normalisedTitle(header[i], &unit);
        ColumnTarget& t = layout.columns[i];
        if (const auto oxide = oxideNamed(key)) {
            t = {ColumnTarget::Kind::Oxide, *oxide};
            if (oxideTaken[*oxide]) why[i] = joinedText({"a second ", kOxides[*oxide].name});
            oxideTaken[*oxide] = true;
        } else if (rankIn(kFeOTotalTitles, key) >= 0) {
            t = {ColumnTarget::Kind::FeOTotal, FeO};
            if (feOTotalTaken) why[i] = "a second total-iron column";
            feOTotalTaken = true;
        } else if (const auto element = elementNamed(key)) {
            t = {ColumnTarget::Kind::Element, *element};
            if (elementTaken[*element]) {
                why[i] = joinedText({"a second ", kThioElements[*element].symbol});
            }
            elementTaken[*element] = true;
        } else if (const int rank = rankIn(kSampleTitles, key); rank >= 0 && unit.empty()) {
            if (sampleRank < 0 || rank < sampleRank) {
                if (sampleRank >= 0) {
                    layout.columns[sampleColumn] = {};
                    why[sampleColumn] =
                        joinedText({"the sample name is taken from ", quoted(header[i])});
                }
                sampleRank = rank;
                sampleColumn = i;
                t = {ColumnTarget::Kind::SampleName, 0};
            } else {
                why[i] =
                    joinedText({"the sample name is taken from ", quoted(header[sampleColumn])});
            }
        } else if (rankIn(kBlockTitles, key) >= 0 && unit.empty()) {
            t = {ColumnTarget::Kind::Block, 0};
            if (blockTaken) why[i] = "a second block column";
            blockTaken = true;
        }
        if (!unit.empty() && t.kind != ColumnTarget::Kind::Ignored &&
            t.kind != ColumnTarget::Kind::SampleName) {
            why[i] = joinedText({"in ", unit, ", not wt%"});
        }
        if (!why[i].empty()) t = {};
    }
    bool anyValue = false;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const ColumnTarget& t = layout.columns[i];
        if (t.kind == ColumnTarget::Kind::Ignored) {
            std::string title = header[i].empty()
                                    ? joinedText({"column ", std::to_string(i + 1), " (untitled)"})
                                    : quoted(header[i]);
            if (!why[i].empty()) title += joinedText({" (", why[i], ")"});
            layout.ignored.push_back(std::move(title));
            continue;
        }
        anyValue = anyValue || t.kind == ColumnTarget::Kind::Oxide ||
                   t.kind == ColumnTarget::Kind::FeOTotal || t.kind == ColumnTarget::Kind::Element;
        layout.used.push_back(quoted(header[i]) + " as " + describeTarget(t));
        if (t.kind == ColumnTarget::Kind::SampleName) layout.hasSampleColumn = true;
    }
    if (!anyValue) {
        error =
            "no column is titled by an oxide (\"SiO2\", \"Al2O3\" ...) or an element (\"Cu\", "
            "\"S\" ...), and the header is not the analysis sheet's";
        layout.used.clear();
    }
    return layout;
}

bool buildRowInput(const BatchLayout& layout, const BatchRecord& record,
                   std::string_view defaultName, RowInput& in, std::vector<CellNote>& notes) {
    switch (layout.kind) {
        case BatchLayoutKind::HeaderNamed:
            return namedRowInput(layout, record, defaultName, in, notes);
        default:
            return sheetRowInput(layout, record, in, notes);
    }
}

}  // namespace qarv
