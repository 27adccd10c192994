#include "vocab/PrefixMatch.h"

#include "vocab/EntryStore.h"
#include "vocab/Mbcs.h"
#include "vocab/SoundKey.h"

#include <cstdint>
#include <optional>

namespace vocab {

namespace {

// The first eight bytes of a plain ASCII text as a sort prefix has them, and
// a mask of the bytes it has; empty when the text is not plain ASCII there.
struct Wanted {
    std::uint64_t bits = 0;
    std::uint64_t mask = 0;
};
std::optional<Wanted> plainPrefix(std::string_view text) {
    Wanted wanted;
    for (std::size_t i = 0; i < text.size() && i < 8; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0 || c >= 0x80) {
            return std::nullopt;
        }
        wanted.bits |= std::uint64_t{c} << (8 * (7 - i));
        wanted.mask |= std::uint64_t{0xFF} << (8 * (7 - i));
    }
    return wanted;
}

} // namespace

MatchResult prefixMatch(const EntryStore& store, std::string_view input) {
    const std::string folded = foldInput(input);
    // For a plain ASCII input the first eight bytes of a key are those of its
    // prefix, so keys that cannot match are passed over without reading them,
    // and an input of up to eight bytes is decided by the prefix alone.
    const std::optional<Wanted> wanted = plainPrefix(folded);
    MatchResult result;
    for (std::size_t i = 0; i < store.size(); ++i) {
        const std::string_view key = store.key(i);
        if (key.size() < folded.size()) {
            continue;
        }
        result.anyLongEnough = true;
        bool match = false;
        if (wanted && (store.keyPrefix(i) & wanted->mask) != wanted->bits) {
            match = false;
        } else if (wanted && folded.size() <= 8) {
            match = true;
        } else {
            // Cutting the key may leave half a character at its end; the
            // comparison then counts that half as the end of the key.
            const std::string_view head = key.substr(0, folded.size());
            match = head == folded || mbcs::compare(head, folded) == 0;
        }
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
