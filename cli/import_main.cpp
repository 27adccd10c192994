#include "cli/ImportCommand.h"
#include "importer/ListFolder.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    importer::cleanUpOnSignals();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return cli::ImportCommand::run(args, std::cout, std::cerr);
}
