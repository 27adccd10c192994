#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vocab {

// The sound key of a transcription: only the first of several pronunciations,
// without spaces, commas, stress and length marks, and with the sounds that
// Chinese speakers most often confuse folded together (0 ð -> z, n -> l,
// 7 θ -> s). writeSoundKey writes it to out, which has room for
// phonetic.size() bytes (a key is never longer), and returns its length, so
// that a store can keep all keys in one buffer.
[[nodiscard]] std::size_t writeSoundKey(std::string_view phonetic, char* out);
[[nodiscard]] std::string soundKey(std::string_view phonetic);

// The same for the transcription of a word-list line, WordLine::parse(line)
// .phonetic, found and keyed in one pass over the line. out has room for
// line.size() bytes.
[[nodiscard]] std::size_t writeLineSoundKey(std::string_view line, char* out);

// Typed input gets the same three folds but keeps every mark, so a typed
// stress mark or space matches nothing. The length never changes.
[[nodiscard]] std::string foldInput(std::string_view input);

} // namespace vocab
