// Fuzz target for the word-list parser, the sound key, the ordering and the
// prefix match. The input is split into the two lists' bytes; everything the
// store then holds is checked against a small, slow model written straight
// from the rules, so that a wrong field, key, order or match aborts.
//
// Input layout: the first byte says where the rest is cut, at
// rest.size() * byte / 255; the Band 4 list gets the bytes before the cut,
// the Band 6 list those after.

#include "vocab/EntryStore.h"
#include "vocab/Mbcs.h"
#include "vocab/PrefixMatch.h"
#include "vocab/SoundKey.h"
#include "vocab/WordLine.h"
#include "vocab/WordLists.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant violated: %s\n", what);
        std::abort();
    }
}

// ---- The model -------------------------------------------------------------

bool isLead(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x81 && u <= 0xFE;
}

// Character boundaries: a lead byte takes the next byte, whatever it is,
// except at the very end.
std::size_t charEnd(std::string_view s, std::size_t i) {
    return isLead(s[i]) && i + 1 < s.size() ? i + 2 : i + 1;
}

std::size_t findSingle(std::string_view s, char c, std::size_t from) {
    for (std::size_t i = from; i < s.size(); i = charEnd(s, i)) {
        if (s[i] == c && charEnd(s, i) == i + 1) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool isWhite(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// s without trailing one-byte characters for which drop is true.
template <class Pred> std::string_view trimEnd(std::string_view s, Pred drop) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t next = charEnd(s, i);
        if (next != i + 1 || !drop(s[i])) {
            end = next;
        }
        i = next;
    }
    return s.substr(0, end);
}

struct Parts {
    std::string_view word;
    std::string_view phonetic;
    std::string_view meaning;
};

Parts modelParse(std::string_view raw) {
    const std::string_view line = trimEnd(raw, isWhite);
    const std::size_t open = findSingle(line, '[', 0);
    if (open == std::string_view::npos) {
        return {line, {}, {}};
    }
    Parts parts;
    parts.word = trimEnd(line.substr(0, open), isBlank);
    const std::size_t close = findSingle(line, ']', open + 1);
    if (close == std::string_view::npos) {
        parts.phonetic = line.substr(open + 1);
        return parts;
    }
    parts.phonetic = line.substr(open + 1, close - open - 1);
    std::size_t meaning = close + 1;
    while (meaning < line.size() && isBlank(line[meaning])) {
        ++meaning;
    }
    parts.meaning = line.substr(meaning);
    return parts;
}

char modelFold(char c) {
    return c == '0' ? 'z' : c == 'n' ? 'l' : c == '7' ? 's' : c;
}

std::string modelFoldInput(std::string_view input) {
    std::string out(input);
    for (std::size_t i = 0; i < out.size(); i = charEnd(out, i)) {
        if (charEnd(out, i) == i + 1) {
            out[i] = modelFold(out[i]);
        }
    }
    return out;
}

std::string modelKey(std::string_view phonetic) {
    const std::size_t comma = findSingle(phonetic, ',', 0);
    if (comma != std::string_view::npos && comma > 0) {
        phonetic = phonetic.substr(0, comma);
    }
    std::string key;
    for (std::size_t i = 0; i < phonetic.size();) {
        const std::size_t next = charEnd(phonetic, i);
        if (next == i + 2) {
            key += phonetic.substr(i, 2);
        } else {
            const char c = phonetic[i];
            if (c != ' ' && c != ',' && c != '\'' && c != ':') {
                key += modelFold(c);
            }
        }
        i = next;
    }
    return key;
}

// The characters as _mbscmp sees them, up to the first NUL or a lead byte
// with nothing (or a NUL) after it.
std::vector<unsigned> mbcsChars(std::string_view s) {
    std::vector<unsigned> chars;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == 0) {
            break;
        }
        if (isLead(s[i])) {
            if (i + 1 >= s.size() || s[i + 1] == '\0') {
                break;
            }
            chars.push_back(unsigned{c} << 8 | static_cast<unsigned char>(s[i + 1]));
            i += 2;
        } else {
            chars.push_back(c);
            ++i;
        }
    }
    return chars;
}

int modelCompare(std::string_view a, std::string_view b) {
    const std::vector<unsigned> x = mbcsChars(a);
    const std::vector<unsigned> y = mbcsChars(b);
    return x < y ? -1 : y < x ? 1 : 0;
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

struct ModelEntry {
    std::string key;
    Parts parts;
    std::string_view level;
};

// One entry per line: Ctrl-Z ends the list, CR LF counts as LF, and a last
// line without a line end still counts when it is not empty.
void modelList(std::string_view bytes, std::size_t list, std::vector<ModelEntry>& out) {
    bytes = bytes.substr(0, bytes.find('\x1A'));
    while (!bytes.empty()) {
        const std::size_t eol = bytes.find('\n');
        std::string_view line = bytes.substr(0, eol);
        if (eol != std::string_view::npos) {
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            bytes.remove_prefix(eol + 1);
        } else {
            bytes = {};
        }

        const vocab::WordLine parsed = vocab::WordLine::parse(line);
        const Parts parts = modelParse(line);
        check(parsed.word == parts.word, "WordLine word");
        check(parsed.phonetic == parts.phonetic, "WordLine phonetic");
        check(parsed.meaning == parts.meaning, "WordLine meaning");
        // The views must lie in the line, in order.
        const std::less_equal<const char*> le;
        const char* lineEnd = line.data() + line.size();
        for (std::string_view field : {parsed.word, parsed.phonetic, parsed.meaning}) {
            check(field.empty() ||
                      (le(line.data(), field.data()) && le(field.data() + field.size(), lineEnd)),
                  "WordLine view outside its line");
        }
        check(parsed.phonetic.empty() ||
                  le(parsed.word.data() + parsed.word.size(), parsed.phonetic.data()),
              "WordLine phonetic before word");
        check(parsed.meaning.empty() || parsed.phonetic.empty() ||
                  le(parsed.phonetic.data() + parsed.phonetic.size(), parsed.meaning.data()),
              "WordLine meaning before phonetic");

        out.push_back({modelKey(parts.phonetic), parts, vocab::kWordLists[list].levelTag});
    }
}

std::vector<std::size_t> modelMatch(const vocab::EntryStore& store, std::string_view input,
                                    bool& anyLongEnough) {
    const std::string folded = modelFoldInput(input);
    std::vector<std::size_t> indices;
    anyLongEnough = false;
    for (std::size_t i = 0; i < store.size(); ++i) {
        const std::string_view key = store.key(i);
        if (key.size() < folded.size()) {
            continue;
        }
        anyLongEnough = true;
        if (modelCompare(key.substr(0, folded.size()), folded) == 0) {
            indices.push_back(i);
            if (folded.size() == 1) {
                break;
            }
        }
    }
    return indices;
}

// ---- Checks ----------------------------------------------------------------

void checkKeyFunctions(std::string_view phonetic, const std::string& expected) {
    check(vocab::soundKey(phonetic) == expected, "soundKey differs from the model");
    // writeSoundKey may use exactly phonetic.size() bytes: give it no more, so
    // that the address sanitizer sees a write past them.
    const std::unique_ptr<char[]> out(new char[phonetic.size()]);
    const std::size_t length = vocab::writeSoundKey(phonetic, out.get());
    check(length <= phonetic.size(), "key longer than its transcription");
    check(std::string_view(out.get(), length) == expected, "writeSoundKey differs from soundKey");
}

void checkOrderFunctions(std::string_view a, std::string_view b) {
    const int order = vocab::mbcs::compare(a, b);
    check(sign(order) == modelCompare(a, b), "mbcs::compare differs from the model");
    check(sign(vocab::mbcs::compare(b, a)) == -sign(order), "mbcs::compare not antisymmetric");
    const vocab::mbcs::SortPrefix pa = vocab::mbcs::sortPrefix(a);
    const vocab::mbcs::SortPrefix pb = vocab::mbcs::sortPrefix(b);
    if (order < 0) {
        check(pa.value <= pb.value, "sortPrefix out of order");
    }
    if (pa.value < pb.value) {
        check(order < 0, "sortPrefix orders unequal keys the wrong way");
    }
    if (pa.complete && pb.complete && pa.value == pb.value) {
        check(order == 0, "complete sortPrefix equal for different keys");
    }
}

void checkMatch(const vocab::EntryStore& store, std::string_view input) {
    if (input.empty()) {
        return;
    }
    const std::string folded = vocab::foldInput(input);
    check(folded == modelFoldInput(input), "foldInput differs from the model");
    bool anyLongEnough = false;
    const std::vector<std::size_t> expected = modelMatch(store, input, anyLongEnough);
    const vocab::MatchResult result = vocab::prefixMatch(store, input);
    check(std::is_sorted(result.indices.begin(), result.indices.end()) &&
              std::adjacent_find(result.indices.begin(), result.indices.end()) ==
                  result.indices.end(),
          "prefixMatch indices not ascending");
    for (const std::size_t i : result.indices) {
        check(i < store.size(), "prefixMatch index out of range");
        const std::string_view key = store.key(i);
        check(key.size() >= folded.size() &&
                  vocab::mbcs::compare(key.substr(0, folded.size()), folded) == 0,
              "prefixMatch reports an entry that does not match");
    }
    check(result.indices == expected, "prefixMatch differs from the model");
    check(result.anyLongEnough == anyLongEnough, "prefixMatch long-enough flag wrong");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t cut = rest.size() * data[0] / 255;
    const std::string_view lists[] = {rest.substr(0, cut), rest.substr(cut)};

    std::vector<ModelEntry> expected;
    vocab::EntryStore store;
    for (std::size_t list = 0; list < 2; ++list) {
        modelList(lists[list], list, expected);
        check(store.appendList(lists[list], list), "appendList refused a small list");
    }
    check(store.size() == expected.size(), "store holds a different number of entries");
    for (const ModelEntry& e : expected) {
        checkKeyFunctions(e.parts.phonetic, e.key);
    }

    // Equal keys keep the order their lines were appended in.
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return modelCompare(a.key, b.key) < 0; });
    store.sort();
    check(store.size() == expected.size(), "sort changed the number of entries");

    for (std::size_t i = 0; i < store.size(); ++i) {
        const vocab::WordEntry entry = store[i];
        const ModelEntry& model = expected[i];
        check(store.key(i) == entry.key, "key(i) and operator[] disagree");
        check(entry.key == model.key, "entry key differs from the model");
        check(entry.word == model.parts.word, "entry word differs from the model");
        check(entry.phonetic == model.parts.phonetic, "entry phonetic differs from the model");
        check(entry.meaning == model.parts.meaning, "entry meaning differs from the model");
        check(entry.level == model.level, "entry level differs from the model");
        check(entry.key.size() <= entry.phonetic.size(), "key longer than its transcription");
        if (i + 1 < store.size()) {
            check(vocab::mbcs::compare(store.key(i), store.key(i + 1)) <= 0, "store not sorted");
            checkOrderFunctions(store.key(i), store.key(i + 1));
        }
    }
    if (store.size() >= 2) {
        checkOrderFunctions(store.key(0), store.key(store.size() - 1));
        checkOrderFunctions(store.key(store.size() - 1), store.key(store.size() / 2));
    }

    // Inputs the data suggests: prefixes of a stored key, the raw start of a
    // transcription (marks and unfolded sounds included), and the input's
    // own last bytes.
    if (!store.empty()) {
        const std::size_t pick = data[0] % store.size();
        const std::string key(store.key(pick));
        for (std::size_t n : {std::size_t{1}, std::size_t{2}, std::size_t{3}, key.size()}) {
            checkMatch(store, std::string_view(key).substr(0, n));
        }
        checkMatch(store, key + "z");
        checkMatch(store, store[store.size() - 1 - pick].phonetic.substr(0, 3));
    }
    checkMatch(store, rest.substr(rest.size() - std::min<std::size_t>(rest.size(), 2)));
    return 0;
}
