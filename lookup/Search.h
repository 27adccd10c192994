#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace vocab {
class EntryStore;
}

namespace lookup {

// A run of consecutive rows, first to last inclusive.
struct RowRange {
    std::size_t first;
    std::size_t last;
    bool operator==(const RowRange&) const = default;
};

// What OK does to the window. When act is set, the old selection goes first,
// then the list takes the focus if focusList says so, the rows are selected
// (none becomes current), and the list scrolls to each of scrollTo in turn:
// the first match, then the last, which leaves the last in view with as
// many of the earlier ones as fit above it.
struct SearchOutcome {
    bool act = false;       // false for an empty box: nothing changes, not even the selection
    bool focusList = false; // some key is at least as long as the input
    std::vector<RowRange> rows;
    std::vector<std::size_t> scrollTo;
};

// The outcome of OK on the text typed into the box, as either toolkit holds
// it. The box keeps the text as typed; only the comparison folds it. A lone
// surrogate is searched as U+FFFD, and a character outside GBK as its
// GB18030 bytes: both are in no key.
[[nodiscard]] SearchOutcome search(const vocab::EntryStore& store, std::u16string_view typed);

} // namespace lookup
