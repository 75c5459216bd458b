// Benchmarks of the calculation run over a full sheet and of its per-row
// steps. The analyses are the rows of the bundled example file, repeated
// from row 1 down to row 200, so every row holds an oxide analysis and
// most also hold a sulfide or selenide analysis.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "calc/calculation_run.h"
#include "calc/read_number.h"
#include "calc/row_calculation.h"
#include "results/results_table.h"
#include "results/sample_row.h"
#include "sheet/analysis_file.h"
#include "sheet/analysis_sheet.h"

namespace qarv {
namespace {
namespace fs = std::filesystem;

// The example's analysed rows repeated over the whole data area. An empty
// sheet when the example cannot be read (the benchmarks then skip).
const AnalysisSheet& fullSheet() {
    static const AnalysisSheet sheet = [] {
        AnalysisSheet s;
        if (!openAnalysisFile(s, QARVELION_EXAMPLE_FILE).ok) return s;
        int analysed = 0;
        while (analysed < kLastDataRow && readNumber(s.text(analysed + 1, kAl2O3Column)) > 0) {
            ++analysed;
        }
        if (analysed == 0) return s;
        for (int r = analysed + 1; r <= kLastDataRow; ++r) {
            const int from = (r - 1) % analysed + 1;
            for (int c = 1; c <= kLastDataColumn; ++c) s.setText(r, c, s.text(from, c));
        }
        return s;
    }();
    return sheet;
}

bool sheetReady(benchmark::State& state) {
    if (readNumber(fullSheet().text(kLastDataRow, kAl2O3Column)) > 0) return true;
    state.SkipWithError("cannot read the example file " QARVELION_EXAMPLE_FILE);
    return false;
}

// A folder of its own, removed with its contents at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device device;
        path_ = fs::temp_directory_path() /
                ("qarvelion-bench-" + std::to_string(device()) + std::to_string(device()));
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// The run as the command line drives it: the sheet is already loaded, and
// no window is involved.
class BenchHost : public RunHost {
public:
    explicit BenchHost(fs::path folder) : folder_(std::move(folder)) {}

    void setScreenTitle(std::string_view) override {}
    ResultsTable& resultsTable() override { return table_; }
    void setRunConstants(std::string_view, std::string_view, std::string_view) override {}
    bool analysisFileOpened() const override { return true; }
    void showOpenDialog(std::string_view) override {}
    std::string fileDialogName() const override { return QARVELION_EXAMPLE_FILE; }
    void setFilePanel(std::string_view) override {}
    void showResultsWindow() override {}
    void showSourceFile(std::string_view) override {}
    void reportPendingError() override {}
    fs::path diagramFolder() const override { return folder_; }
    NumberFormatSettings numberSettings() const override { return {}; }

    ResultsTable& table() { return table_; }

private:
    fs::path folder_;
    ResultsTable table_;
};

void runWholeSheet(benchmark::State& state, BenchHost& host, bool expectFiles) {
    AnalysisSheet sheet = fullSheet();
    std::int64_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        host.table().buildLayout();  // the table would otherwise grow run by run
        state.ResumeTiming();
        const RunReport report = runCalculation(sheet, host);
        benchmark::DoNotOptimize(host.table().rowCount());
        if (report.rowsAppended != kLastDataRow || report.fileErrors.empty() != expectFiles) {
            state.SkipWithError(expectFiles ? "the run did not write every diagram file"
                                            : "the run wrote diagram files into a missing folder");
            break;
        }
        rows += report.rowsAppended;
    }
    state.SetItemsProcessed(rows);
    state.counters["rows/run"] = kLastDataRow;
}

// The whole run over 200 rows, writing the 57 diagram data files.
void BM_RunWritingDiagramFiles(benchmark::State& state) {
    if (!sheetReady(state)) return;
    ScratchFolder folder;
    BenchHost host(folder.path());
    runWholeSheet(state, host, true);
}
BENCHMARK(BM_RunWritingDiagramFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same run with a diagram folder that does not exist: every file is
// skipped, which leaves the rows' calculation, formatting and filtering.
void BM_RunWithoutDiagramFiles(benchmark::State& state) {
    if (!sheetReady(state)) return;
    ScratchFolder folder;
    BenchHost host(folder.path() / "missing");
    runWholeSheet(state, host, false);
}
BENCHMARK(BM_RunWithoutDiagramFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// Which blocks of the example rows a per-row benchmark keeps.
enum class Blocks { All, OxideOnly, SulfideOnly, SelenideOnly };

std::vector<RowInput> rowInputs(Blocks blocks) {
    std::vector<RowInput> inputs;
    const AnalysisSheet& sheet = fullSheet();
    for (int r = 1; r <= kLastDataRow; ++r) {
        RowInput in = readRowInput(sheet, r);
        const bool hasSulfide = in.thio.wt[tS] != 0;
        const bool hasSelenide = in.seleno.wt[sSe] != 0;
        switch (blocks) {
        case Blocks::All:
            break;
        case Blocks::OxideOnly:
            in.thio = {};
            in.seleno = {};
            break;
        case Blocks::SulfideOnly:
            if (!hasSulfide) continue;
            in.oxySampleName.clear();
            in.oxides = {};
            in.seleno = {};
            break;
        case Blocks::SelenideOnly:
            if (!hasSelenide) continue;
            in.oxySampleName.clear();
            in.oxides = {};
            in.thio = {};
            break;
        }
        inputs.push_back(std::move(in));
    }
    return inputs;
}

// calculateRow alone: the three recalculations and classifications of a row.
void BM_CalculateRow(benchmark::State& state, Blocks blocks) {
    if (!sheetReady(state)) return;
    const std::vector<RowInput> inputs = rowInputs(blocks);
    std::size_t next = 0;
    for (auto _ : state) {
        RowResults results = calculateRow(inputs[next]);
        benchmark::DoNotOptimize(results);
        if (++next == inputs.size()) next = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_CalculateRow, mixed_rows, Blocks::All);
BENCHMARK_CAPTURE(BM_CalculateRow, oxide_block, Blocks::OxideOnly);
BENCHMARK_CAPTURE(BM_CalculateRow, sulfide_block, Blocks::SulfideOnly);
BENCHMARK_CAPTURE(BM_CalculateRow, selenide_block, Blocks::SelenideOnly);

// formatSampleRow alone: the 164 texts of a calculated row, blanking included.
void BM_FormatSampleRow(benchmark::State& state) {
    if (!sheetReady(state)) return;
    std::vector<RowResults> rows;
    for (RowInput& in : rowInputs(Blocks::All)) rows.push_back(calculateRow(std::move(in)));
    const NumberFormatSettings settings;
    std::size_t next = 0;
    for (auto _ : state) {
        SampleRow texts = formatSampleRow(rows[next], settings);
        benchmark::DoNotOptimize(texts);
        if (++next == rows.size()) next = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatSampleRow);

}  // namespace
}  // namespace qarv

BENCHMARK_MAIN();
