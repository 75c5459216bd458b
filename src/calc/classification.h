#pragma once

#include <string>

namespace qarv {

// The name of one analysed block: empty texts wherever no rule set them.
struct SpinelClassification {
    std::string group;
    std::string subgroup;
    std::string dominantA;
    std::string dominantB;
    std::string species;
    friend bool operator==(const SpinelClassification&, const SpinelClassification&) = default;
};

}  // namespace qarv
