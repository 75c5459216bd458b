#pragma once
// A file written under a temporary name in its target folder and put in
// place only when complete, so a failed or interrupted write never leaves a
// half-written file where a complete one is expected.
//
// The temporary file has an unpredictable name and is readable by its owner
// only while it is written; when it is put in place it takes the permissions
// of the file it replaces (or, for a new file, those the process's umask
// gives a new file). A target that is a symbolic link is written through: the
// file the link points to is replaced and the link stays.

#include <cstdio>
#include <filesystem>
#include <functional>
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

    // Whether commit() makes the bytes reach the disk before the rename, so
    // that a power cut cannot leave an empty file under the target's name.
    // On by default; files that every run makes anew may turn it off.
    void setDurable(bool durable) { durable_ = durable; }

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
    void failWithErrno(int code);

    std::FILE* file_ = nullptr;
    bool durable_ = true;
    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::string error_;
    std::error_code errorCode_;
};

// Names a fresh temporary file beside target and creates it, empty, with
// owner-only permissions (for writers that write the file themselves, such
// as a library that takes a file name). Returns the error when the folder
// cannot be written.
std::error_code createTemporaryBeside(const std::filesystem::path& target,
                                      std::filesystem::path& temp);
// Gives a complete temporary file the target's permissions and renames it
// onto the target; on failure the temporary file is removed and the target
// left as it was.
std::error_code replaceWithTemporary(const std::filesystem::path& temp,
                                     const std::filesystem::path& target);

// The steps of writing a file safely, as the fault seam below sees them.
enum class FileWriteStep { Create, Write, Finish, Replace };

// Fault seam for tests: while set, it is asked before each step of every
// safe file write (AtomicFile and the two functions above) and a non-empty
// answer makes that step fail with that error, as the system would fail it
// (ENOSPC while writing for a full disk, EACCES on creation for no rights).
// Not for use outside tests; not thread-safe.
using FileWriteFault =
    std::function<std::error_code(FileWriteStep step, const std::filesystem::path& target)>;
void setFileWriteFault(FileWriteFault fault);

}  // namespace qarv
