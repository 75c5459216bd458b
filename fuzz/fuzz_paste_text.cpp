// Clipboard text and block text laid over a grid: the first four bytes
// choose the selection (corners may lie outside the grid), the rest is the
// text. Nothing outside the selection may change.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sheet/grid_editing.h"
#include "sheet/text_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qarv;
    if (size < 5) return 0;
    constexpr int kRows = 12;
    constexpr int kColumns = 9;
    TextGrid grid(kRows, kColumns);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) grid.setText(r, c, "k");
    const auto coordinate = [](std::uint8_t b, int count) {
        return static_cast<int>(b % (count + 4)) - 2;
    };
    grid.setCurrentCell({coordinate(data[0], kRows), coordinate(data[1], kColumns)});
    grid.setSelectionCorner({coordinate(data[2], kRows), coordinate(data[3], kColumns)});
    const Region selection = grid.selection();
    const bool asClipboard = (data[4] & 1) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 5), size - 5);

    if (asClipboard) {
        pasteText(grid, text);
    } else {
        grid.setClip(selection, text);
    }
    if (grid.rowCount() != kRows || grid.columnCount() != kColumns) std::abort();
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const bool inside = r >= selection.top && r <= selection.bottom &&
                                c >= selection.left && c <= selection.right;
            if (!inside && grid.text(r, c) != "k") std::abort();
            // No cell can hold more than the text it came from.
            if (grid.text(r, c).size() > text.size() + 1) std::abort();
        }
    }
    (void)selectionText(grid);
    return 0;
}
