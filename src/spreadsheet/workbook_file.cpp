#include "spreadsheet/workbook_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "common/atomic_file.h"
#include "common/run_errors.h"
#include "spreadsheet/file_checks.h"

namespace qarv {

namespace detail {

int checkReadableFile(const std::filesystem::path& path, std::string& message) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        if (!ec) ec = std::make_error_code(std::errc::no_such_file_or_directory);
        message = "cannot find " + path.string();
        return runErrorNumber(ec, path);
    }
    if (std::filesystem::is_directory(status)) {
        message = path.string() + " is a folder";
        return err::kPathFileAccessError;
    }
    // A pipe would block the reader and a device never ends: only regular
    // files are workbooks.
    if (!std::filesystem::is_regular_file(status)) {
        message = path.string() + " is not a regular file";
        return err::kInvalidFileFormat;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        const std::error_code openError(errno, std::generic_category());
        message = "cannot open " + path.string() + ": " + openError.message();
        return runErrorNumber(openError, path);
    }
    std::fclose(file);
    return err::kNone;
}

int reserveTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& temp,
                           std::string& message) {
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        message = "no folder " + folder.string();
        return err::kPathNotFound;
    }
    if (std::filesystem::is_directory(target, ec)) {
        message = target.string() + " is a folder";
        return err::kPathFileAccessError;
    }
    if (const std::error_code created = createTemporaryBeside(target, temp)) {
        message = "cannot write in " + folder.string() + ": " + created.message();
        return runErrorNumber(created, target);
    }
    return err::kNone;
}

int putInPlace(const std::filesystem::path& temp, const std::filesystem::path& target,
               std::string& message) {
    const std::error_code ec = replaceWithTemporary(temp, target);
    if (!ec) return err::kNone;
    message = "cannot put " + target.string() + " in place: " + ec.message();
    return runErrorNumber(ec, target);
}

}  // namespace detail

WorkbookFileKind workbookFileKind(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return WorkbookFileKind::Unknown;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return WorkbookFileKind::Unknown;
    unsigned char head[8] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    static constexpr unsigned char kZip[4] = {'P', 'K', 0x03, 0x04};
    static constexpr unsigned char kOle2[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (got >= 4 && std::memcmp(head, kZip, 4) == 0) return WorkbookFileKind::Xlsx;
    if (got == 8 && std::memcmp(head, kOle2, 8) == 0) return WorkbookFileKind::Xls;
    return WorkbookFileKind::Unknown;
}

WorkbookReadResult readWorkbookFile(const std::filesystem::path& path,
                                    const WorkbookReadLimits& limits) {
    WorkbookReadResult result;
    result.error = detail::checkReadableFile(path, result.message);
    if (!result.ok()) return result;
    switch (workbookFileKind(path)) {
        case WorkbookFileKind::Xlsx:
            return readXlsxFile(path, limits);
        case WorkbookFileKind::Xls:
            return readXlsFile(path, limits);
        case WorkbookFileKind::Unknown:
            break;
    }
    result.error = err::kInvalidFileFormat;
    result.message = path.string() + " is neither an .xlsx nor an .xls workbook";
    return result;
}

}  // namespace qarv
