#include "lookup/Cells.h"

#include "codec/Codec.h"
#include "lookup/Texts.h"
#include "vocab/EntryStore.h"
#include "vocab/Mbcs.h"

namespace lookup {

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
