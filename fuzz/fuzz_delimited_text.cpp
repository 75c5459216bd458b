// The batch reader of delimited text: CSV, TSV and analysis-file block text,
// chosen by the first byte, read record by record with small limits so that
// a huge record or field count shows as an error.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sheet/delimited_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qarv;
    if (size < 1) return 0;
    const DelimitedFormat formats[] = {DelimitedFormat::Csv, DelimitedFormat::Tsv,
                                       DelimitedFormat::AnalysisFile};
    const DelimitedFormat format = formats[data[0] % 3];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    DelimitedLimits limits;
    limits.maxRecordBytes = 4096;
    limits.maxFields = 64;
    DelimitedReader reader;
    if (!reader.openBytes(bytes, format, limits)) return 0;
    std::size_t records = 0;
    while (reader.next()) {
        if (reader.fieldCount() > limits.maxFields) std::abort();
        std::size_t bytesInFields = 0;
        for (std::size_t i = 0; i < reader.fieldCount(); ++i) {
            bytesInFields += reader.field(i).size();
            (void)reader.fieldText(i);
        }
        if (bytesInFields > limits.maxRecordBytes) std::abort();
        // Every record takes at least one byte of input.
        if (++records > bytes.size() + 1) std::abort();
    }
    return 0;
}
