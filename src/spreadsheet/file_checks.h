#pragma once
// Checks shared by the workbook readers (not part of the module's interface).

#include <filesystem>
#include <string>

namespace qarv::detail {

// 0 when the path names a regular file that can be opened for reading;
// else its run-time error number (53, 76, 75, ...) with a message.
int checkReadableFile(const std::filesystem::path& path, std::string& message);

// The writers' way to a file: the target's folder is checked and a fresh
// temporary file reserved beside the target (0, or a run-time error number
// with a message).
int reserveTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& temp,
                           std::string& message);
// Renames the complete temporary file onto the target; on failure the
// temporary file is removed and the target left as it was.
int putInPlace(const std::filesystem::path& temp, const std::filesystem::path& target,
               std::string& message);

}  // namespace qarv::detail
