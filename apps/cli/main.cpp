#include <iostream>

#include "cli.h"

int main(int argc, char** argv) {
    const qarv::NumberFormatSettings settings = qarv::numberSettingsFromEnvironment();
    std::vector<std::string> args(argv + 1, argv + argc);
    return qarv::runCli(args, std::cout, std::cerr, settings);
}
