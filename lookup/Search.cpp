#include "lookup/Search.h"

#include "codec/Codec.h"
#include "vocab/PrefixMatch.h"

namespace lookup {

SearchOutcome search(const vocab::EntryStore& store, std::u16string_view typed) {
    SearchOutcome outcome;
    if (typed.empty()) {
        return outcome;
    }
    outcome.act = true;
    const vocab::MatchResult match = vocab::prefixMatch(store, codec::fromUtf16(typed));
    outcome.focusList = match.anyLongEnough;
    // One selection change per run rather than per row.
    for (std::size_t row : match.indices) {
        if (!outcome.rows.empty() && outcome.rows.back().last + 1 == row) {
            outcome.rows.back().last = row;
        } else {
            outcome.rows.push_back({row, row});
        }
    }
    if (!match.indices.empty()) {
        outcome.scrollTo.push_back(match.indices.front());
        if (match.indices.back() != match.indices.front()) {
            outcome.scrollTo.push_back(match.indices.back());
        }
    }
    return outcome;
}

} // namespace lookup
