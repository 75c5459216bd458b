#include "diagrams/diagram_data_reader.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "common/text_encoding.h"
#include "diagrams/bounded_file.h"

namespace qarv {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A line's blank-separated items, as [begin, end) offsets.
struct Span {
    std::size_t begin;
    std::size_t end;
};
std::vector<Span> splitItems(std::string_view line) {
    std::vector<Span> items;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i >= line.size()) break;
        const std::size_t begin = i;
        while (i < line.size() && !isBlank(line[i])) ++i;
        items.push_back({begin, i});
    }
    return items;
}

void warn(DiagramData& data, int line, const std::string& reason) {
    ++data.skippedLines;
    if (data.warnings.size() < kMaxDataWarnings)
        data.warnings.push_back("line " + std::to_string(line) + ": " + reason);
}

std::string shortened(std::string_view bytes) {
    std::string text = decodeWindows1252(bytes.substr(0, 24));
    if (bytes.size() > 24) text += "...";
    return text;
}

}  // namespace

bool parseDataNumber(std::string_view text, double& value) {
    if (text.empty() || text.size() > 64) return false;
    std::string plain;
    std::size_t i = 0;
    if (text[0] == '-' || text[0] == '+') {
        if (text[0] == '-') plain.push_back('-');
        ++i;
    }
    // The mantissa: runs of digits with one separator character between two
    // runs; an exponent "E+17" may follow.
    std::size_t mantissaEnd = text.size();
    for (std::size_t k = i; k < text.size(); ++k) {
        if (text[k] == 'E' || text[k] == 'e') {
            mantissaEnd = k;
            break;
        }
    }
    std::vector<std::string_view> runs;
    std::vector<char> separators;
    std::size_t k = i;
    while (k < mantissaEnd) {
        const std::size_t start = k;
        while (k < mantissaEnd && isDigit(text[k])) ++k;
        if (k == start) return false;  // a separator without digits before it
        runs.push_back(text.substr(start, k - start));
        if (k < mantissaEnd) {
            const char sep = text[k];
            const bool letter = (sep >= 'a' && sep <= 'z') || (sep >= 'A' && sep <= 'Z');
            if (sep == '-' || sep == '+' || isBlank(sep) || letter) return false;
            separators.push_back(sep);
            ++k;
            if (k >= mantissaEnd) return false;  // nothing after the separator
        }
    }
    if (runs.empty()) return false;
    // All but the last separator group the integer digits by three.
    if (separators.size() >= 2) {
        const char group = separators.front();
        if (separators.back() == group) return false;
        for (std::size_t s = 0; s + 1 < separators.size(); ++s)
            if (separators[s] != group) return false;
        if (runs[0].size() > 3) return false;
        for (std::size_t r = 1; r + 1 < runs.size(); ++r)
            if (runs[r].size() != 3) return false;
    }
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (r > 0 && r + 1 == runs.size() && !separators.empty()) plain.push_back('.');
        plain.append(runs[r]);
    }
    if (mantissaEnd < text.size()) {
        std::size_t e = mantissaEnd + 1;
        plain.push_back('e');
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) plain.push_back(text[e++]);
        if (e >= text.size()) return false;
        for (; e < text.size(); ++e) {
            if (!isDigit(text[e])) return false;
            plain.push_back(text[e]);
        }
    }
    double v = 0;
    const auto r = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    if (r.ec != std::errc{} || r.ptr != plain.data() + plain.size() || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

DataReadResult parseDiagramData(std::string_view bytes) {
    DataReadResult result;
    DiagramData& data = result.data;
    if (bytes.size() > kMaxDataFileBytes) {
        result.error = "larger than " + std::to_string(kMaxDataFileBytes >> 20) + " MB";
        return result;
    }
    if (bytes.find('\0') != std::string_view::npos) {
        result.error = "not a text file (holds NUL bytes)";
        return result;
    }
    std::size_t pos = 0;
    int lineNumber = 0;
    bool header = false;
    while (pos < bytes.size()) {
        // Lines end with CR LF, LF or a lone CR.
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n' && (pos == end || bytes[pos - 1] == '\r'))
            ++pos;
        ++lineNumber;

        if (line.size() > kMaxDataLineBytes) {
            if (!header) {
                result.error = "line 1 is longer than " + std::to_string(kMaxDataLineBytes) +
                               " characters: no header line";
                return result;
            }
            warn(data, lineNumber,
                 "longer than " + std::to_string(kMaxDataLineBytes) + " characters");
            continue;
        }
        const std::vector<Span> items = splitItems(line);
        if (!header) {
            if (items.empty()) continue;  // blank lines before the header
            if (line.substr(items[0].begin, items[0].end - items[0].begin) != "SampleNo" ||
                items.size() < 2) {
                result.error = "no header line (\"SampleNo\" and the column titles)";
                return result;
            }
            if (items.size() - 1 > kMaxDataColumns) {
                result.error = "more than " + std::to_string(kMaxDataColumns) + " columns";
                return result;
            }
            for (std::size_t i = 1; i < items.size(); ++i) {
                data.titles.push_back(
                    decodeWindows1252(line.substr(items[i].begin, items[i].end - items[i].begin)));
            }
            header = true;
            continue;
        }
        if (items.empty()) continue;  // a blank line carries no sample
        if (data.points.size() >= kMaxDataPoints) {
            warn(data, lineNumber,
                 "more than " + std::to_string(kMaxDataPoints) + " samples; not plotted");
            continue;
        }
        // The values are the last items; everything before them is the
        // sample name, which may hold blanks.
        const std::size_t n = data.titles.size();
        if (items.size() < n) {
            warn(data, lineNumber,
                 std::to_string(items.size()) + " items where " + std::to_string(n) +
                     " values are expected");
            continue;
        }
        DataPoint point;
        point.line = lineNumber;
        point.values.resize(n);
        bool good = true;
        for (std::size_t v = 0; v < n && good; ++v) {
            const Span s = items[items.size() - n + v];
            const std::string_view text = line.substr(s.begin, s.end - s.begin);
            if (!parseDataNumber(text, point.values[v])) {
                warn(data, lineNumber, "\"" + shortened(text) + "\" is not a number");
                good = false;
            }
        }
        if (!good) continue;
        std::string_view name = line.substr(0, items[items.size() - n].begin);
        while (!name.empty() && isBlank(name.back())) name.remove_suffix(1);
        point.name = decodeWindows1252(name);
        data.points.push_back(std::move(point));
    }
    if (!header) result.error = "empty: no header line";
    return result;
}

DataReadResult readDiagramDataFile(const std::filesystem::path& path) {
    std::string bytes;
    std::string error;
    if (!readBoundedFile(path, kMaxDataFileBytes, bytes, error)) {
        DataReadResult result;
        result.error = error;
        return result;
    }
    DataReadResult result = parseDiagramData(bytes);
    if (!result.ok()) result.error = "'" + path.filename().string() + "': " + result.error;
    return result;
}

}  // namespace qarv
