#pragma once
// Conversion between the program's UTF-8 text and the Windows-1252 bytes that
// analysis files and diagram data files hold on disk.

#include <string>
#include <string_view>

namespace qarv {

// Every byte decodes: the five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same
// number, so a file survives a load and a save unchanged.
std::string decodeWindows1252(std::string_view bytes);

// Characters that Windows-1252 cannot hold, and bytes that are not valid
// UTF-8, are written as "?".
std::string encodeWindows1252(std::string_view utf8);

}  // namespace qarv
