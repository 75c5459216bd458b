#pragma once
// The readers of workbooks take a file name: each input is written to one
// file in a memory-backed folder, rewritten for every run.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace qarv::fuzz {

inline const std::filesystem::path& inputFile(const char* extension) {
    static const std::filesystem::path path = [extension] {
        const std::filesystem::path folder = std::filesystem::exists("/dev/shm")
                                                 ? "/dev/shm"
                                                 : std::filesystem::temp_directory_path();
        return folder / ("qarvelion-fuzz-" + std::to_string(::getpid()) + extension);
    }();
    return path;
}

inline const std::filesystem::path& writeInput(const std::uint8_t* data, std::size_t size,
                                               const char* extension) {
    const std::filesystem::path& path = inputFile(extension);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file != nullptr) {
        if (size > 0) std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}

}  // namespace qarv::fuzz
