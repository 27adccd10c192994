#include "lookup/TypedText.h"

#include "codec/Codec.h"
#include "vocab/EntryStore.h"
#include "vocab/IpaCode.h"
#include "vocab/KeyChart.h"
#include "vocab/SoundReading.h"

#include <algorithm>
#include <cmath>

namespace lookup {

std::optional<std::u16string> keysOfTypedIpa(std::u16string_view typed) {
    const std::string utf8 = codec::utf16ToUtf8(typed);
    if (!vocab::looksLikeIpa(utf8)) {
        return std::nullopt;
    }
    return codec::utf8ToUtf16(vocab::ipaKeys(utf8));
}

std::optional<std::u16string> TypedIpaBox::edited(std::u16string_view text) {
    if (text == m_shown) {
        return std::nullopt;
    }
    const bool undone = text == m_ipa && m_shown == m_keys;
    m_shown = text;
    std::optional<std::u16string> keys = undone ? std::nullopt : keysOfTypedIpa(text);
    if (!keys || *keys == text) {
        return std::nullopt;
    }
    m_ipa = text;
    m_keys = *keys;
    m_shown = *keys; // the box shows them once the window has replaced its text
    return keys;
}

std::optional<char16_t> chartKeyAt(double x, double width) {
    if (!(width > 0) || x < 0 || x >= width) {
        return std::nullopt;
    }
    const auto column = static_cast<std::size_t>(std::floor(x / width * vocab::kKeyChart.size()));
    return static_cast<char16_t>(
        vocab::kKeyChart[std::min(column, vocab::kKeyChart.size() - 1)].key);
}

std::u16string copiedText(const vocab::EntryStore& store, std::vector<std::size_t> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::string text;
    for (std::size_t row : rows) {
        if (row >= store.size()) {
            continue;
        }
        const vocab::WordEntry entry = store[row];
        text += codec::toUtf8(entry.word);
        text += " [";
        text += vocab::ipaOf(codec::toUtf8(entry.phonetic));
        text += "]";
        if (!vocab::trimmed(entry.meaning).empty()) {
            text += ' ';
            text += codec::toUtf8(vocab::trimmed(entry.meaning));
        }
        text += '\n';
    }
    return codec::utf8ToUtf16(text);
}

} // namespace lookup
