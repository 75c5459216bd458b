#pragma once
// The calculation run ("Open File to Calculate"): walks the analysis sheet's
// data rows, recalculates and names the three blocks of each, appends each
// row to the results table and writes the diagram data files. It runs
// without any window; the window side is reached only through RunHost.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "calc/row_calculation.h"
#include "results/number_format.h"
#include "results/results_table.h"
#include "sheet/analysis_sheet.h"

namespace qarv {

inline constexpr std::string_view kRunTitle = "Wait Please";
inline constexpr std::string_view kDataEntryTitle = "Data Entry Screen";
inline constexpr std::string_view kOpenAnalysisFilter = "Spinel(*.dor) |*.dor";
// The run constants shown in the results window's status panels 2 to 4.
inline constexpr std::string_view kCationsPanelText = "3";
inline constexpr std::string_view kOxygensPanelText = "4";
inline constexpr std::string_view kFerricMethodPanelText = "Droop (1987)";

// What the run needs of the windows, the file dialog and the file system.
class RunHost {
  public:
    virtual ~RunHost() = default;
    // The data-entry window's screen title.
    virtual void setScreenTitle(std::string_view title) = 0;
    // Creates the results window if it does not exist yet (which lays out its
    // table) and returns its table.
    virtual ResultsTable& resultsTable() = 0;
    // Results window status panels 2, 3 and 4.
    virtual void setRunConstants(std::string_view cations, std::string_view oxygens,
                                 std::string_view method) = 0;
    // Whether an analysis file has been opened (the check mark of the command).
    virtual bool analysisFileOpened() const = 0;
    // Shows the shared open dialog with the filter; its file name afterwards
    // (empty when cancelled) is what fileDialogName() returns.
    virtual void showOpenDialog(std::string_view filter) = 0;
    virtual std::string fileDialogName() const = 0;
    // The data-entry window's file panel.
    virtual void setFilePanel(std::string_view text) = 0;
    virtual void showResultsWindow() = 0;
    // The results window's first status panel: the file being calculated.
    virtual void showSourceFile(std::string_view path) = 0;
    // Reports the pending run-time error (the cancelled dialog).
    virtual void reportPendingError() = 0;
    // Where the diagram data files go (the working folder).
    virtual std::filesystem::path diagramFolder() const = 0;
    virtual NumberFormatSettings numberSettings() const = 0;
};

struct RunReport {
    int lastRow = 0;  // rows 1 to lastRow were processed
    int rowsAppended = 0;
    std::vector<std::string> fileErrors;  // diagram data files that could not be written
};

// The last data row to process: the Al2O3 rule (column 5), but never above
// the last row that holds a thiospinel S or selenospinel Se value, so that
// sulfide and selenide analyses below the oxides are not left out.
int lastRowToProcess(const AnalysisSheet& sheet);

// One data row's cells read as the three blocks' inputs.
RowInput readRowInput(const AnalysisSheet& sheet, int row);

// Runs the whole calculation over the sheet.
RunReport runCalculation(AnalysisSheet& sheet, RunHost& host);

}  // namespace qarv
