#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// mirawen-lookup: the window's search on the command line.
//
//   mirawen-lookup [--dir DIR] [--tsv] [--encoding utf-8|gbk] [--ipa] [--] [INPUT]
//
// Loads both word lists exactly as the window does and prints every entry, or
// with INPUT the entries that the window's OK would select. The exit status is
// grep's: 0 when something was printed, 1 when nothing was, 2 on an error.
class LookupCommand {
public:
    static constexpr int kFound = 0;
    static constexpr int kNotFound = 1;
    static constexpr int kError = 2;

    // args excludes the program name.
    [[nodiscard]] static int run(const std::vector<std::string>& args, std::ostream& out,
                                 std::ostream& err);
};

} // namespace cli
