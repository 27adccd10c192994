#pragma once

#include "vocab/BulkAllocator.h"
#include "vocab/LoadResult.h"
#include "vocab/WordEntry.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vocab {

// The ordered entries of both word lists. The lists' bytes are kept whole and
// every entry is a handful of offsets into them, so that a million entries
// take little more memory than the files themselves.
class EntryStore {
public:
    // Reads both lists from dir, in order, and appends one entry per line.
    // A list that cannot be read is named in the result; the other list's
    // entries are still appended.
    // Each list may be GBK, UTF-8 or UTF-16 (ListEncoding); the store holds
    // it as GB18030 (ListLoader).
    [[nodiscard]] LoadResult load(const std::filesystem::path& dir);

    // Appends the lines of one list's bytes (as read from its file) under the
    // tag of kWordLists[list]. The bytes are GB18030, cut at a Ctrl-Z. False,
    // and nothing appended, when the store would grow past kMaxTextBytes.
    [[nodiscard]] bool appendList(std::string_view bytes, std::size_t list);

    // Offsets are 32-bit: together the lists may hold up to 4 GiB.
    static constexpr std::size_t kMaxTextBytes = 0xFFFFFFFFu;

    // Puts the entries in ascending key order; entries with equal keys keep
    // the order they were appended in. Runs on two threads for large stores;
    // short of memory it still sorts, only slower.
    void sort();

    std::size_t size() const { return m_records.size(); }
    bool empty() const { return m_records.empty(); }
    WordEntry operator[](std::size_t i) const;
    std::string_view key(std::size_t i) const { return key(m_records[i]); }
    // mbcs::sortPrefix(key(i)).value, kept with the entry: a search reads it
    // in order where reading the keys would jump about.
    std::uint64_t keyPrefix(std::size_t i) const { return m_records[i].prefix; }
    // Has the processor fetch entry i's line and key for a caller that asks
    // for it soon: in key order the entries lie scattered over memory.
    void prefetch(std::size_t i) const {
        __builtin_prefetch(m_keys.data() + m_records[i].key);
        __builtin_prefetch(m_text.data() + m_records[i].line);
    }

private:
    // One entry: where its line and its key lie. The word, transcription and
    // meaning are found again in the line when asked for, and the line ends at
    // the next LF of its list; the key's length is kept before the key. So a
    // record takes 16 bytes and sorts fast.
    struct Record {
        std::uint64_t prefix; // mbcs::sortPrefix of the key
        std::uint32_t line;
        std::uint32_t key; // in m_keys: the key's length, then the key
    };
    static_assert(sizeof(Record) == 16);
    struct ListStart {
        std::size_t offset;
        std::size_t end;
        std::size_t list;
    };
    struct Span {
        std::size_t begin;
        std::size_t end;
        std::size_t list;
    };

    // Adds a record for every line of the spans, on two threads when they
    // are large; throws std::bad_alloc with the store as it was but for
    // m_text (LineIndex.cpp).
    void indexSpans(const std::vector<Span>& spans);
    // Writes the spans' records from out on and their keys from keys on,
    // before keysEnd, and returns where the keys end.
    char* indexLines(const std::vector<Span>& spans, Record* out, char* keys,
                     const char* keysEnd) const;
    // The sort's parts (EntrySort.cpp).
    struct SortScratch;
    void sortRun(Record* begin, Record* end, std::size_t depth, SortScratch& scratch) const;
    static bool groupByPrefix(Record* begin, Record* end, SortScratch& scratch);
    static bool partByPrefix(Record* begin, Record* end, SortScratch& scratch);
    // Key lengths below kShortKey take one byte before the key; longer ones,
    // that byte and four more.
    static constexpr std::size_t kShortKey = 0x80;
    std::string_view key(const Record& r) const {
        const char* const at = m_keys.data() + r.key;
        const auto first = static_cast<unsigned char>(*at);
        if (first < kShortKey) {
            return {at + 1, first};
        }
        std::uint32_t length;
        std::memcpy(&length, at + 1, sizeof length);
        return {at + 1 + sizeof length, length};
    }

    const ListStart& listOf(std::size_t lineOffset) const;

    Bytes m_text; // the lists' bytes, one after the other
    Bytes m_keys; // every entry's sound key, one after the other
    std::vector<Record, BulkAllocator<Record>> m_records;
    std::vector<ListStart> m_lists; // where each appended list begins in m_text
};

} // namespace vocab
