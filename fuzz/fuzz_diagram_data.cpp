// Diagram data files as the grapher reads them back: any bytes; the result
// keeps within the reader's bounds.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "diagrams/diagram_data_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qarv;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DataReadResult result = parseDiagramData(bytes);
    if (!result.ok()) return 0;
    if (result.data.titles.size() > kMaxDataColumns) std::abort();
    if (result.data.warnings.size() > kMaxDataWarnings) std::abort();
    for (const DataPoint& point : result.data.points) {
        if (point.values.size() != result.data.titles.size()) std::abort();
    }
    double value = 0;
    (void)parseDataNumber(bytes.substr(0, 64), value);
    return 0;
}
