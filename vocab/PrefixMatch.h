#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace vocab {

class EntryStore;

struct MatchResult {
    std::vector<std::size_t> indices; // store indices to select, in store order
    bool anyLongEnough = false;       // some key was at least as long as the input
};

// The entries whose keys begin with the folded input. input must not be
// empty. An input of a single byte reports only its first match.
[[nodiscard]] MatchResult prefixMatch(const EntryStore& store, std::string_view input);

} // namespace vocab
