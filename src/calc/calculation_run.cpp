#include "calc/calculation_run.h"

#include "calc/read_number.h"
#include "calc/row_calculation.h"
#include "diagrams/diagram_data_files.h"
#include "sheet/analysis_file.h"

namespace qarv {
namespace {

// Loads the sheet from the file the user picks, when none was opened.
void loadSheetForRun(AnalysisSheet& sheet, RunHost& host) {
    host.showOpenDialog(kOpenAnalysisFilter);
    const std::string path = host.fileDialogName();
    host.setFilePanel(path);
    sheet.capCell();
    if (path.empty()) {
        // A cancelled dialog is reported; the run then calculates whatever
        // the sheet holds.
        host.reportPendingError();
        return;
    }
    AnalysisFileText file = readAnalysisFile(path);
    if (!file.ok) return;  // a missing or unreadable file leaves the sheet as it was
    sheet.setCurrentCell({1, 1});
    sheet.setSelectionCorner({kLastDataRow, kLastDataColumn});
    const Region region = sheet.selection();
    sheet.setClip(region, "");
    for (int r = region.top; r <= region.bottom; ++r) {
        for (int c = region.left; c <= region.right; ++c) {
            sheet.setCurrentCell({r, c});
            sheet.setCurrentAlignment(CellAlignment::Centre);
        }
    }
    sheet.setCurrentCell({region.top, region.left});
    sheet.setSelectionCorner({region.bottom, region.right});
    sheet.setClip(region, file.blockText);
}

}  // namespace

int lastRowToProcess(const AnalysisSheet& sheet) {
    int highestPositive = 0;
    for (int r = 1; r <= kLastDataRow; ++r) {
        if (readNumber(sheet.text(r, kAl2O3Column)) > 0) highestPositive = r;
    }
    int last = kLastDataRow;
    if (highestPositive > 0) {
        int zeros = 0;
        for (int r = highestPositive + 1; r <= kLastDataRow; ++r) {
            if (readNumber(sheet.text(r, kAl2O3Column)) == 0) ++zeros;
        }
        last = kLastDataRow - zeros;
    }
    for (int r = kLastDataRow; r > last; --r) {
        if (readNumber(sheet.text(r, kThioSulfurColumn)) != 0 ||
            readNumber(sheet.text(r, kSelenoSeleniumColumn)) != 0) {
            last = r;
            break;
        }
    }
    return last;
}

RowInput readRowInput(const AnalysisSheet& sheet, int row) {
    RowInput in;
    in.oxySampleName = sheet.text(row, kOxySampleColumn);
    for (int i = 0; i < kOxyValueCount; ++i) {
        in.oxides[i] = readNumber(sheet.text(row, kOxyFirstValueColumn + i));
    }
    in.thio.sampleName = sheet.text(row, kThioSampleColumn);
    for (int i = 0; i < kThioValueCount; ++i) {
        in.thio.wt[i] = readNumber(sheet.text(row, kThioFirstValueColumn + i));
    }
    in.seleno.sampleName = sheet.text(row, kSelenoSampleColumn);
    for (int i = 0; i < kSelenoValueCount; ++i) {
        in.seleno.wt[i] = readNumber(sheet.text(row, kSelenoFirstValueColumn + i));
    }
    return in;
}

RunReport runCalculation(AnalysisSheet& sheet, RunHost& host) {
    RunReport report;
    host.setScreenTitle(kRunTitle);
    ResultsTable& table = host.resultsTable();
    host.setRunConstants(kCationsPanelText, kOxygensPanelText, kFerricMethodPanelText);
    if (!host.analysisFileOpened()) loadSheetForRun(sheet, host);
    const std::string sourceFile = host.fileDialogName();
    host.showResultsWindow();

    const NumberFormatSettings settings = host.numberSettings();
    DiagramFileSet diagrams;
    openDiagramFiles(diagrams, host.diagramFolder(), settings);

    report.lastRow = lastRowToProcess(sheet);
    for (int r = 1; r <= report.lastRow; ++r) {
        const RowResults results = calculateRow(readRowInput(sheet, r));
        const SampleRow row = formatSampleRow(results, settings);
        host.showSourceFile(sourceFile);
        table.appendSampleRow(row);
        ++report.rowsAppended;
        writeDiagramLines(diagrams, row, results);
    }

    closeDiagramFiles(diagrams);
    report.fileErrors = diagrams.errors;
    host.setScreenTitle(kDataEntryTitle);
    return report;
}

}  // namespace qarv
