#pragma once

#include <string_view>

namespace vocab {

// One vocabulary record. All five fields are GB18030 bytes; they view text owned
// by the EntryStore the entry came from and stay valid as long as it lives
// and is not loaded into again.
struct WordEntry {
    std::string_view key;      // sound key of the transcription: the sort and match field
    std::string_view word;     // the English headword
    std::string_view phonetic; // the transcription as written between the brackets
    std::string_view meaning;  // the Chinese explanation after the brackets
    std::string_view level;    // the tag of the list the entry came from
};

} // namespace vocab
