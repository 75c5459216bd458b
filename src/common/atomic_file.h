#pragma once
// A file written under a temporary name in its target folder and put in
// place only when complete, so a failed or interrupted write never leaves a
// half-written file where a complete one is expected.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace qarv {

class AtomicFile {
  public:
    AtomicFile() = default;
    explicit AtomicFile(std::filesystem::path target) { open(std::move(target)); }
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    AtomicFile(AtomicFile&& other) noexcept;
    AtomicFile& operator=(AtomicFile&& other) noexcept;
    // Drops the temporary file unless commit() succeeded.
    ~AtomicFile();

    // Creates the temporary file beside target; false (with error()) if the
    // folder cannot be written.
    bool open(std::filesystem::path target);
    bool isOpen() const { return file_ != nullptr; }

    // Appends bytes; a failure is remembered and reported by commit().
    void write(std::string_view bytes);

    // Flushes, closes and renames the temporary file onto the target. On
    // failure the target is left as it was and false is returned.
    bool commit();
    // Closes and removes the temporary file; the target is left as it was.
    void discard();

    const std::string& error() const { return error_; }
    // The first failure as an error code (empty when none was reported).
    const std::error_code& errorCode() const { return errorCode_; }
    const std::filesystem::path& target() const { return target_; }

  private:
    void fail(const std::string& what, std::error_code code = {});

    std::FILE* file_ = nullptr;
    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::string error_;
    std::error_code errorCode_;
};

}  // namespace qarv
