#pragma once

#include <string>
#include <string_view>

namespace vocab {

// A sound key or transcription in the phonetic font's keyboard code, read as
// the sounds it stands for: the key chart's keys as their symbols, the
// letters as the sounds they stand for in IPA, "'" and "," as the primary
// and secondary stress, ":" as length. One reading serves the IPA a learner
// is shown and the sounds a speech engine is asked to say.

// As IPA text: "'5ip" is "ˈʃip", "si:" is "siː".
[[nodiscard]] std::string ipaOf(std::string_view code);

// As eSpeak NG's phoneme mnemonics, ready for its "[[...]]" input:
// "'5ip" is "'SIp".
[[nodiscard]] std::string espeakPhonemes(std::string_view code);

// As the phones of SAPI's American English phone set, space-separated, a
// stress number after its vowel: "'5ip" is "sh ih 1 p". Sounds the set lacks
// take their nearest phones (ɒ is "aa", ɪə "ih r").
[[nodiscard]] std::string sapiPhones(std::string_view code);

} // namespace vocab
