#pragma once
// A template with the data it plots, as the grapher opens it: the template
// file, then its data file from the working folder or, failing that, from
// the template's own folder.

#include <filesystem>
#include <string>
#include <vector>

#include "diagrams/diagram_data_reader.h"
#include "diagrams/diagram_plot.h"
#include "diagrams/diagram_template.h"

namespace qarv {

struct DiagramDocument {
    std::filesystem::path templatePath;
    bool templateOk = false;
    DiagramTemplate diagram;
    bool dataOk = false;  // the data file was found and read
    std::filesystem::path dataPath;
    DiagramData data;
    // Why the diagram shows no points (empty when it shows some).
    std::string message;
    // Remarks on the data: lines of the data file that were skipped, a
    // header that differs from the template's columns.
    std::vector<std::string> remarks;
};

// Never throws; every failure ends up in templateOk/dataOk and message.
DiagramDocument loadDiagramDocument(const std::filesystem::path& templatePath,
                                    const std::filesystem::path& workingFolder);

// The scene of a document: the diagram with its points, or the message
// alone when there is no template to draw.
PlotScene documentScene(const DiagramDocument& document, const PlotOptions& options);

}  // namespace qarv
