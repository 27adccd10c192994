#include "vocab/PrefixMatch.h"

#include "vocab/EntryStore.h"
#include "vocab/Mbcs.h"
#include "vocab/SoundKey.h"

namespace vocab {

MatchResult prefixMatch(const EntryStore& store, std::string_view input) {
    const std::string folded = foldInput(input);
    MatchResult result;
    for (std::size_t i = 0; i < store.size(); ++i) {
        const std::string_view key = store.key(i);
        if (key.size() < folded.size()) {
            continue;
        }
        result.anyLongEnough = true;
        // Cutting the key may leave half a character at its end; the
        // comparison then counts that half as the end of the key.
        const std::string_view head = key.substr(0, folded.size());
        if (head == folded || mbcs::compare(head, folded) == 0) {
            result.indices.push_back(i);
            if (folded.size() == 1) {
                break;
            }
        }
    }
    return result;
}

} // namespace vocab
