#pragma once

#include <string_view>

namespace qarv {

// The name of one analysed block: empty texts wherever no rule set them.
// Every text is one of the classification's fixed names, held for the
// program's lifetime, so the record refers to them instead of copying them.
struct SpinelClassification {
    std::string_view group;
    std::string_view subgroup;
    std::string_view dominantA;
    std::string_view dominantB;
    std::string_view species;
    friend bool operator==(const SpinelClassification&, const SpinelClassification&) = default;
};

}  // namespace qarv
