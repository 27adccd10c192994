#include "lookup/Cells.h"

#include "codec/Codec.h"
#include "lookup/Texts.h"
#include "vocab/EntryStore.h"
#include "vocab/Mbcs.h"

#include <algorithm>

namespace lookup {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether word begins with typed. Both are whole characters, so a byte of
// typed that is a character of its own meets one in word: only those fold.
bool beginsWith(std::string_view word, std::string_view typed) {
    if (word.size() < typed.size()) {
        return false;
    }
    for (std::size_t pos = 0; pos < typed.size();) {
        const std::size_t length = vocab::mbcs::charLength(typed, pos);
        if (length == 1 ? lower(word[pos]) != lower(typed[pos])
                        : word.substr(pos, length) != typed.substr(pos, length)) {
            return false;
        }
        pos += length;
    }
    return true;
}

} // namespace

std::optional<std::size_t> rowOfWord(const vocab::EntryStore& store, std::u16string_view typed,
                                     std::size_t start, bool partial, bool wrap) {
    const std::string bytes = codec::fromUtf16(typed);
    const auto matches = [&](std::size_t row) {
        const std::string_view word = store[row].word;
        return beginsWith(word, bytes) && (partial || word.size() == bytes.size());
    };
    for (std::size_t row = start; row < store.size(); ++row) {
        if (matches(row)) {
            return row;
        }
    }
    for (std::size_t row = 0; wrap && row < std::min(start, store.size()); ++row) {
        if (matches(row)) {
            return row;
        }
    }
    return std::nullopt;
}

std::u16string cellText(std::string_view gb18030) {
    const std::size_t shown = vocab::mbcs::prefixOfChars(gb18030, kMaxCellCharacters);
    std::u16string cell = codec::toUtf16(gb18030.substr(0, shown));
    if (shown < gb18030.size()) {
        cell += text::kCut;
    }
    return cell;
}

std::u16string cellText(const vocab::EntryStore& store, std::size_t row, std::size_t column) {
    if (row >= store.size()) {
        return {};
    }
    const vocab::WordEntry entry = store[row];
    switch (column) {
    case Word:
        return cellText(entry.word);
    case Phonetic:
        return cellText(entry.phonetic);
    case Meaning:
        return cellText(entry.meaning);
    case Level:
        return cellText(entry.level);
    default:
        return {};
    }
}

std::u16string keyText(const vocab::EntryStore& store, std::size_t row) {
    return row < store.size() ? codec::toUtf16(store.key(row)) : std::u16string();
}

} // namespace lookup
