// .xlsx reading: the zip package through minizip, its XML parts through
// pugixml. Every part is read into a bounded buffer before it is parsed.

#include <unzip.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/run_errors.h"
#include "spreadsheet/date_format.h"
#include "spreadsheet/file_checks.h"
#include "spreadsheet/workbook_file.h"

namespace qarv {
namespace {

class ZipPackage {
public:
    enum class Status { Ok, Missing, TooLarge, Corrupt };

    ZipPackage(const std::filesystem::path& path, const WorkbookReadLimits& limits)
        : zip_(unzOpen64(path.c_str())), budget_(limits.maxTotalBytes) {
        if (!zip_) return;
        // The directory is indexed once: finding a part is then one lookup,
        // however many files the package holds.
        unz_global_info64 global{};
        if (unzGetGlobalInfo64(zip_, &global) != UNZ_OK ||
            global.number_entry > limits.maxPackageEntries) {
            tooManyEntries_ = global.number_entry > limits.maxPackageEntries;
            unzClose(zip_);
            zip_ = nullptr;
            return;
        }
        std::vector<char> name(1024);
        for (int rc = unzGoToFirstFile(zip_); rc == UNZ_OK; rc = unzGoToNextFile(zip_)) {
            unz_file_info64 info{};
            if (unzGetCurrentFileInfo64(zip_, &info, name.data(), static_cast<uLong>(name.size()),
                                        nullptr, 0, nullptr, 0) != UNZ_OK)
                break;
            unz64_file_pos at{};
            if (unzGetFilePos64(zip_, &at) != UNZ_OK) break;
            const std::string entry(name.data(),
                                    std::min<std::size_t>(info.size_filename, name.size() - 1));
            exact_.emplace(entry, at);
            folded_.emplace(folded(entry), at);
            if (exact_.size() > limits.maxPackageEntries) break;
        }
    }
    ~ZipPackage() {
        if (zip_) unzClose(zip_);
    }
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    bool isOpen() const { return zip_ != nullptr; }
    bool hadTooManyEntries() const { return tooManyEntries_; }

    // Reads the named part whole (its name matched exactly, else without
    // regard to case); never more than maxBytes, nor more than is left of
    // the whole package's budget.
    Status read(const std::string& name, std::uint64_t maxBytes, std::string& out) {
        out.clear();
        unz64_file_pos position{};
        if (const auto exact = exact_.find(name); exact != exact_.end()) {
            position = exact->second;
        } else if (const auto any = folded_.find(folded(name)); any != folded_.end()) {
            position = any->second;
        } else {
            return Status::Missing;
        }
        if (unzGoToFilePos64(zip_, &position) != UNZ_OK) return Status::Corrupt;
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return Status::Corrupt;
        maxBytes = std::min(maxBytes, budget_);
        if (info.uncompressed_size > maxBytes) return Status::TooLarge;
        if (unzOpenCurrentFile(zip_) != UNZ_OK) return Status::Corrupt;
        std::vector<char> chunk(64 * 1024);
        Status status = Status::Ok;
        for (;;) {
            const int got = unzReadCurrentFile(zip_, chunk.data(), static_cast<unsigned>(chunk.size()));
            if (got < 0) {
                status = Status::Corrupt;
                break;
            }
            if (got == 0) break;
            if (out.size() + static_cast<std::size_t>(got) > maxBytes) {
                status = Status::TooLarge;
                break;
            }
            out.append(chunk.data(), static_cast<std::size_t>(got));
        }
        // Closing after the whole part was read checks its CRC.
        const int closed = unzCloseCurrentFile(zip_);
        if (status == Status::Ok && closed != UNZ_OK) status = Status::Corrupt;
        budget_ -= std::min<std::uint64_t>(budget_, out.size());
        if (status != Status::Ok) out.clear();
        return status;
    }

private:
  static std::string folded(std::string s) {
      for (char& c : s)
          if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      return s;
  }

    unzFile zip_;
    std::uint64_t budget_;
    bool tooManyEntries_ = false;
    std::unordered_map<std::string, unz64_file_pos> exact_;
    std::unordered_map<std::string, unz64_file_pos> folded_;
};

// Element and attribute names are compared without their namespace prefix.
std::string_view localName(const char* name) {
    std::string_view s(name);
    const std::size_t colon = s.find(':');
    return colon == std::string_view::npos ? s : s.substr(colon + 1);
}

pugi::xml_node childNamed(pugi::xml_node node, std::string_view name) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && localName(child.name()) == name) return child;
    return {};
}

template <typename F>
void forEachChild(pugi::xml_node node, std::string_view name, F&& f) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && localName(child.name()) == name) f(child);
}

// The attribute with this local name; with wantPrefixed, only one that has
// a prefix (r:id rather than a plain id).
pugi::xml_attribute attributeNamed(pugi::xml_node node, std::string_view name,
                                   bool wantPrefixed = false) {
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        const std::string_view full(a.name());
        if (localName(a.name()) != name) continue;
        if (wantPrefixed && full.find(':') == std::string_view::npos) continue;
        return a;
    }
    return {};
}

// Elements an XML text can hold at most: each starts with "<".
std::size_t markupCount(const std::string& bytes) {
    std::size_t n = 0;
    for (const char* p = bytes.data();
         (p = static_cast<const char*>(std::memchr(p, '<', bytes.size() - (p - bytes.data())))) !=
         nullptr;
         ++p)
        ++n;
    return n;
}

bool parseXml(std::string& bytes, pugi::xml_document& doc) {
    const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata_single;
    return doc.load_buffer_inplace(bytes.data(), bytes.size(), options, pugi::encoding_auto);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Strings in a package write characters XML cannot carry as _xHHHH_.
std::string decodeEscapes(std::string_view s) {
    if (s.find("_x") == std::string_view::npos) return std::string(s);
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '_' && i + 6 < s.size() && s[i + 1] == 'x' && s[i + 6] == '_') {
            unsigned code = 0;
            bool hex = true;
            for (std::size_t k = i + 2; k < i + 6; ++k) {
                const int v = hexValue(s[k]);
                if (v < 0) {
                    hex = false;
                    break;
                }
                code = code * 16 + static_cast<unsigned>(v);
            }
            if (hex) {
                appendUtf8(out, code);
                i += 6;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

// The text of an <si> or <is> element: its <t>, or its runs' <t> joined;
// phonetic runs are left out.
std::string stringItemText(pugi::xml_node item) {
    std::string text;
    for (pugi::xml_node child = item.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        const std::string_view name = localName(child.name());
        if (name == "t") {
            text += child.text().get();
        } else if (name == "r") {
            if (pugi::xml_node t = childNamed(child, "t")) text += t.text().get();
        }
    }
    return decodeEscapes(text);
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool parseNumber(std::string_view s, double& value) {
    s = trimmed(s);
    if (s.empty()) return false;
    if (s.front() == '+') s.remove_prefix(1);
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
    return result.ec == std::errc() && result.ptr == s.data() + s.size();
}

bool parseIndex(std::string_view s, long long& value) {
    s = trimmed(s);
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
    return result.ec == std::errc() && result.ptr == s.data() + s.size();
}

// A part name from a relationship target: relative to the source part's
// folder, or absolute from the package root; "." and ".." are resolved.
std::string resolveTarget(std::string_view sourceFolder, std::string_view target) {
    std::string joined = (!target.empty() && target.front() == '/')
                             ? std::string(target.substr(1))
                             : std::string(sourceFolder) + std::string(target);
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= joined.size()) {
        std::size_t end = joined.find('/', start);
        if (end == std::string::npos) end = joined.size();
        const std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& part : parts) {
        if (!out.empty()) out += '/';
        out += part;
    }
    return out;
}

std::string folderOf(std::string_view part) {
    const std::size_t slash = part.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

std::string relationshipsPartOf(std::string_view part) {
    const std::size_t slash = part.rfind('/');
    const std::string_view file = slash == std::string_view::npos ? part : part.substr(slash + 1);
    return folderOf(part) + "_rels/" + std::string(file) + ".rels";
}

struct Relationship {
    std::string type;
    std::string target;  // resolved part name
};

bool endsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

class XlsxReader {
public:
  XlsxReader(const std::filesystem::path& path, const WorkbookReadLimits& limits)
      : path_(path), limits_(limits), zip_(path, limits) {}

  WorkbookReadResult read() {
      if (zip_.hadTooManyEntries())
          return fail("the package holds more files than the reader accepts");
      if (!zip_.isOpen()) return fail("not a readable zip package");
      std::string workbookPart = "xl/workbook.xml";
      {
          std::string rels;
          if (readPart("_rels/.rels", rels, /*required=*/false) != ZipPackage::Status::Ok &&
              result_.error)
              return result_;
          for (const auto& [id, rel] : parseRelationships(rels, ""))
              if (endsWith(rel.type, "/officeDocument")) workbookPart = rel.target;
      }
      const auto rels = readRelationships(workbookPart);
      if (result_.error) return result_;

      std::string bytes;
      if (readPart(workbookPart, bytes, true) != ZipPackage::Status::Ok) return result_;
      pugi::xml_document doc;
      if (!parseXml(bytes, doc)) return fail("the workbook part is not XML");
      const pugi::xml_node workbook = doc.document_element();
      if (localName(workbook.name()) != "workbook") return fail("no workbook element");

      for (const auto& [id, rel] : rels) {
          if (endsWith(rel.type, "/sharedStrings")) {
              if (!readSharedStrings(rel.target)) return result_;
          } else if (endsWith(rel.type, "/styles")) {
              if (!readStyles(rel.target)) return result_;
          }
      }
      const std::string_view date1904 =
          childNamed(workbook, "workbookPr").attribute("date1904").as_string();
      date1904_ = date1904 == "1" || date1904 == "true";

      std::vector<std::string> sheetParts;
      std::size_t sheetCount = 0;
      forEachChild(childNamed(workbook, "sheets"), "sheet", [&](pugi::xml_node) { ++sheetCount; });
      if (sheetCount > limits_.maxSheets)
          return fail("the workbook has more sheets than the reader accepts");
      forEachChild(childNamed(workbook, "sheets"), "sheet", [&](pugi::xml_node sheet) {
          result_.book.addSheet(decodeEscapes(sheet.attribute("name").as_string()));
          const auto it = rels.find(attributeNamed(sheet, "id", true).as_string());
          sheetParts.push_back(it == rels.end() ? std::string() : it->second.target);
      });
      if (result_.book.sheets.empty()) return fail("the workbook has no sheets");

      const pugi::xml_node view = childNamed(childNamed(workbook, "bookViews"), "workbookView");
      const long long activeTab = view.attribute("activeTab").as_llong(0);
      result_.book.activeSheet =
          activeTab >= 0 && static_cast<std::size_t>(activeTab) < result_.book.sheets.size()
              ? static_cast<std::size_t>(activeTab)
              : 0;

      for (std::size_t i = 0; i < sheetParts.size(); ++i) {
          if (sheetParts[i].empty()) return fail("a sheet has no part");
          if (!readSheet(sheetParts[i], result_.book.sheets[i])) return result_;
      }
      return std::move(result_);
    }

private:
    WorkbookReadResult fail(const std::string& why, int number = err::kInvalidFileFormat) {
        result_.error = number;
        result_.message = path_.string() + ": " + why;
        return result_;
    }

    ZipPackage::Status readPart(const std::string& name, std::string& out, bool required) {
        const ZipPackage::Status status = zip_.read(name, limits_.maxPartBytes, out);
        switch (status) {
            case ZipPackage::Status::Ok:
                if (markupCount(out) > limits_.maxXmlElements) {
                    out.clear();
                    fail("part " + name + " holds more elements than the reader accepts");
                    return ZipPackage::Status::TooLarge;
                }
                break;
            case ZipPackage::Status::Missing:
                if (required) fail("part " + name + " is missing");
                break;
            case ZipPackage::Status::TooLarge:
                fail("part " + name + " is larger than the reader accepts");
                break;
            case ZipPackage::Status::Corrupt:
                fail("part " + name + " is damaged");
                break;
        }
        return status;
    }

    static std::unordered_map<std::string, Relationship> parseRelationships(
        std::string& bytes, std::string_view sourceFolder) {
        std::unordered_map<std::string, Relationship> rels;
        pugi::xml_document doc;
        if (bytes.empty() || !parseXml(bytes, doc)) return rels;
        forEachChild(doc.document_element(), "Relationship", [&](pugi::xml_node rel) {
            if (std::string_view(rel.attribute("TargetMode").as_string()) == "External") return;
            rels[rel.attribute("Id").as_string()] =
                Relationship{rel.attribute("Type").as_string(),
                             resolveTarget(sourceFolder, rel.attribute("Target").as_string())};
        });
        return rels;
    }

    std::unordered_map<std::string, Relationship> readRelationships(const std::string& part) {
        std::string bytes;
        readPart(relationshipsPartOf(part), bytes, false);
        return parseRelationships(bytes, folderOf(part));
    }

    bool readSharedStrings(const std::string& part) {
        std::string bytes;
        const ZipPackage::Status status = readPart(part, bytes, false);
        if (status == ZipPackage::Status::Missing) return true;
        if (status != ZipPackage::Status::Ok) return false;
        pugi::xml_document doc;
        if (!parseXml(bytes, doc)) {
            fail("the shared strings are not XML");
            return false;
        }
        forEachChild(doc.document_element(), "si", [&](pugi::xml_node si) {
            if (sharedStrings_.size() < limits_.maxCells)
                sharedStrings_.push_back(stringItemText(si));
        });
        return true;
    }

    // What each cell style shows numbers as: only whether it is a date or a
    // time matters here.
    bool readStyles(const std::string& part) {
        std::string bytes;
        const ZipPackage::Status status = readPart(part, bytes, false);
        if (status == ZipPackage::Status::Missing) return true;
        if (status != ZipPackage::Status::Ok) return false;
        pugi::xml_document doc;
        if (!parseXml(bytes, doc)) return true;  // unreadable styles: numbers stay numbers
        const pugi::xml_node styleSheet = doc.document_element();
        std::unordered_map<long long, std::string> codes;
        forEachChild(childNamed(styleSheet, "numFmts"), "numFmt", [&](pugi::xml_node f) {
            codes[f.attribute("numFmtId").as_llong(-1)] = f.attribute("formatCode").as_string();
        });
        forEachChild(childNamed(styleSheet, "cellXfs"), "xf", [&](pugi::xml_node xf) {
            if (styleDateKinds_.size() >= limits_.maxCells) return;
            const long long id = xf.attribute("numFmtId").as_llong(0);
            const auto code = codes.find(id);
            styleDateKinds_.push_back(
                id < 0 || id > 0xFFFF
                    ? DateKind::None
                    : dateKindOfFormat(static_cast<int>(id),
                                       code == codes.end() ? std::string_view() : code->second));
        });
        return true;
    }

    bool readSheet(const std::string& part, Worksheet& sheet) {
        std::string bytes;
        if (readPart(part, bytes, true) != ZipPackage::Status::Ok) return false;
        pugi::xml_document doc;
        if (!parseXml(bytes, doc)) {
            fail("sheet " + sheet.name + " is not XML");
            return false;
        }
        const pugi::xml_node data = childNamed(doc.document_element(), "sheetData");
        long long rowNumber = 0;
        forEachChild(data, "row", [&](pugi::xml_node row) {
            long long given = 0;
            const pugi::xml_attribute r = row.attribute("r");
            rowNumber = (r && parseIndex(r.value(), given)) ? given : rowNumber + 1;
            if (rowNumber < 1 || rowNumber > kMaxSheetRows) return;
            int column = 0;
            forEachChild(row, "c", [&](pugi::xml_node c) {
                int cellRow = static_cast<int>(rowNumber);
                const pugi::xml_attribute ref = c.attribute("r");
                if (const auto at = ref ? parseCellReference(ref.value()) : std::nullopt) {
                    cellRow = at->first;
                    column = at->second;
                } else if (ref) {
                    column = kMaxSheetColumns + 1;  // an unreadable reference: skip the cell
                } else {
                    ++column;
                }
                if (!isCellInRange(cellRow, column)) return;
                readCellElement(c, sheet, cellRow, column);
            });
        });
        return true;
    }

    void readCellElement(pugi::xml_node c, Worksheet& sheet, int row, int column) {
        if (cellCount_ >= limits_.maxCells) return;
        const std::string_view type = c.attribute("t").as_string();
        const pugi::xml_node v = childNamed(c, "v");
        const std::string_view value = v.text().get();
        Cell cell;
        if (type == "inlineStr") {
            const pugi::xml_node is = childNamed(c, "is");
            if (!is) return;
            cell.text = stringItemText(is);
        } else if (!v) {
            return;  // a formatted but empty cell
        } else if (type == "s") {
            long long index = -1;
            if (!parseIndex(value, index) || index < 0 ||
                static_cast<unsigned long long>(index) >= sharedStrings_.size())
                return;
            cell.text = sharedStrings_[static_cast<std::size_t>(index)];
        } else if (type == "b") {
            cell.text = trimmed(value) == "1" ? "TRUE" : "FALSE";
        } else if (type == "str" || type == "e" || type == "d") {
            cell.text = decodeEscapes(value);
        } else {
            double number = 0;
            if (parseNumber(value, number)) {
                cell.kind = Cell::Kind::Number;
                cell.number = number;
                cell.text = shortestNumberText(number);
                long long style = 0;
                const pugi::xml_attribute s = c.attribute("s");
                if (s && parseIndex(s.value(), style) && style >= 0 &&
                    static_cast<unsigned long long>(style) < styleDateKinds_.size()) {
                    const DateKind kind = styleDateKinds_[static_cast<std::size_t>(style)];
                    if (auto shown = serialDateText(number, kind, date1904_))
                        cell.text = std::move(*shown);
                }
            } else {
                cell.text = std::string(value);
            }
        }
        if (cell.text.empty() && cell.kind == Cell::Kind::Text) return;
        const auto [it, inserted] = sheet.cells.insert_or_assign({row, column}, std::move(cell));
        if (inserted) ++cellCount_;
    }

    std::filesystem::path path_;
    WorkbookReadLimits limits_;
    ZipPackage zip_;
    WorkbookReadResult result_;
    std::vector<std::string> sharedStrings_;
    std::vector<DateKind> styleDateKinds_;
    bool date1904_ = false;
    std::size_t cellCount_ = 0;
};

}  // namespace

WorkbookReadResult readXlsxFile(const std::filesystem::path& path, const WorkbookReadLimits& limits) {
    WorkbookReadResult checked;
    checked.error = detail::checkReadableFile(path, checked.message);
    if (!checked.ok()) return checked;
    return XlsxReader(path, limits).read();
}

}  // namespace qarv
