#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace vocab {

// Why one word list could not be read.
enum class FailureKind {
    Missing,        // no file of that name
    NotRegularFile, // a folder, a device, a FIFO: never read, never waited for
    Unreadable,     // it exists but could not be read, memory exhaustion included
    TooLarge,       // the lists together would pass EntryStore::kMaxTextBytes
};

struct ListFailure {
    std::size_t list; // index into kWordLists
    FailureKind kind;
    std::error_code error; // the system's code, where it gave one

    [[nodiscard]] std::string_view fileName() const;
    // Why, in the system's words where it gave them: "Permission denied".
    [[nodiscard]] std::string reason() const;
    // For the command line: "cannot read 大学四级.txt: Permission denied".
    [[nodiscard]] std::string message() const;
};

// Bytes after a Ctrl-Z that the end-of-list rule dropped, when any of them
// was more than white space.
struct IgnoredTail {
    std::size_t list;
    std::size_t bytes;
};

// NUL bytes in a list as read, which no list's text has: a list in an
// encoding that was not recognised, or no word list at all.
struct NulBytes {
    std::size_t list;
    std::size_t count;
};

// The outcome of loading the word lists. The lists that could be read are in
// the store whatever failed; failures are in the order of the lists.
struct LoadResult {
    std::vector<ListFailure> failures;
    std::vector<IgnoredTail> ignored;
    std::vector<NulBytes> nuls;

    [[nodiscard]] bool ok() const { return failures.empty(); }
};

} // namespace vocab
