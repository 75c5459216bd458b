#pragma once
// Small helpers shared by the test suites.

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>

namespace qarv::test {

// A fresh folder removed with everything in it when the test ends.
class TempDir {
public:
    TempDir() {
        std::random_device device;
        path_ = std::filesystem::temp_directory_path() /
                ("qarvelion-test-" + std::to_string(device()) + std::to_string(device()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Where two texts part, with the line in which they do.
inline std::string firstDifference(std::string_view want, std::string_view got) {
    std::size_t i = 0;
    while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
    const std::size_t lineStart = want.rfind('\n', i == 0 ? 0 : i - 1);
    const std::size_t from = lineStart == std::string_view::npos ? 0 : lineStart + 1;
    const auto lineOf = [from](std::string_view s) {
        const std::string_view rest = from < s.size() ? s.substr(from) : std::string_view{};
        return std::string(rest.substr(0, rest.find('\n')));
    };
    std::ostringstream out;
    out << "first difference at byte " << i << " (sizes " << want.size() << " and " << got.size()
        << ")\n want: " << lineOf(want) << "\n  got: " << lineOf(got);
    return out.str();
}

}  // namespace qarv::test
