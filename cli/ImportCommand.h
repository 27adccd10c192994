#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// mirawen-import: the Band 4 and Band 6 lists from the open ECDICT dictionary.
//
//   mirawen-import [--dir DIR] [--force] CSV
//
// Reads ECDICT's CSV once and writes the rows tagged cet4 to 大学四级.txt and
// those tagged cet6 but not cet4 to 大学六级.txt, as `WORD [CODE] MEANING`
// lines in UTF-8 with CR LF, CODE being the transcription in the phonetic
// font's keyboard code. Existing lists are replaced only with --force, and
// then both together: a failure leaves them as they were.
// Exit status: 0 when an entry was written, 1 when no row was selected, 2 on
// an error.
class ImportCommand {
public:
    static constexpr int kWritten = 0;
    static constexpr int kNothingSelected = 1;
    static constexpr int kError = 2;

    // args excludes the program name.
    [[nodiscard]] static int run(const std::vector<std::string>& args, std::ostream& out,
                                 std::ostream& err);
};

} // namespace cli
