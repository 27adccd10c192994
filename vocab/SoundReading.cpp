#include "vocab/SoundReading.h"

#include "vocab/KeyChart.h"

#include <algorithm>
#include <array>

namespace vocab {

namespace {

// One sound of the keyboard code, as eSpeak's mnemonics and SAPI's phones
// have it. Longer spellings come first, so that "i:" is one long vowel and
// "t5" one affricate.
struct Sound {
    std::string_view code;
    std::string_view espeak;
    std::string_view sapi;
    bool vowel;
};

// clang-format off
constexpr std::array kSounds{
    // Diphthongs and long vowels: 2 ɑ, 3 ɔ, 4 ə, A ɛ.
    Sound{"ai4", "aI@", "ay er", true},
    Sound{"au4", "aU@", "aw er", true},
    Sound{"i:", "i:", "iy", true},     Sound{"u:", "u:", "uw", true},
    Sound{"2:", "A:", "aa", true},     Sound{"a:", "A:", "aa", true},
    Sound{"3:", "O:", "ao", true},     Sound{"o:", "O:", "ao", true},
    Sound{"4:", "3:", "er", true},     Sound{"e:", "3:", "er", true},
    Sound{"ei", "eI", "ey", true},     Sound{"ai", "aI", "ay", true},
    Sound{"3i", "OI", "oy", true},     Sound{"oi", "OI", "oy", true},
    Sound{"au", "aU", "aw", true},     Sound{"4u", "oU", "ow", true},
    Sound{"ou", "oU", "ow", true},     Sound{"i4", "I@", "ih r", true},
    Sound{"A4", "e@", "eh r", true},   Sound{"e4", "e@", "eh r", true},
    Sound{"u4", "U@", "uh r", true},
    // Affricates.
    Sound{"t5", "tS", "ch", false},    Sound{"d9", "dZ", "jh", false},
    // The chart's keys: 1 æ, 2 ɑ, 3 ɔ, 4 ə, 5 ʃ, 6 ŋ, 7 θ, 8 ʌ, 9 ʒ, 0 ð, A ɛ.
    Sound{"1", "a", "ae", true},       Sound{"2", "A:", "aa", true},
    Sound{"3", "0", "aa", true},       Sound{"4", "@", "ax", true},
    Sound{"5", "S", "sh", false},      Sound{"6", "N", "ng", false},
    Sound{"7", "T", "th", false},      Sound{"8", "V", "ah", true},
    Sound{"9", "Z", "zh", false},      Sound{"0", "D", "dh", false},
    Sound{"A", "E", "eh", true},
    // Letters as IPA has them.
    Sound{"a", "a", "ae", true},       Sound{"e", "E", "eh", true},
    Sound{"i", "I", "ih", true},       Sound{"o", "0", "aa", true},
    Sound{"u", "U", "uh", true},       Sound{"j", "j", "y", false},
    Sound{"y", "j", "y", false},       Sound{"c", "k", "k", false},
    Sound{"q", "k", "k", false},       Sound{"x", "ks", "k s", false},
    Sound{"b", "b", "b", false},       Sound{"d", "d", "d", false},
    Sound{"f", "f", "f", false},       Sound{"g", "g", "g", false},
    Sound{"h", "h", "h", false},       Sound{"k", "k", "k", false},
    Sound{"l", "l", "l", false},       Sound{"m", "m", "m", false},
    Sound{"n", "n", "n", false},       Sound{"p", "p", "p", false},
    Sound{"r", "r", "r", false},       Sound{"s", "s", "s", false},
    Sound{"t", "t", "t", false},       Sound{"v", "v", "v", false},
    Sound{"w", "w", "w", false},       Sound{"z", "z", "z", false},
};
// clang-format on

char lower(char c) {
    return c >= 'B' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; // "A" is a key
}

// The sound that code begins with at i, or nothing.
const Sound* soundAt(std::string_view code, std::size_t i) {
    for (const Sound& sound : kSounds) {
        if (sound.code.size() > code.size() - i) {
            continue;
        }
        bool same = true;
        for (std::size_t k = 0; k < sound.code.size() && same; ++k) {
            same = lower(code[i + k]) == sound.code[k];
        }
        if (same) {
            return &sound;
        }
    }
    return nullptr;
}

// Walks code sound by sound. A "," opens a secondary stress at the start and
// parts alternative pronunciations elsewhere; other marks ("(", ")", "-",
// ".") say nothing.
template <class OnSound, class OnMark>
void readSounds(std::string_view code, OnSound onSound, OnMark onMark) {
    for (std::size_t i = 0; i < code.size();) {
        const char c = code[i];
        if (c == '\'' || (c == ',' && i == 0)) {
            onMark(c == '\'' ? 1 : 2);
            ++i;
        } else if (c == ' ' || c == ',') {
            onMark(0);
            ++i;
        } else if (const Sound* sound = soundAt(code, i)) {
            onSound(*sound);
            i += sound->code.size();
        } else {
            ++i;
        }
    }
}

} // namespace

std::string ipaOf(std::string_view code) {
    std::string ipa;
    ipa.reserve(code.size() * 2);
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        std::string_view symbol(&code[i], 1);
        for (const auto& [key, chartSymbol] : kKeyChart) {
            if (key == c) {
                symbol = chartSymbol;
            }
        }
        if (c == '\'') {
            symbol = "ˈ";
        } else if (c == ':') {
            symbol = "ː";
        } else if (c == ',' && i == 0) {
            symbol = "ˌ";
        }
        ipa += symbol;
    }
    return ipa;
}

std::string espeakPhonemes(std::string_view code) {
    std::string out;
    readSounds(
        code, [&](const Sound& sound) { out += sound.espeak; },
        [&](int stress) { out += stress == 1   ? "'"
                                 : stress == 2 ? ","
                                               : " "; });
    return out;
}

std::string sapiPhones(std::string_view code) {
    std::string out;
    int stress = 0;
    auto add = [&](std::string_view phones) {
        if (!out.empty() && out.back() != ' ') {
            out += ' ';
        }
        out += phones;
    };
    readSounds(
        code,
        [&](const Sound& sound) {
            if (!sound.vowel || stress == 0) {
                add(sound.sapi);
                return;
            }
            // The stress follows the sound's first phone, its vowel.
            const std::size_t space = std::min(sound.sapi.find(' '), sound.sapi.size());
            add(sound.sapi.substr(0, space));
            add(stress == 1 ? "1" : "2");
            if (space < sound.sapi.size()) {
                add(sound.sapi.substr(space + 1));
            }
            stress = 0;
        },
        [&](int mark) { stress = mark; });
    return out;
}

} // namespace vocab
