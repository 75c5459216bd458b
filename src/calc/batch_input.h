#pragma once
// How the rows of a batch input become the three blocks' inputs of a row.
//
// Two layouts, told apart by the header row:
//  - the analysis sheet's own: a first title "Row No" (the grid with its
//    row-number column, as an exported sheet has it) or "Sample No
//    [Oxyspinel]" (the 60 data columns alone); analysis files (.dor) have no
//    header and hold the 60 data columns. Columns are taken by position,
//    all three blocks side by side, exactly as the sheet holds them.
//  - columns named by oxide or element ("SiO2", "SIO2(WT%)", "Cu", "S" ...)
//    in any order, as probe software and databases write them, with a
//    sample-name column. Each row is then one analysis of one block (see
//    blockOfRow).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/constituents.h"
#include "calc/row_calculation.h"
#include "sheet/sheet_layout.h"

namespace qarv {

enum class BatchLayoutKind : std::uint8_t {
    SheetWithRowNumbers,  // header "Row No", then the sheet's 60 columns
    SheetColumns,         // header "Sample No [Oxyspinel]" ...: the 60 data columns
    AnalysisFileRows,     // no header: an analysis file's 60 data columns
    HeaderNamed,          // columns named by oxide or element
};

// What one input column feeds.
struct ColumnTarget {
    enum class Kind : std::uint8_t {
        Ignored,
        SheetColumn,  // index: the sheet column (1 to 60)
        Oxide,        // index: Oxide
        FeOTotal,     // total iron as FeO: used where FeO and Fe2O3 are empty
        Element,      // index: ThioElement (the selenospinel elements are among them)
        SampleName,
        Block,  // a column naming the row's block
    };
    Kind kind = Kind::Ignored;
    int index = 0;
};

struct BatchLayout {
    BatchLayoutKind kind = BatchLayoutKind::HeaderNamed;
    std::vector<ColumnTarget> columns;  // one per input column
    std::vector<std::string> titles;    // the header texts (empty for .dor)
    bool hasSampleColumn = false;
    // For the log: what was recognised, what is ignored and why.
    std::vector<std::string> used;
    std::vector<std::string> ignored;
    std::vector<std::string> warnings;
};

// The layout of an analysis file: 60 data columns, no header.
BatchLayout analysisFileLayout();

// The layout a header row describes; error is set (and the layout has no
// used column) when the header names no oxide or element and is not the
// sheet's own.
BatchLayout detectLayout(const std::vector<std::string>& header, std::string& error);

// The header title reduced to what is compared: ASCII letters lower-cased,
// blanks, underscores and a weight-percent unit ("(wt%)", "[wt.%]", " wt%",
// "%") removed. unit receives any other bracketed unit ("ppm"), which makes
// the column unusable as wt%.
std::string normalisedTitle(std::string_view title, std::string* unit = nullptr);

// One input record as the batch sees it.
class BatchRecord {
  public:
    virtual ~BatchRecord() = default;
    virtual std::size_t size() const = 0;
    virtual std::string_view raw(std::size_t i) const = 0;  // for numbers
    virtual std::string text(std::size_t i) const = 0;      // UTF-8, for names
};

// Something about one cell worth telling the user.
struct CellNote {
    enum class Kind : std::uint8_t {
        NotANumber,  // read with readNumber all the same
        LeftOut,     // a value of another block than the row's
        UnknownBlock,
    };
    Kind kind;
    std::size_t column;  // input column, from 0
};

enum class RowBlock : std::uint8_t { None, Oxyspinel, Thiospinel, Selenospinel };

// Fills in from the record. False (in untouched) when every cell of the
// record is empty or blank: such a row holds no analysis and is skipped.
// defaultName is the sample name of a header-named row when the input has
// no sample-name column. Notes are appended.
bool buildRowInput(const BatchLayout& layout, const BatchRecord& record,
                   std::string_view defaultName, RowInput& in, std::vector<CellNote>& notes);

// The block a header-named row belongs to: the block column's word when it
// names one; otherwise oxyspinel when any oxide reads non-zero, else
// thiospinel when S reads non-zero, else selenospinel when Se reads non-zero,
// else none (the row still gives a results row, with its blocks empty).
RowBlock blockOfRow(bool anyOxide, double sulfur, double selenium, RowBlock named);

// A block word of the block column ("Thiospinel", "sulfide" ...), or None.
RowBlock blockNamed(std::string_view word);

}  // namespace qarv
