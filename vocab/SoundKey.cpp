#include "vocab/SoundKey.h"

#include "vocab/Mbcs.h"

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

std::size_t writeSoundKey(std::string_view phonetic, char* out) {
    const std::size_t n = phonetic.size();
    std::size_t length = 0;
    bool commaSeen = false;
    for (std::size_t i = 0; i < n;) {
        const char c = phonetic[i];
        if (mbcs::charLength(phonetic, i) == 2) {
            out[length++] = c;
            out[length++] = phonetic[i + 1];
            i += 2;
            continue;
        }
        // The first comma starts a second pronunciation, unless it opens the
        // transcription: there it marks a secondary stress.
        if (c == ',' && !commaSeen) {
            if (i > 0) {
                break;
            }
            commaSeen = true;
        }
        if (!isDropped(c)) {
            out[length++] = fold(c);
        }
        ++i;
    }
    return length;
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
