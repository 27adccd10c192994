#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vocab {
class EntryStore;
}

namespace lookup {

// What the box shows after the learner typed or pasted text: IPA as the
// keys it stands for ("/ˈʃɪp/" is "5ip"), so that it finds what the keys
// would and the learner sees the code; nothing when the text is keyboard
// code already, whose "'" and ":" are kept and still prevent a match.
[[nodiscard]] std::optional<std::u16string> keysOfTypedIpa(std::u16string_view typed);

// What the box does as its text changes, for either window: IPA typed or
// pasted is shown as its keys, in one step the box can undo; the undo, which
// brings the IPA back, is left alone, and so is a change told twice (Wine
// tells of an undo twice). The window replaces the whole text with what
// edited() returns, as one undoable step.
class TypedIpaBox {
public:
    [[nodiscard]] std::optional<std::u16string> edited(std::u16string_view text);

private:
    std::u16string m_shown;       // the box's text as last told
    std::u16string m_ipa, m_keys; // the last conversion: from, to
};

// The key of the chart's symbol at x (0 to width, in the picture's pixels at
// any scale): the chart shows its symbols in equal columns.
[[nodiscard]] std::optional<char16_t> chartKeyAt(double x, double width);

// The entries of rows (store indices, in any order) as text to copy, in
// store order, one a line: "word [transcription] meaning", the transcription
// in IPA. Lines end with "\n"; a window converts them as its clipboard wants.
[[nodiscard]] std::u16string copiedText(const vocab::EntryStore& store,
                                        std::vector<std::size_t> rows);

} // namespace lookup
