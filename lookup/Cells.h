#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vocab {
class EntryStore;
}

namespace lookup {

// The list's columns, in the order of text::kColumns.
enum Column : std::size_t { Word, Phonetic, Meaning, Level, ColumnCount };

// A cell shows at most this many characters of its text, then text::kCut.
inline constexpr std::size_t kMaxCellCharacters = 1000;

// The text of a cell, for either toolkit: cut before it is converted, so
// that drawing a megabyte meaning converts a thousand characters. The store
// keeps every byte. Empty for a row or column out of range.
[[nodiscard]] std::u16string cellText(const vocab::EntryStore& store, std::size_t row,
                                      std::size_t column);
// The same for one text of the store.
[[nodiscard]] std::u16string cellText(std::string_view gb18030);

// What a click on a row copies into the box: its whole key.
[[nodiscard]] std::u16string keyText(const vocab::EntryStore& store, std::size_t row);

// The row the list's type-ahead goes to: the first from start on whose word
// begins with typed (is typed, unless partial), ASCII letters in either
// case, going round to the top when wrap is set.
[[nodiscard]] std::optional<std::size_t> rowOfWord(const vocab::EntryStore& store,
                                                   std::u16string_view typed, std::size_t start,
                                                   bool partial, bool wrap);

} // namespace lookup
