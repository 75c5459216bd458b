#include "diagrams/bounded_file.h"

#include <fstream>
#include <system_error>

namespace qarv {

bool readBoundedFile(const std::filesystem::path& path, std::size_t maxBytes, std::string& bytes,
                     std::string& error) {
    bytes.clear();
    const std::string name = path.filename().string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = std::filesystem::exists(path, ec) ? "'" + name + "' is not a file"
                                                  : "'" + name + "' not found";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read '" + name + "'";
        return false;
    }
    const std::string tooLarge =
        "'" + name + "': larger than " +
        (maxBytes >= (1u << 20) ? std::to_string(maxBytes >> 20) + " MB"
                                : std::to_string(maxBytes) + " bytes");
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > maxBytes) {
        error = tooLarge;
        return false;
    }
    // Read in pieces, never more than the limit and one byte.
    char chunk[1 << 16];
    while (in && bytes.size() <= maxBytes) {
        in.read(chunk, sizeof chunk);
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (bytes.size() > maxBytes) {
        bytes.clear();
        error = tooLarge;
        return false;
    }
    return true;
}

}  // namespace qarv
