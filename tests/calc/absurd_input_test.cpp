// Absurd analyses (huge, tiny, negative, beyond a double's range when
// summed) through the whole row: every number the results row and the
// diagram data files show is a plain number that readNumber reads back as
// the value shown, never "nan", "inf" or an exponent it cannot read.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "calc/read_number.h"
#include "calc/row_calculation.h"
#include "diagrams/diagram_data_files.h"
#include "results/sample_row.h"
#include "test_support.h"

namespace qarv {
namespace {

const NumberFormatSettings kUngrouped{"", "."};

RowInput chromite(double scale) {
    RowInput in;
    in.oxySampleName = "absurd";
    in.oxides[TiO2] = 0.3 * scale;
    in.oxides[Al2O3] = 12 * scale;
    in.oxides[Cr2O3] = 55 * scale;
    in.oxides[FeO] = 22 * scale;
    in.oxides[MgO] = 9 * scale;
    in.oxides[MnO] = 0.4 * scale;
    return in;
}

RowInput chalcogenide(double s, double se, double metal) {
    RowInput in;
    in.thio.sampleName = "absurd";
    in.thio.wt[tCu] = 20 * metal;
    in.thio.wt[tCo] = 38 * metal;
    in.thio.wt[tS] = s;
    in.seleno.sampleName = "absurd";
    in.seleno.wt[sCu] = 9 * metal;
    in.seleno.wt[sCo] = 10 * metal;
    in.seleno.wt[sNi] = 12 * metal;
    in.seleno.wt[sSe] = se;
    return in;
}

struct AbsurdCase {
    const char* name;
    RowInput in;
};

std::vector<AbsurdCase> absurdCases() {
    const double max = std::numeric_limits<double>::max();
    const double tiny = std::numeric_limits<double>::denorm_min();
    std::vector<AbsurdCase> cases = {
        {"chromite times 1e20", chromite(1e20)},
        {"chromite times 1e300", chromite(1e300)},
        {"chromite times 1e-300", chromite(1e-300)},
        {"negative chromite", chromite(-1)},
        {"negative chromite times 1e200", chromite(-1e200)},
        {"sulfide and selenide times 1e300", chalcogenide(1e300, 1e300, 1e300)},
        {"negative anions", chalcogenide(-42, -61, 1)},
        {"tiny anions", chalcogenide(tiny, tiny, 1)},
        {"huge metals, small anions", chalcogenide(1e-200, 1e-200, 1e200)},
    };
    RowInput sumOverflows = chromite(1);
    sumOverflows.oxides[SiO2] = max;
    sumOverflows.oxides[CaO] = max;
    cases.push_back({"oxides summing past the largest double", sumOverflows});
    RowInput largest = chromite(1);
    largest.oxides[Cr2O3] = max;
    cases.push_back({"the largest double", largest});
    RowInput plainMax = chalcogenide(30, 40, 1);
    plainMax.thio.wt[tCu] = max;  // a wt% shown in the plain form
    plainMax.seleno.wt[sCu] = max;
    plainMax.seleno.wt[sCo] = max;  // a plain total past the largest double
    cases.push_back({"the largest double in plain columns", plainMax});
    RowInput mixed = chromite(1e250);
    mixed.oxides[MgO] = -1e250;
    mixed.oxides[Fe2O3] = 1e-250;
    cases.push_back({"mixed signs and scales", mixed});
    return cases;
}

void expectReadsBack(const std::string& text, NumberForm form, const std::string& where) {
    if (text.empty()) return;
    for (const char* word : {"nan", "NaN", "inf", "Inf", "e-", "E-"}) {
        EXPECT_EQ(text.find(word), std::string::npos) << where << ": " << text;
    }
    EXPECT_TRUE(isWholeNumber(text)) << where << ": " << text;
    const double value = readNumber(text);
    EXPECT_TRUE(std::isfinite(value)) << where << ": " << text;
    EXPECT_EQ(formatNumber(value, form, kUngrouped), text) << where;
}

TEST(AbsurdInput, EveryShownNumberReadsBackAsItself) {
    test::TempDir dir;
    DiagramFileSet files;
    openDiagramFiles(files, dir.path(), kUngrouped);
    for (const AbsurdCase& c : absurdCases()) {
        SCOPED_TRACE(c.name);
        const RowResults results = calculateRow(c.in);
        const SampleRow row = formatSampleRow(results, kUngrouped);
        const auto& columns = resultColumns();
        for (int col = 0; col < kFormattedCellCount; ++col) {
            if (columns[col].kind != ResultKind::Number) continue;
            expectReadsBack(row[col], columns[col].form, "column " + std::to_string(col));
        }
        // Grouped as the table usually is, the text still holds no letters
        // but the plain form's exponent and reads back with its characters.
        const NumberFormatSettings grouped;
        const SampleRow groupedRow = formatSampleRow(results, grouped);
        for (int col = 0; col < kFormattedCellCount; ++col) {
            if (columns[col].kind != ResultKind::Number || groupedRow[col].empty()) continue;
            EXPECT_EQ(
                formatNumber(readFormatted(groupedRow[col], grouped), columns[col].form, grouped),
                groupedRow[col])
                << "column " << col;
        }
        writeDiagramLines(files, row, results);
    }
    ASSERT_TRUE(closeDiagramFiles(files));

    int lines = 0;
    for (const DiagramDataFile& file : diagramDataFiles()) {
        std::istringstream in(test::readFile(dir.path() / std::string(file.fileName)));
        std::string line;
        std::getline(in, line);  // the header
        while (std::getline(in, line)) {
            ++lines;
            std::istringstream items(line);
            std::string item;
            items >> item;  // the sample name
            EXPECT_EQ(item, "absurd");
            while (items >> item) {
                EXPECT_TRUE(isWholeNumber(item)) << file.fileName << ": " << item;
                EXPECT_TRUE(std::isfinite(readNumber(item))) << file.fileName << ": " << item;
                for (const char* word : {"nan", "inf", "e-", "E-"}) {
                    EXPECT_EQ(item.find(word), std::string::npos) << file.fileName << ": " << item;
                }
            }
        }
    }
    // The scaled chromites and chalcogenides are still named, so their
    // values do reach the data files.
    EXPECT_GT(lines, 20);
}

}  // namespace
}  // namespace qarv
