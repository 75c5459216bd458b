// Makes the workbooks installed in the application folder: Output.xlsx, the
// empty workbook the results are sent to, and DuVaruri.xlsx and DuVaruri.xls,
// the same workbook laid out like the analysis sheet (titles in row 1, row
// numbers in column A) in which analyses can be typed and then loaded into
// the sheet unchanged.

#include <cstdio>
#include <filesystem>
#include <string>

#include "sheet/analysis_sheet.h"
#include "spreadsheet/workbook.h"
#include "spreadsheet/workbook_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qarvelion-make-workbooks FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];

    qarv::Workbook output;
    output.addSheet("Sheet1");

    qarv::AnalysisSheet sheet;
    sheet.capCell();
    qarv::Workbook entry;
    qarv::Worksheet& analyses = entry.addSheet("Analyses");
    for (int r = 0; r < sheet.rowCount(); ++r) {
        for (int c = 0; c < qarv::kLastDataColumn; ++c) {
            qarv::setCellText(analyses, r + 1, c + 1, sheet.text(r, c));
        }
    }

    using Writer = int (*)(const qarv::Workbook&, const std::filesystem::path&, std::string*);
    struct Made {
        const char* name;
        const qarv::Workbook* book;
        Writer write;
    };
    for (const auto& [name, book, write] : {Made{"Output.xlsx", &output, qarv::writeXlsxFile},
                                            Made{"DuVaruri.xlsx", &entry, qarv::writeXlsxFile},
                                            Made{"DuVaruri.xls", &entry, qarv::writeXlsFile}}) {
        std::string message;
        if (write(*book, folder / name, &message) != 0) {
            std::fprintf(stderr, "qarvelion-make-workbooks: cannot write %s: %s\n", name,
                         message.c_str());
            return 2;
        }
    }
    return 0;
}
