#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace importer {

// What an import counted on its way through the CSV.
struct Tally {
    std::size_t rows = 0;
    std::size_t untagged = 0;
    std::size_t badWord = 0;
    std::size_t emptyPhonetic = 0;
    std::size_t notUtf8 = 0;
    std::map<char32_t, std::size_t> dropped; // transcription characters without a key
};

// The two lists an import makes, as they are written: UTF-8 with a byte-order
// mark, which every reader of the lists takes as UTF-8 without guessing, one
// `WORD [CODE] MEANING` line a row, CR LF after each.
struct ImportedLists {
    std::array<std::string, 2> lists;
    std::array<std::size_t, 2> entries{};
    Tally tally;
};

// Where the CSV's bytes come from: fills buffer with up to size bytes and
// returns how many, 0 at the end; an error is a message naming it.
struct ReadResult {
    std::size_t bytes = 0;
    std::optional<std::string> error;
};
using ReadBytes = std::function<ReadResult(char* buffer, std::size_t size)>;

// Told how many bytes have been read so far; false stops the import.
using KeepGoing = std::function<bool(std::uint64_t bytesRead)>;

// No ECDICT field or row comes near this; a larger one means the file is not
// the dictionary (or is endless), and memory stays bounded whatever it is.
inline constexpr std::size_t kMaxRowBytes = std::size_t{1} << 20;

// The outcome of reading ECDICT's CSV: the lists, or why there are none.
struct ReadOutcome {
    std::optional<ImportedLists> lists;
    std::string error;    // when lists is empty and the import was not stopped
    bool stopped = false; // keepGoing said no
};

// Reads ECDICT's CSV once: the rows tagged cet4 make the Band 4 list, those
// tagged cet6 and not cet4 the Band 6 list, each transcription turned into
// the keyboard code of the phonetic font. Columns are found by name.
[[nodiscard]] ReadOutcome readEcdict(const ReadBytes& read, const KeepGoing& keepGoing = {});

// The meaning of a row: the translation on one line, each line break and each
// written "\n" one space (a Ctrl-Z, which would end a list, too), then
// trimmed.
[[nodiscard]] std::string meaningOf(std::string_view translation);

// 0 for Band 4, 1 for Band 6, empty for neither, from ECDICT's space-separated
// tags.
[[nodiscard]] std::optional<std::size_t> bandOf(std::string_view tags);

} // namespace importer
