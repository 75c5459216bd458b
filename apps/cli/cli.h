#pragma once
// The command-line program: calculates analysis files without a window.

#include <ostream>
#include <string>
#include <vector>

#include "results/number_format.h"

namespace qarv {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 2;
inline constexpr const char* kResultsFileName = "results.tsv";

// args are the arguments after the program name.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const NumberFormatSettings& settings);

// The digit-group and decimal characters of the environment's LC_NUMERIC;
// "," and "." where the locale defines no digit-group character.
NumberFormatSettings numberSettingsFromEnvironment();

}  // namespace qarv
