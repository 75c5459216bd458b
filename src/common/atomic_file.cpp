#include "common/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

namespace qarv {
namespace {

// Temporary names must not be guessable; the generator is seeded once from
// the system's random source, which is slow to open for every file.
std::string randomSuffix() {
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::string suffix;
    for (int i = 0; i < 12; ++i) suffix.push_back(kDigits[generator() % 36]);
    return suffix;
}

}  // namespace

AtomicFile::AtomicFile(AtomicFile&& other) noexcept {
    *this = std::move(other);
}

AtomicFile& AtomicFile::operator=(AtomicFile&& other) noexcept {
    if (this != &other) {
        discard();
        file_ = other.file_;
        target_ = std::move(other.target_);
        temp_ = std::move(other.temp_);
        error_ = std::move(other.error_);
        other.file_ = nullptr;
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

bool AtomicFile::open(std::filesystem::path target) {
    discard();
    error_.clear();
    target_ = std::move(target);
    std::error_code ec;
    if (std::filesystem::is_directory(target_, ec)) {
        fail("it is a folder", std::make_error_code(std::errc::is_a_directory));
        return false;
    }
    const auto folder = target_.parent_path();
    for (int attempt = 0; attempt < 16 && file_ == nullptr; ++attempt) {
        temp_ = folder / ("." + target_.filename().string() + "." + randomSuffix() + ".tmp");
        // "x": fails if the name exists, so another file is never overwritten.
        file_ = std::fopen(temp_.string().c_str(), "wbx");
        if (file_ == nullptr && errno != EEXIST) break;
    }
    if (file_ == nullptr) {
        const int code = errno;
        fail(std::strerror(code), std::error_code(code, std::generic_category()));
        temp_.clear();
        return false;
    }
    return true;
}

void AtomicFile::write(std::string_view bytes) {
    if (file_ == nullptr || bytes.empty()) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        const int code = errno;
        fail(std::strerror(code), std::error_code(code, std::generic_category()));
    }
}

bool AtomicFile::commit() {
    if (file_ == nullptr) {
        fail("the file was not created", std::make_error_code(std::errc::bad_file_descriptor));
        return false;
    }
    if (std::fflush(file_) != 0) fail(std::strerror(errno), {errno, std::generic_category()});
    if (std::fclose(file_) != 0) fail(std::strerror(errno), {errno, std::generic_category()});
    file_ = nullptr;
    if (error_.empty()) {
        std::error_code ec;
        std::filesystem::rename(temp_, target_, ec);
        if (ec) fail(ec.message(), ec);
    }
    if (!error_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temp_, ignored);
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
        std::filesystem::remove(temp_, ignored);
        temp_.clear();
    }
}

}  // namespace qarv
