#include "diagrams/diagram_document.h"

#include <algorithm>
#include <system_error>

namespace qarv {
namespace {

namespace fs = std::filesystem;

bool isFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

// The highest data column the template plots.
int highestColumn(const DiagramTemplate& t) {
    int highest = 0;
    for (const TemplatePanel& p : t.panels) {
        if (p.ternary) {
            for (const TemplateApex& a : p.apexes) highest = std::max(highest, a.column);
        } else {
            highest = std::max({highest, p.x.column, p.y.column});
        }
    }
    return highest;
}

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& s : items) out += (out.empty() ? "" : " ") + s;
    return out;
}

}  // namespace

DiagramDocument loadDiagramDocument(const fs::path& templatePath, const fs::path& workingFolder) {
    DiagramDocument doc;
    doc.templatePath = templatePath;
    TemplateParseResult parsed = readTemplateFile(templatePath);
    if (!parsed.ok()) {
        doc.message = "Cannot open the diagram template:\n" + parsed.error;
        return doc;
    }
    doc.templateOk = true;
    doc.diagram = std::move(parsed.diagram);

    const fs::path inWorking = workingFolder / doc.diagram.dataFile;
    const fs::path inTemplateFolder = templatePath.parent_path() / doc.diagram.dataFile;
    if (isFile(inWorking)) {
        doc.dataPath = inWorking;
    } else if (isFile(inTemplateFolder)) {
        doc.dataPath = inTemplateFolder;
    } else {
        doc.message = "The data file " + doc.diagram.dataFile +
                      " is neither in the working folder nor beside the template.\n"
                      "A calculation run writes it into the working folder.";
        return doc;
    }
    DataReadResult read = readDiagramDataFile(doc.dataPath);
    if (!read.ok()) {
        doc.message = "Cannot read the data file:\n" + read.error;
        return doc;
    }
    const std::size_t needed = static_cast<std::size_t>(highestColumn(doc.diagram));
    if (read.data.titles.size() < needed) {
        doc.message = "The data file " + doc.diagram.dataFile + " has " +
                      std::to_string(read.data.titles.size()) + " columns; this diagram needs " +
                      std::to_string(needed) + ".";
        return doc;
    }
    doc.dataOk = true;
    doc.data = std::move(read.data);
    if (doc.data.titles != doc.diagram.dataColumns) {
        doc.remarks.push_back("The data file's columns (" + joined(doc.data.titles) +
                              ") differ from the template's (" + joined(doc.diagram.dataColumns) +
                              "); they are plotted by position.");
    }
    if (doc.data.skippedLines > 0) {
        doc.remarks.push_back(std::to_string(doc.data.skippedLines) +
                              (doc.data.skippedLines == 1 ? " line" : " lines") +
                              " of the data file could not be read and are not plotted.");
        for (const std::string& w : doc.data.warnings) doc.remarks.push_back(w);
    }
    if (doc.data.points.empty()) doc.message = noPointsMessage(doc.diagram);
    return doc;
}

PlotScene documentScene(const DiagramDocument& doc, const PlotOptions& options) {
    if (!doc.templateOk) return messageScene(doc.message, options);
    return buildPlotScene(doc.diagram, doc.data, options, doc.message);
}

}  // namespace qarv
