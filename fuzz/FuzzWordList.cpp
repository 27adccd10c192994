// Word-list fuzz target: byte 0 cuts the rest into the two lists; a broken invariant aborts.
#include "vocab/EntryStore.h"
#include "vocab/Mbcs.h"
#include "vocab/PrefixMatch.h"
#include "vocab/WordLists.h"
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string_view>

#define CHECK(c) ((c) ? void() : (std::fprintf(stderr, "failed: %s\n", #c), std::abort()))
using namespace vocab;

// Lines up to the first Ctrl-Z, split at LF; a last piece without LF counts.
static std::size_t countLines(std::string_view& s) {
    s = s.substr(0, s.find('\x1A'));
    return std::count(s.begin(), s.end(), '\n') + (!s.empty() && s.back() != '\n');
}

// in is a prefix of key(from); one byte selects only the first key that starts with it.
static void checkMatch(const EntryStore& store, std::string_view in, std::size_t from) {
    const auto [ix, anyLongEnough] = prefixMatch(store, in);
    CHECK(anyLongEnough && !ix.empty() && ix.back() < store.size());
    CHECK(std::adjacent_find(ix.begin(), ix.end(), std::greater_equal<>()) == ix.end());
    std::size_t first = 0;
    while (in.size() == 1 &&
           (store.key(first).empty() || mbcs::compare(store.key(first).substr(0, 1), in) != 0))
        ++first;
    CHECK(in.size() > 1 ? std::binary_search(ix.begin(), ix.end(), from)
                        : ix.size() == 1 && ix[0] == first);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t cut = rest.size() * data[0] / 255;
    std::string_view lists[] = {rest.substr(0, cut), rest.substr(cut)};
    EntryStore store;
    CHECK(store.appendList(lists[0], 0) && store.appendList(lists[1], 1));
    const std::size_t lines0 = countLines(lists[0]), lines1 = countLines(lists[1]);
    store.sort();
    CHECK(store.size() == lines0 + lines1);

    // Non-empty views lie in the text, in field order, without LF or Ctrl-Z;
    // equal keys keep their lines' order; sortPrefix agrees with compare.
    std::uintptr_t lo = ~std::uintptr_t{0}, hi = 0, prevStart = 0, inFirst = 0;
    for (std::size_t i = 0; i < store.size(); ++i) {
        const WordEntry e = store[i];
        CHECK(e.key.size() <= e.phonetic.size());
        inFirst += e.level == kWordLists[0].levelTag;
        std::uintptr_t start = 0, end = 0;
        for (const std::string_view v : {e.word, e.phonetic, e.meaning}) {
            const auto p = reinterpret_cast<std::uintptr_t>(v.data());
            if (v.empty())
                continue;
            CHECK(p >= end && v.find_first_of("\n\x1A") == v.npos);
            start = start ? start : p;
            lo = std::min(lo, p);
            hi = std::max(hi, end = p + v.size());
        }
        if (i > 0) {
            const int order = mbcs::compare(store.key(i - 1), e.key);
            CHECK(order < 0 || (order == 0 && (!start || !prevStart || prevStart < start)));
            const auto a = mbcs::sortPrefix(store.key(i - 1)), b = mbcs::sortPrefix(e.key);
            CHECK(store.keyPrefix(i) == b.value);
            CHECK(a.value <= b.value && (a.value == b.value || order < 0));
            CHECK(a.value != b.value || order == 0 || !a.complete || !b.complete);
        }
        prevStart = start;
        if (i == data[size - 1] % store.size() && !e.key.empty()) {
            checkMatch(store, e.key.substr(0, 1), i);
            checkMatch(store, e.key.substr(0, 1 + data[0] % e.key.size()), i);
        }
    }
    CHECK(hi <= lo || hi - lo <= lists[0].size() + lists[1].size());
    CHECK(inFirst == lines0);
    return 0;
}
