#pragma once
// Makes the program's safe file writes fail at a chosen step while it lives,
// as a full disk, missing rights or a failing rename would.

#include <filesystem>
#include <string>
#include <system_error>

#include "common/atomic_file.h"

namespace qarv::test {

class InjectedWriteFault {
  public:
    // Every write whose target's file name is `fileName` (any file when it
    // is empty) fails at `step` with `code`.
    InjectedWriteFault(FileWriteStep step, std::errc code, std::string fileName = {})
        : step_(step), code_(std::make_error_code(code)), fileName_(std::move(fileName)) {
        setFileWriteFault([this](FileWriteStep at, const std::filesystem::path& target) {
            if (at != step_ || (!fileName_.empty() && target.filename() != fileName_)) {
                return std::error_code{};
            }
            ++hits_;
            return code_;
        });
    }
    ~InjectedWriteFault() { setFileWriteFault({}); }
    InjectedWriteFault(const InjectedWriteFault&) = delete;
    InjectedWriteFault& operator=(const InjectedWriteFault&) = delete;

    // How many steps were made to fail.
    int hits() const { return hits_; }

  private:
    FileWriteStep step_;
    std::error_code code_;
    std::string fileName_;
    int hits_ = 0;
};

}  // namespace qarv::test
