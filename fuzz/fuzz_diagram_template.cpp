// Plot templates (.grf): any text is parsed; a template that parses writes
// back to a text that parses to the same template.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "diagrams/diagram_template.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qarv;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TemplateParseResult parsed = parseTemplate(text);
    if (!parsed.ok()) return 0;
    const std::string written = writeTemplate(parsed.diagram);
    const TemplateParseResult again = parseTemplate(written);
    if (!again.ok() || !(again.diagram == parsed.diagram)) std::abort();
    return 0;
}
