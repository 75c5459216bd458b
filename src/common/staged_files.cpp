#include "common/staged_files.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace qarv {
namespace fs = std::filesystem;

StagingFolder::~StagingFolder() {
    if (!path_.empty()) {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
}

bool StagingFolder::create(const fs::path& parent, std::string& error) {
    // mkdtemp: an unpredictable name, made only if new, readable by the
    // owner alone until its files are moved out.
    std::string pattern = (parent / ".qarvelion-run-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        error = std::error_code(errno, std::generic_category()).message();
        path_.clear();
        return false;
    }
    path_ = pattern;
    return true;
}

bool replaceAll(const fs::path& from, const fs::path& to, const std::vector<std::string>& names,
                std::string& error) {
    std::error_code ec;
    for (const std::string& name : names) {
        const auto status = fs::symlink_status(to / name, ec);
        if (fs::exists(status) && !fs::is_regular_file(status)) {
            error = "'" + (to / name).string() + "': something other than a file is in the way";
            return false;
        }
    }
    const fs::path previous = from / "previous";
    fs::create_directory(previous, ec);
    if (ec) {
        error = "'" + to.string() + "': " + ec.message();
        return false;
    }
    struct Moved {
        std::string name;
        bool hadPrevious;
    };
    std::vector<Moved> moved;
    for (const std::string& name : names) {
        const bool hadPrevious = fs::exists(to / name, ec);
        if (hadPrevious) fs::rename(to / name, previous / name, ec);
        if (!ec) fs::rename(from / name, to / name, ec);
        if (ec) {
            error = "'" + (to / name).string() + "': " + ec.message();
            if (hadPrevious && fs::exists(previous / name)) {
                std::error_code ignored;
                fs::rename(previous / name, to / name, ignored);
            }
            for (auto it = moved.rbegin(); it != moved.rend(); ++it) {
                std::error_code ignored;
                fs::remove(to / it->name, ignored);
                if (it->hadPrevious) fs::rename(previous / it->name, to / it->name, ignored);
            }
            return false;
        }
        moved.push_back({name, hadPrevious});
    }
    return true;
}

}  // namespace qarv
