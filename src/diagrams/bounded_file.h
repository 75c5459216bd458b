#pragma once
// Whole small text files for the grapher's readers (templates, data files).

#include <cstddef>
#include <filesystem>
#include <string>

namespace qarv {

// Reads the file into bytes, never more than maxBytes of it. false with a
// message naming the file when it is missing, not a regular file (a folder,
// a FIFO, a device), unreadable, or larger than maxBytes — also when it
// grows past the limit while it is read.
bool readBoundedFile(const std::filesystem::path& path, std::size_t maxBytes, std::string& bytes,
                     std::string& error);

}  // namespace qarv
