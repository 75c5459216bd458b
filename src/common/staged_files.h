#pragma once
// Outputs made in a private folder inside their target folder and moved into
// place together once every one is complete, so the target folder holds
// either all new files or all its old ones.

#include <filesystem>
#include <string>
#include <vector>

namespace qarv {

class StagingFolder {
  public:
    StagingFolder() = default;
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;
    // Removes the folder and whatever is still in it.
    ~StagingFolder();

    // Makes a fresh hidden folder inside parent; false with error otherwise.
    bool create(const std::filesystem::path& parent, std::string& error);
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Moves the named files from `from` into `to`, replacing the files there. If
// one cannot be put in place, the ones already moved are taken back and the
// earlier files restored. error names the file and the reason.
bool replaceAll(const std::filesystem::path& from, const std::filesystem::path& to,
                const std::vector<std::string>& names, std::string& error);

}  // namespace qarv
