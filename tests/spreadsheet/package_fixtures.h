#pragma once
// Workbook packages built by the tests themselves: hand-written XML parts in
// a zip, so each case shows exactly what the reader is given.

#include <unzip.h>
#include <zip.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace qarv::test {

using PackageParts = std::vector<std::pair<std::string, std::string>>;

// Writes the parts as a deflated zip; false if minizip fails.
inline bool writeZip(const std::filesystem::path& path, const PackageParts& parts) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip) return false;
    bool ok = true;
    for (const auto& [name, content] : parts) {
        zip_fileinfo info{};
        ok = ok && zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                         Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

// One part of a zip, empty when it cannot be read.
inline std::string readZipPart(const std::filesystem::path& path, const std::string& name) {
    std::string out;
    unzFile zip = unzOpen64(path.c_str());
    if (!zip) return out;
    if (unzLocateFile(zip, name.c_str(), 1) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        char buffer[4096];
        int got = 0;
        while ((got = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0) out.append(buffer, got);
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return out;
}

inline const char* kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

inline std::string worksheetXml(const std::string& rows) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet xmlns=\"") + kMainNs +
           "\"><sheetData>" + rows + "</sheetData></worksheet>";
}

inline std::string sharedStringsXml(const std::string& items) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst xmlns=\"") + kMainNs + "\">" + items +
           "</sst>";
}

// A package of the given sheets (name, sheet XML), the activeTab given and,
// when not empty, a shared-strings part.
inline PackageParts workbookPackage(const std::vector<std::pair<std::string, std::string>>& sheets,
                                    int activeTab = 0, const std::string& sharedStrings = {}) {
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    PackageParts parts;
    parts.emplace_back("_rels/.rels",
                       "<?xml version=\"1.0\"?><Relationships "
                       "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                       "<Relationship Id=\"rId1\" Type=\"" + rel + "/officeDocument\" Target=\"xl/workbook.xml\"/>"
                       "</Relationships>");
    std::string workbook = std::string("<?xml version=\"1.0\"?><workbook xmlns=\"") + kMainNs +
                           "\" xmlns:r=\"" + rel + "\"><bookViews><workbookView activeTab=\"" +
                           std::to_string(activeTab) + "\"/></bookViews><sheets>";
    std::string rels =
        "<?xml version=\"1.0\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        workbook += "<sheet name=\"" + sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n + "\" Type=\"" + rel +
                "/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
        parts.emplace_back("xl/worksheets/sheet" + n + ".xml", sheets[i].second);
    }
    if (!sharedStrings.empty()) {
        rels += "<Relationship Id=\"rIdS\" Type=\"" + rel + "/sharedStrings\" Target=\"/xl/sharedStrings.xml\"/>";
        parts.emplace_back("xl/sharedStrings.xml", sharedStrings);
    }
    workbook += "</sheets></workbook>";
    rels += "</Relationships>";
    parts.emplace_back("xl/workbook.xml", workbook);
    parts.emplace_back("xl/_rels/workbook.xml.rels", rels);
    return parts;
}

}  // namespace qarv::test
