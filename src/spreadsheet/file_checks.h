#pragma once
// Checks shared by the workbook readers (not part of the module's interface).

#include <filesystem>
#include <string>

namespace qarv::detail {

// 0 when the path names a regular file that can be opened for reading;
// else its run-time error number (53, 76, 75, ...) with a message.
int checkReadableFile(const std::filesystem::path& path, std::string& message);

}  // namespace qarv::detail
