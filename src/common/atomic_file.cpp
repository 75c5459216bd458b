#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

namespace qarv {
namespace {

namespace fs = std::filesystem;

FileWriteFault& fileWriteFault() {
    static FileWriteFault fault;
    return fault;
}

std::error_code injectedFault(FileWriteStep step, const fs::path& target) {
    const FileWriteFault& fault = fileWriteFault();
    return fault ? fault(step, target) : std::error_code{};
}

std::error_code errnoCode(int code) {
    return {code != 0 ? code : EIO, std::generic_category()};
}

// Temporary names must not be guessable; the generator is seeded once from
// the system's random source, which is slow to open for every file.
std::string randomSuffix() {
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::string suffix;
    for (int i = 0; i < 12; ++i) suffix.push_back(kDigits[generator() % 36]);
    return suffix;
}

// The permissions a new file gets from the process's umask. Linux shows the
// umask in /proc; elsewhere it is read by setting and restoring it.
mode_t newFileMode() {
    static const mode_t mode = [] {
        mode_t mask = 022;
        std::ifstream status("/proc/self/status");
        std::string line;
        bool found = false;
        while (std::getline(status, line)) {
            if (line.rfind("Umask:", 0) == 0) {
                mask = static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
                found = true;
                break;
            }
        }
        if (!found) {
            mask = ::umask(022);
            ::umask(mask);
        }
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

// The file a write to target replaces: a symbolic link is followed, so the
// link survives and its file is the one replaced.
fs::path resolvedTarget(const fs::path& target) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
    const fs::path resolved = fs::weakly_canonical(target, ec);
    return ec ? target : resolved;
}

// Creates an empty temporary file beside target, readable and writable by
// its owner only; returns its descriptor or -1 with errno set.
int createTemporaryFile(const fs::path& target, fs::path& temp) {
    const fs::path folder = target.parent_path();
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp = folder / ("." + target.filename().string() + "." + randomSuffix() + ".tmp");
        // O_EXCL: fails if the name exists, so another file is never
        // overwritten and a planted link is never followed.
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    const int saved = errno;
    temp.clear();
    errno = saved;
    return -1;
}

// The permissions the finished file takes: those of the file it replaces,
// else those of a new file.
void giveTargetPermissions(int fd, const fs::path& target) {
    struct stat old {};
    const mode_t mode = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)
                            ? static_cast<mode_t>(old.st_mode & 07777)
                            : newFileMode();
    // A failure here leaves the file private, which loses nothing.
    (void)::fchmod(fd, mode);
}

}  // namespace

void setFileWriteFault(FileWriteFault fault) {
    fileWriteFault() = std::move(fault);
}

std::error_code createTemporaryBeside(const fs::path& target, fs::path& temp) {
    temp.clear();
    const fs::path resolved = resolvedTarget(target);
    std::error_code ec;
    if (fs::is_directory(resolved, ec)) return std::make_error_code(std::errc::is_a_directory);
    if (const std::error_code fault = injectedFault(FileWriteStep::Create, resolved)) return fault;
    const int fd = createTemporaryFile(resolved, temp);
    if (fd < 0) return errnoCode(errno);
    ::close(fd);
    return {};
}

std::error_code replaceWithTemporary(const fs::path& temp, const fs::path& target) {
    const fs::path resolved = resolvedTarget(target);
    std::error_code ec = injectedFault(FileWriteStep::Finish, resolved);
    if (!ec) {
        const int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            ec = errnoCode(errno);
        } else {
            giveTargetPermissions(fd, resolved);
            if (::fsync(fd) != 0) ec = errnoCode(errno);
            ::close(fd);
        }
    }
    if (!ec) ec = injectedFault(FileWriteStep::Replace, resolved);
    if (!ec) fs::rename(temp, resolved, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
    }
    return ec;
}

AtomicFile::AtomicFile(AtomicFile&& other) noexcept {
    *this = std::move(other);
}

AtomicFile& AtomicFile::operator=(AtomicFile&& other) noexcept {
    if (this != &other) {
        discard();
        file_ = other.file_;
        durable_ = other.durable_;
        target_ = std::move(other.target_);
        temp_ = std::move(other.temp_);
        error_ = std::move(other.error_);
        errorCode_ = other.errorCode_;
        other.file_ = nullptr;
        other.temp_.clear();
        other.error_.clear();
        other.errorCode_.clear();
    }
    return *this;
}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::fail(const std::string& what, std::error_code code) {
    if (!error_.empty()) return;
    error_ = what;
    errorCode_ = code ? code : std::make_error_code(std::errc::io_error);
}

void AtomicFile::failWithErrno(int code) {
    const std::error_code ec = errnoCode(code);
    fail(ec.message(), ec);
}

bool AtomicFile::open(fs::path target) {
    discard();
    error_.clear();
    errorCode_.clear();
    target_ = resolvedTarget(target);
    std::error_code ec;
    if (fs::is_directory(target_, ec)) {
        fail("it is a folder", std::make_error_code(std::errc::is_a_directory));
        return false;
    }
    if (const std::error_code fault = injectedFault(FileWriteStep::Create, target_)) {
        fail(fault.message(), fault);
        return false;
    }
    const int fd = createTemporaryFile(target_, temp_);
    if (fd < 0) {
        failWithErrno(errno);
        return false;
    }
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        failWithErrno(errno);
        ::close(fd);
        discard();
        return false;
    }
    return true;
}

void AtomicFile::write(std::string_view bytes) {
    if (file_ == nullptr || bytes.empty() || !error_.empty()) return;
    if (const std::error_code fault = injectedFault(FileWriteStep::Write, target_)) {
        fail(fault.message(), fault);
        return;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failWithErrno(errno);
}

bool AtomicFile::commit() {
    if (file_ == nullptr) {
        fail("the file was not created", std::make_error_code(std::errc::bad_file_descriptor));
        return false;
    }
    if (error_.empty()) {
        if (const std::error_code fault = injectedFault(FileWriteStep::Finish, target_)) {
            fail(fault.message(), fault);
        }
    }
    // A full disk often shows only here, when the buffered bytes go out.
    if (error_.empty() && std::fflush(file_) != 0) failWithErrno(errno);
    if (error_.empty()) {
        giveTargetPermissions(::fileno(file_), target_);
        if (durable_ && ::fsync(::fileno(file_)) != 0) failWithErrno(errno);
    }
    if (std::fclose(file_) != 0) failWithErrno(errno);
    file_ = nullptr;
    if (error_.empty()) {
        std::error_code ec = injectedFault(FileWriteStep::Replace, target_);
        if (!ec) fs::rename(temp_, target_, ec);
        if (ec) fail(ec.message(), ec);
    }
    if (!error_.empty()) {
        std::error_code ignored;
        fs::remove(temp_, ignored);
        temp_.clear();
        return false;
    }
    temp_.clear();
    return true;
}

void AtomicFile::discard() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        std::error_code ignored;
        fs::remove(temp_, ignored);
        temp_.clear();
    }
}

}  // namespace qarv
