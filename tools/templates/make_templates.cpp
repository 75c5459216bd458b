// Writes the plot template of every Graph menu entry into a folder, one
// ".grf" file per entry named as the catalogue names it, and an index of
// them ("templates.txt": template name, a tab, the menu caption). Other
// ".grf" files in the folder are removed.

#include <filesystem>
#include <iostream>
#include <string>

#include "common/atomic_file.h"
#include "diagrams/diagram_catalogue.h"
#include "diagrams/diagram_template.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc != 2) {
        std::cerr << "usage: qarvelion-make-templates FOLDER\n";
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder)) {
        std::cerr << "qarvelion-make-templates: cannot make '" << folder.string() << "'\n";
        return 2;
    }
    for (const std::string& mismatch : qarv::plotFactsMismatches()) {
        std::cerr << "qarvelion-make-templates: " << mismatch << "\n";
        return 2;
    }
    std::string index;
    for (const qarv::DiagramEntry& entry : qarv::diagramCatalogue()) {
        const qarv::DiagramTemplate t = qarv::templateForEntry(entry);
        const std::string text = qarv::writeTemplate(t);
        // What is written must read back as the same diagram.
        const qarv::TemplateParseResult back = qarv::parseTemplate(text);
        if (!back.ok() || !(back.diagram == t)) {
            std::cerr << "qarvelion-make-templates: " << entry.templateFile
                      << " does not read back: " << back.error << "\n";
            return 2;
        }
        qarv::AtomicFile out(folder / entry.templateFile);
        out.write(text);
        if (!out.commit()) {
            std::cerr << "qarvelion-make-templates: " << entry.templateFile << ": " << out.error()
                      << "\n";
            return 2;
        }
        index += std::string(entry.templateFile) + "\t" + std::string(entry.caption) + "\n";
    }
    // Templates of entries the catalogue no longer has would linger.
    for (const fs::directory_entry& file : fs::directory_iterator(folder, ec)) {
        const fs::path name = file.path().filename();
        if (name.extension() != ".grf") continue;
        bool known = false;
        for (const qarv::DiagramEntry& entry : qarv::diagramCatalogue())
            known = known || name == entry.templateFile;
        if (!known) fs::remove(file.path(), ec);
    }
    qarv::AtomicFile out(folder / "templates.txt");
    out.write(index);
    if (!out.commit()) {
        std::cerr << "qarvelion-make-templates: templates.txt: " << out.error() << "\n";
        return 2;
    }
    return 0;
}
