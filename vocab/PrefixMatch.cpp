#include "vocab/PrefixMatch.h"

#include "vocab/EntryStore.h"
#include "vocab/Mbcs.h"
#include "vocab/SoundKey.h"

#include <cstdint>
#include <optional>

namespace vocab {

namespace {

// The prefix bits a key must have to begin with text, and which of them
// count; empty unless the text's first eight bytes are plain ASCII, where a
// key's prefix holds its bytes as they are.
struct Wanted {
    std::uint64_t bits = 0;
    std::uint64_t mask = 0;
};
std::optional<Wanted> plainPrefix(std::string_view text) {
    const std::string_view head = text.substr(0, 8);
    if (head.empty() || !mbcs::isPlain(head)) {
        return std::nullopt;
    }
    return Wanted{mbcs::sortPrefix(head).value, ~std::uint64_t{0} << (8 * (8 - head.size()))};
}

} // namespace

MatchResult prefixMatch(const EntryStore& store, std::string_view input) {
    const std::string folded = foldInput(input);
    // For a plain ASCII input the first eight bytes of a key are those of its
    // prefix, so keys that cannot match are passed over without reading them
    // (once one key is known to be long enough), and an input of up to eight
    // bytes is decided by the prefix alone.
    const std::optional<Wanted> wanted = plainPrefix(folded);
    MatchResult result;
    for (std::size_t i = 0; i < store.size(); ++i) {
        if (wanted && (store.keyPrefix(i) & wanted->mask) != wanted->bits) {
            if (!result.anyLongEnough && store.key(i).size() >= folded.size()) {
                result.anyLongEnough = true;
            }
            continue;
        }
        const std::string_view key = store.key(i);
        if (key.size() < folded.size()) {
            continue;
        }
        result.anyLongEnough = true;
        // Cutting the key may leave half a character at its end; the
        // comparison then counts that half as the end of the key.
        const std::string_view head = key.substr(0, folded.size());
        const bool match =
            (wanted && folded.size() <= 8) || head == folded || mbcs::compare(head, folded) == 0;
        if (match) {
            result.indices.push_back(i);
            if (folded.size() == 1) {
                break;
            }
        }
    }
    return result;
}

} // namespace vocab
