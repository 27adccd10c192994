#include "vocab/SoundKey.h"

#include "vocab/Mbcs.h"
#include "vocab/WordLine.h"

namespace vocab {

namespace {

constexpr char fold(char c) {
    switch (c) {
    case '0':
        return 'z';
    case 'n':
        return 'l';
    case '7':
        return 's';
    default:
        return c;
    }
}

constexpr bool isDropped(char c) {
    return c == ' ' || c == ',' || c == '\'' || c == ':';
}

} // namespace

namespace {

enum class KeyEnd { Close, Comma, End };

// Writes the key of the characters of s from start on, up to a "]" when
// stopAtClose, to the first comma that does not open them, or to the end of s.
KeyEnd writeKeyFrom(std::string_view s, std::size_t start, bool stopAtClose, char* out,
                    std::size_t& length) {
    bool commaSeen = false;
    for (std::size_t i = start; i < s.size();) {
        const char c = s[i];
        if (mbcs::charLength(s, i) == 2) {
            out[length++] = c;
            out[length++] = s[i + 1];
            i += 2;
            continue;
        }
        if (c == ']' && stopAtClose) {
            return KeyEnd::Close;
        }
        // The first comma starts a second pronunciation, unless it opens the
        // transcription: there it marks a secondary stress.
        if (c == ',' && !commaSeen) {
            if (i > start) {
                return KeyEnd::Comma;
            }
            commaSeen = true;
        }
        if (!isDropped(c)) {
            out[length++] = fold(c);
        }
        ++i;
    }
    return KeyEnd::End;
}

} // namespace

std::size_t writeSoundKey(std::string_view phonetic, char* out) {
    std::size_t length = 0;
    writeKeyFrom(phonetic, 0, false, out, length);
    return length;
}

std::size_t writeLineSoundKey(std::string_view line, char* out) {
    const std::size_t open = mbcs::find(line, '[');
    if (open == std::string_view::npos) {
        return 0;
    }
    std::size_t length = 0;
    if (writeKeyFrom(line, open + 1, true, out, length) != KeyEnd::End) {
        return length;
    }
    // No "]": the transcription ends where the line's trailing white space
    // begins, and the walk went past it.
    return writeSoundKey(WordLine::parse(line).phonetic, out);
}

std::string soundKey(std::string_view phonetic) {
    std::string key(phonetic.size(), '\0');
    key.resize(writeSoundKey(phonetic, key.data()));
    return key;
}

std::string foldInput(std::string_view input) {
    std::string folded(input);
    for (std::size_t i = 0; i < folded.size(); i += mbcs::charLength(folded, i)) {
        if (mbcs::charLength(folded, i) == 1) {
            folded[i] = fold(folded[i]);
        }
    }
    return folded;
}

} // namespace vocab
