#pragma once

#include <string>
#include <vector>

namespace vocab {

// Why one word list could not be read.
struct ListFailure {
    std::string fileName; // as listed in kWordLists
    std::string action;   // "open" or "read"
    std::string reason;   // the system's description, e.g. "No such file or directory"

    std::string message() const { return "cannot " + action + " " + fileName + ": " + reason; }
};

// The outcome of loading the word lists: every list that failed, by name.
// The lists that could be read are in the store whatever failed.
struct LoadResult {
    std::vector<ListFailure> failures;

    bool ok() const { return failures.empty(); }
};

} // namespace vocab
