#include "cli/LookupCommand.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        return cli::LookupCommand::run(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        // Memory exhaustion while printing, say: an error, not an abort.
        std::cerr << "mirawen-lookup: " << e.what() << '\n';
        return cli::LookupCommand::kError;
    }
}
