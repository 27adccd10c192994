#include "vocab/IpaCode.h"

#include "codec/Utf8.h"
#include "vocab/KeyChart.h"

#include <unordered_map>
#include <utility>

namespace vocab {

namespace {

// Symbols written with the key chart's symbols or plain letters: a variant
// takes the key of the symbol it stands for, an r-coloured vowel is the vowel
// and r, an affricate its two sounds.
constexpr std::pair<std::u32string_view, std::string_view> kSpellings[] = {
    {U"ɒ", "ɔ"},
    {U"әɜɵ", "ə"},
    {U"ɐ", "ʌ"},
    {U"ɪɨᵻ", "i"},
    {U"ʊʉ", "u"},
    {U"ɡ", "g"},
    {U"ɚɝ", "ər"},
    {U"ɹ", "r"},
    {U"ɫ", "l"},
    {U"ʧ", "tʃ"},
    {U"ʤ", "dʒ"},
    {U"ːˑ", ":"},
    {U"ˈˊ′’‘", "'"},
    // ECDICT's older transcriptions: є for ɛ (as in єә), ^ for g.
    {U"є", "ɛ"},
    {U"^", "g"},
};

std::string keysOf(std::string_view symbols) {
    std::string keys;
    for (std::size_t i = 0; i < symbols.size();) {
        const auto [c, length] = codec::utf8::decodeAt(symbols, i);
        bool charted = false;
        for (const KeyChartEntry& entry : kKeyChart) {
            if (entry.symbol == symbols.substr(i, length)) {
                keys += entry.key;
                charted = true;
            }
        }
        if (!charted) {
            keys += static_cast<char>(c);
        }
        i += length;
    }
    return keys;
}

const std::unordered_map<char32_t, std::string>& codeTable() {
    static const std::unordered_map<char32_t, std::string> table = [] {
        std::unordered_map<char32_t, std::string> codes;
        for (const KeyChartEntry& entry : kKeyChart) {
            codes.emplace(codec::utf8::decodeAt(entry.symbol, 0).c, std::string(1, entry.key));
        }
        for (const auto& [variants, spelling] : kSpellings) {
            for (char32_t c : variants) {
                codes.emplace(c, keysOf(spelling));
            }
        }
        return codes;
    }();
    return table;
}

bool keptAscii(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::u32string_view(U" ':()-.").find(c) != std::u32string_view::npos;
}

} // namespace

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r\n\v\f";
    const std::size_t begin = text.find_first_not_of(kSpace);
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(kSpace) - begin + 1);
}

namespace {

// Whether trimmed text stands between "/ /" or "[ ]".
bool enclosed(std::string_view text) {
    return text.size() >= 2 && ((text.front() == '/' && text.back() == '/') ||
                                (text.front() == '[' && text.back() == ']'));
}

std::string_view stripped(std::string_view text) {
    text = trimmed(text);
    return enclosed(text) ? trimmed(text.substr(1, text.size() - 2)) : text;
}

} // namespace

IpaCode ipaCode(std::string_view utf8) {
    const std::string_view text = stripped(utf8);
    const auto& table = codeTable();
    IpaCode result;
    result.code.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto [c, length] = codec::utf8::decodeAt(text, i);
        const bool atStart = i == 0;
        i += length;
        // ECDICT's older transcriptions write a secondary stress as ".",
        // which a key must not keep: the word would never be found by its
        // beginning.
        const bool stress = c == U',' || c == U'ˌ' || (c == U'.' && i < text.size());
        if (stress) {
            if (atStart) {
                result.code += ',';
            }
        } else if (keptAscii(c)) {
            result.code += static_cast<char>(c);
        } else if (c == U';' || c == U'；') {
            result.code += ',';
            while (i < text.size() && text[i] == ' ') {
                ++i;
            }
        } else if (c == U'[' || c == U']' || (c >= 0x300 && c <= 0x36F)) {
            // Optional sounds and diacritics: the font has no key for them.
        } else if (const auto found = table.find(c); found != table.end()) {
            result.code += found->second;
        } else {
            ++result.dropped[c];
        }
    }
    return result;
}

bool looksLikeIpa(std::string_view utf8) {
    const std::string_view text = trimmed(utf8);
    if (enclosed(text)) {
        return true;
    }
    const auto& table = codeTable();
    for (std::size_t i = 0; i < text.size();) {
        const auto [c, length] = codec::utf8::decodeAt(text, i);
        i += length;
        if (c >= 0x80 && (table.contains(c) || c == U'ˌ')) {
            return true;
        }
    }
    return false;
}

std::string ipaKeys(std::string_view utf8) {
    const std::string_view text = stripped(utf8);
    const auto& table = codeTable();
    std::string keys;
    for (std::size_t i = 0; i < text.size();) {
        const auto [c, length] = codec::utf8::decodeAt(text, i);
        const std::string_view symbol = text.substr(i, length);
        i += length;
        // No key holds a stress, length or syllable mark.
        if (std::u32string_view(U"ˈˌˊ'′’‘ː:ˑ.").find(c) != std::u32string_view::npos) {
            continue;
        }
        const auto found = c >= 0x80 ? table.find(c) : table.end();
        keys += found != table.end() ? std::string_view(found->second) : symbol;
    }
    return keys;
}

} // namespace vocab
