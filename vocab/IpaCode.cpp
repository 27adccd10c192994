#include "vocab/IpaCode.h"

#include "vocab/KeyChart.h"

#include <unordered_map>
#include <utility>

namespace vocab {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point that begins at text[i] and its length in bytes; a byte that
// does not begin a well-formed character is U+FFFD of length 1.
std::pair<char32_t, std::size_t> decode(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > text.size()) {
        return {kReplacement, 1};
    }
    char32_t c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) {
            return {kReplacement, 1};
        }
        c = (c << 6) | (byte(k) & 0x3F);
    }
    const char32_t least = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0x80;
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return {kReplacement, 1};
    }
    return {c, length};
}

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
        const auto [c, length] = decode(symbols, i);
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
            codes.emplace(decode(entry.symbol, 0).first, std::string(1, entry.key));
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

std::string_view stripped(std::string_view text) {
    text = trimmed(text);
    if (text.size() >= 2 && ((text.front() == '/' && text.back() == '/') ||
                             (text.front() == '[' && text.back() == ']'))) {
        text = trimmed(text.substr(1, text.size() - 2));
    }
    return text;
}

} // namespace

IpaCode ipaCode(std::string_view utf8) {
    const std::string_view text = stripped(utf8);
    const auto& table = codeTable();
    IpaCode result;
    result.code.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto [c, length] = decode(text, i);
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

} // namespace vocab
