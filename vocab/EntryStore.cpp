#include "vocab/EntryStore.h"

#include "codec/Codec.h"
#include "vocab/ListEncoding.h"
#include "vocab/ListFile.h"
#include "vocab/Mbcs.h"
#include "vocab/SoundKey.h"
#include "vocab/WordLine.h"
#include "vocab/WordLists.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstring>
#include <exception>
#include <new>
#include <system_error>
#include <thread>

namespace vocab {

namespace {

constexpr char kCtrlZ = '\x1A';
// Room beyond the files' sizes, so that the read that finds the end of the
// last file needs no more.
constexpr std::size_t kReadSlack = 1 << 16;

std::uint32_t offset(std::size_t n) {
    return static_cast<std::uint32_t>(n);
}

bool isWhiteOrCtrlZ(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == kCtrlZ;
}

codec::Unicode unicodeForm(ListEncoding encoding) {
    switch (encoding) {
    case ListEncoding::Utf16LE:
        return codec::Unicode::Utf16LE;
    case ListEncoding::Utf16BE:
        return codec::Unicode::Utf16BE;
    default:
        return codec::Unicode::Utf8;
    }
}

ListFailure outOfMemory(std::size_t list) {
    return {list, FailureKind::Unreadable, std::make_error_code(std::errc::not_enough_memory)};
}

} // namespace

LoadResult EntryStore::load(const std::filesystem::path& dir) {
    std::array<std::filesystem::path, kWordLists.size()> paths;
    // One allocation for both lists: growing the buffer would copy it. Only
    // sizes that can be read count.
    std::size_t expected = m_text.size();
    for (std::size_t i = 0; i < kWordLists.size(); ++i) {
        paths[i] = dir / std::filesystem::u8path(kWordLists[i].fileName);
        std::error_code ec;
        if (std::filesystem::is_regular_file(paths[i], ec)) {
            const auto size = std::filesystem::file_size(paths[i], ec);
            if (!ec && size <= kMaxTextBytes - expected) {
                expected += static_cast<std::size_t>(size);
            }
        }
    }
    try {
        m_text.reserve(expected + kReadSlack);
    } catch (const std::bad_alloc&) {
        // Reading grows the buffer as it needs, and reports what cannot be had.
    }

    LoadResult result;
    std::vector<Span> spans;
    for (std::size_t i = 0; i < kWordLists.size(); ++i) {
        const std::size_t begin = m_text.size();
        if (auto failure = readListFile(paths[i], i, kMaxTextBytes, m_text)) {
            result.failures.push_back(*failure);
            continue;
        }
        if (auto failure = finishList(begin, i, result.ignored)) {
            result.failures.push_back(*failure);
            continue;
        }
        spans.push_back({begin, m_text.size(), i});
    }
    const std::size_t records = m_records.size();
    const std::size_t keys = m_keys.size();
    const std::size_t lists = m_lists.size();
    try {
        indexSpans(spans);
    } catch (const std::bad_alloc&) {
        m_records.resize(records);
        m_keys.resize(keys);
        m_lists.resize(lists);
        for (const Span& span : spans) {
            // Failures stay in the order of the lists.
            auto at = std::find_if(result.failures.begin(), result.failures.end(),
                                   [&](const ListFailure& f) { return f.list > span.list; });
            result.failures.insert(at, outOfMemory(span.list));
        }
    }
    return result;
}

std::optional<ListFailure> EntryStore::finishList(std::size_t begin, std::size_t list,
                                                  std::vector<IgnoredTail>& ignored) {
    try {
        const std::string_view bytes(m_text.data() + begin, m_text.size() - begin);
        const DetectedEncoding detected = detectEncoding(bytes);
        if (detected.encoding != ListEncoding::Gbk) {
            // Every rule below holds for the list as GB18030.
            const std::string text =
                codec::fromUnicode(bytes.substr(detected.markSize), unicodeForm(detected.encoding));
            m_text.resize(begin);
            if (text.size() > kMaxTextBytes - begin) {
                return ListFailure{list, FailureKind::TooLarge, {}};
            }
            m_text.insert(m_text.end(), text.begin(), text.end());
        }
        // Ctrl-Z ends a list, as it ends a file read in text mode.
        const void* found = std::memchr(m_text.data() + begin, kCtrlZ, m_text.size() - begin);
        if (found) {
            const auto ctrlZ = m_text.begin() + (static_cast<const char*>(found) - m_text.data());
            if (!std::all_of(ctrlZ + 1, m_text.end(), isWhiteOrCtrlZ)) {
                ignored.push_back({list, static_cast<std::size_t>(m_text.end() - ctrlZ - 1)});
            }
            m_text.erase(ctrlZ, m_text.end());
        }
    } catch (const std::bad_alloc&) {
        m_text.resize(begin);
        return outOfMemory(list);
    }
    return std::nullopt;
}

bool EntryStore::appendList(std::string_view bytes, std::size_t list) {
    if (bytes.size() > kMaxTextBytes - m_text.size()) {
        return false;
    }
    const std::size_t begin = m_text.size();
    m_text.insert(m_text.end(), bytes.begin(), std::find(bytes.begin(), bytes.end(), kCtrlZ));
    indexSpans({{begin, m_text.size(), list}});
    return true;
}

namespace {

// Lines from begin to end: every LF ends one, and so does the end when a
// piece is left after the last LF.
std::size_t countLines(const char* begin, const char* end) {
    std::size_t lines = 0;
    for (const char* p = begin; p < end; ++lines) {
        const void* eol = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        p = eol ? static_cast<const char*>(eol) + 1 : end;
    }
    return lines;
}

// The line that begins at p, before stop: up to its LF, and without the CR of
// a CR LF, which reads as LF. next is where the following line begins.
struct LineAt {
    std::string_view line;
    const char* next;
};
LineAt lineAt(const char* p, const char* stop) {
    const auto* lf =
        static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(stop - p)));
    if (!lf) {
        return {{p, static_cast<std::size_t>(stop - p)}, stop};
    }
    const char* end = lf > p && lf[-1] == '\r' ? lf - 1 : lf;
    return {{p, static_cast<std::size_t>(end - p)}, lf + 1};
}

// Whether work over this many bytes is worth a second thread: below 64 KiB
// one costs more than it saves, and on one core it saves nothing.
bool worthTwoThreads(std::size_t bytes) {
    constexpr std::size_t kParallelBytes = std::size_t{1} << 16;
    return bytes >= kParallelBytes && std::thread::hardware_concurrency() > 1;
}

// Runs first on a second thread and second on this one, and passes on an
// exception of either once both have ended.
template <class First, class Second> void inParallel(bool parallel, First first, Second second) {
    if (!parallel) {
        first();
        second();
        return;
    }
    std::exception_ptr failed;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                first();
            } catch (...) {
                failed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had: one core does both.
        first();
        second();
        return;
    }
    try {
        second();
    } catch (...) {
        worker.join();
        throw;
    }
    worker.join();
    if (failed) {
        std::rethrow_exception(failed);
    }
}

} // namespace

void EntryStore::indexSpans(const std::vector<Span>& spans) {
    std::size_t total = 0;
    for (const Span& span : spans) {
        m_lists.push_back({span.begin, span.end, span.list});
        total += span.end - span.begin;
    }
    // The lines are cut into two parts of about equal size at a line start,
    // one for each core; each part's records go to their own place in
    // m_records, so the order is the lines' order whatever runs first.
    const bool parallel = worthTwoThreads(total);
    std::array<std::vector<Span>, 2> parts;
    std::size_t left = parallel ? total / 2 : total;
    for (const Span& span : spans) {
        const std::size_t size = span.end - span.begin;
        if (left >= size || left == 0) {
            parts[left == 0 ? 1 : 0].push_back(span);
            left -= std::min(left, size);
            continue;
        }
        const char* const base = m_text.data();
        const void* eol = std::memchr(base + span.begin + left, '\n', size - left);
        const std::size_t cut =
            eol ? static_cast<std::size_t>(static_cast<const char*>(eol) - base) + 1 : span.end;
        parts[0].push_back({span.begin, cut, span.list});
        if (cut < span.end) {
            parts[1].push_back({cut, span.end, span.list});
        }
        left = 0;
    }

    std::array<std::size_t, 2> lines{};
    auto count = [&](std::size_t part) {
        for (const Span& span : parts[part]) {
            lines[part] += countLines(m_text.data() + span.begin, m_text.data() + span.end);
        }
    };
    inParallel(
        parallel, [&] { count(1); }, [&] { count(0); });

    const std::size_t first = m_records.size();
    m_records.resize(first + lines[0] + lines[1]);
    // The first part's keys go straight to m_keys; the second part's follow
    // them once both are done. A key is never longer than its transcription,
    // and transcriptions are rarely more than a quarter of a line.
    Bytes secondKeys;
    m_keys.reserve(m_keys.size() + total / 4);
    secondKeys.reserve(total / 8);
    inParallel(
        parallel, [&] { indexLines(parts[1], m_records.data() + first + lines[0], secondKeys); },
        [&] { indexLines(parts[0], m_records.data() + first, m_keys); });
    const std::size_t base = m_keys.size();
    if (secondKeys.size() > kMaxTextBytes - base) {
        throw std::bad_alloc(); // beyond what a 32-bit offset reaches
    }
    m_keys.insert(m_keys.end(), secondKeys.begin(), secondKeys.end());
    for (std::size_t i = first + lines[0]; i < m_records.size(); ++i) {
        m_records[i].key += offset(base);
    }
}

void EntryStore::indexLines(const std::vector<Span>& spans, Record* out, Bytes& keys) const {
    const char* const base = m_text.data();
    for (const Span& span : spans) {
        const char* p = base + span.begin;
        const char* const stop = base + span.end;
        while (p < stop) {
            const auto [line, next] = lineAt(p, stop);
            const std::size_t keyStart = keys.size();
            // A key is never longer than its line, so a short line's key
            // length fits in one byte.
            const std::size_t lengthBytes = line.size() < kShortKey ? 1 : 1 + sizeof(std::uint32_t);
            if (lengthBytes + line.size() > kMaxTextBytes - keyStart) {
                throw std::bad_alloc(); // beyond what a 32-bit offset reaches
            }
            keys.resize(keyStart + lengthBytes + line.size());
            char* const keyText = keys.data() + keyStart + lengthBytes;
            const std::size_t keyLength = writeLineSoundKey(line, keyText);
            if (lengthBytes == 1) {
                keys[keyStart] = static_cast<char>(keyLength);
            } else {
                keys[keyStart] = static_cast<char>(kShortKey);
                const std::uint32_t length = offset(keyLength);
                std::memcpy(keys.data() + keyStart + 1, &length, sizeof length);
            }
            keys.resize(keyStart + lengthBytes + keyLength);
            *out++ = Record{mbcs::sortPrefix({keyText, keyLength}).value,
                            offset(static_cast<std::size_t>(p - base)), offset(keyStart)};
            p = next;
        }
    }
}

const EntryStore::ListStart& EntryStore::listOf(std::size_t lineOffset) const {
    const ListStart* found = &m_lists.front();
    for (const ListStart& start : m_lists) {
        if (start.offset > lineOffset) {
            break;
        }
        found = &start;
    }
    return *found;
}

WordEntry EntryStore::operator[](std::size_t i) const {
    const Record& r = m_records[i];
    const ListStart& list = listOf(r.line);
    const WordLine parts =
        WordLine::parse(lineAt(m_text.data() + r.line, m_text.data() + list.end).line);
    return WordEntry{key(r), parts.word, parts.phonetic, parts.meaning,
                     kWordLists[list.list].levelTag};
}

namespace {

// Below this depth (in chunks of eight bytes) equal beginnings are told
// apart chunk by chunk; deeper, by comparing whole keys, so that a few very
// long equal keys cost neither stack nor quadratic time.
constexpr std::size_t kMaxChunkDepth = 6;

} // namespace

// Orders records that are in their lines' order by prefix, keeping that
// order among equal prefixes, when they hold only a few distinct prefixes
// (as the repeats of a few transcriptions do): one pass to find them, one to
// count and one to place. False, and nothing moved, when they hold more.
bool EntryStore::groupByPrefix(Record* begin, Record* end) {
    constexpr std::size_t kMaxGroups = 16;
    std::array<std::uint64_t, kMaxGroups> values{};
    std::size_t groups = 0;
    for (const Record* r = begin; r != end; ++r) {
        if (std::find(values.begin(), values.begin() + groups, r->prefix) ==
            values.begin() + groups) {
            if (groups == kMaxGroups) {
                return false;
            }
            values[groups++] = r->prefix;
        }
    }
    std::sort(values.begin(), values.begin() + groups);
    std::array<std::size_t, kMaxGroups + 1> at{};
    auto group = [&](std::uint64_t prefix) {
        return static_cast<std::size_t>(
            std::lower_bound(values.begin(), values.begin() + groups, prefix) - values.begin());
    };
    for (const Record* r = begin; r != end; ++r) {
        ++at[group(r->prefix) + 1];
    }
    for (std::size_t g = 1; g <= groups; ++g) {
        at[g] += at[g - 1];
    }
    thread_local std::vector<Record> placed;
    try {
        placed.resize(static_cast<std::size_t>(end - begin));
    } catch (const std::bad_alloc&) {
        return false; // the caller sorts in place instead
    }
    for (const Record* r = begin; r != end; ++r) {
        placed[at[group(r->prefix)]++] = *r;
    }
    std::copy(placed.begin(), placed.end(), begin);
    return true;
}

// Parts records in place by prefix, in ascending order of prefix, when they
// hold few distinct prefixes: on average a run of kMinRun records or more for
// each, and no more than kMaxParts (which keeps the table in the cache).
// Within a part the order is lost. False, and nothing moved, otherwise.
bool EntryStore::partByPrefix(Record* begin, Record* end) {
    constexpr std::size_t kMinRun = 32;
    constexpr std::size_t kMaxParts = std::size_t{1} << 16;
    const auto n = static_cast<std::size_t>(end - begin);
    const std::size_t maxParts = std::min(n / kMinRun, kMaxParts);
    if (maxParts < 2) {
        return false;
    }
    struct Slot {
        std::uint64_t prefix;
        std::uint32_t count; // 0: a free slot
        std::uint32_t next;  // where the part's next record goes
    };
    thread_local std::vector<Slot> table;
    const std::size_t size = std::bit_ceil(2 * maxParts);
    try {
        table.assign(size, Slot{0, 0, 0});
    } catch (const std::bad_alloc&) {
        return false;
    }
    const auto slotOf = [&](std::uint64_t prefix) -> Slot& {
        std::size_t i = static_cast<std::size_t>((prefix * 0x9E3779B97F4A7C15u) >> 32) & (size - 1);
        while (table[i].count != 0 && table[i].prefix != prefix) {
            i = (i + 1) & (size - 1);
        }
        return table[i];
    };
    std::size_t parts = 0;
    for (const Record* r = begin; r != end; ++r) {
        Slot& slot = slotOf(r->prefix);
        if (slot.count == 0) {
            if (++parts > maxParts) {
                return false;
            }
            slot.prefix = r->prefix;
        }
        ++slot.count;
    }
    std::vector<Slot*> order;
    order.reserve(parts);
    for (Slot& slot : table) {
        if (slot.count != 0) {
            order.push_back(&slot);
        }
    }
    std::sort(order.begin(), order.end(),
              [](const Slot* a, const Slot* b) { return a->prefix < b->prefix; });
    std::uint32_t at = 0;
    for (Slot* slot : order) {
        slot->next = at;
        at += slot->count;
        slot->count = at; // from here on, where the part ends
    }
    for (Slot* slot : order) {
        while (slot->next < slot->count) {
            Record& r = begin[slot->next];
            Slot& home = slotOf(r.prefix);
            if (&home == slot) {
                ++slot->next;
            } else {
                std::swap(r, begin[home.next++]);
            }
        }
    }
    return true;
}

void EntryStore::sortRun(Record* begin, Record* end, std::size_t depth) const {
    const auto byPrefix = [](const Record& a, const Record& b) {
        return a.prefix != b.prefix ? a.prefix < b.prefix : a.line < b.line;
    };
    // At the first chunk the records are out of their lines' order: parted by
    // prefix, each run of one prefix is put back in it below. Below the first
    // chunk a run is in its lines' order, which grouping keeps.
    const bool parted = depth == 0 && partByPrefix(begin, end);
    if (!parted && (depth == 0 || !groupByPrefix(begin, end))) {
        std::sort(begin, end, byPrefix);
    }
    for (Record* run = begin; run != end;) {
        const std::uint64_t prefix = run->prefix;
        Record* runEnd = run + 1;
        while (runEnd != end && runEnd->prefix == prefix) {
            ++runEnd;
        }
        if (parted) {
            std::sort(run, runEnd,
                      [](const Record& a, const Record& b) { return a.line < b.line; });
        }
        // Records that share a chunk go on by the next one, where a key that
        // has ended gets 0 and comes first. A zero byte in the shared chunk
        // means the keys ended in it: they are equal, and already in their
        // lines' order.
        const bool ended = (prefix & 0xFF) == 0;
        if (runEnd - run > 1 && !ended && depth < kMaxChunkDepth) {
            // The keys lie in their lines' order, the records no longer:
            // each key is fetched a few records ahead of its use.
            constexpr std::ptrdiff_t kAhead = 8;
            for (Record* r = run; r != runEnd; ++r) {
                if (runEnd - r > kAhead) {
                    __builtin_prefetch(m_keys.data() + r[kAhead].key);
                }
                r->prefix = mbcs::sortChunk(key(*r), depth + 1).value;
            }
            sortRun(run, runEnd, depth + 1);
            // Every record keeps its own key's prefix, for the search.
            for (Record* r = run; r != runEnd; ++r) {
                r->prefix = prefix;
            }
        } else if (runEnd - run > 1 && !ended) {
            std::sort(run, runEnd, [this](const Record& a, const Record& b) {
                const int order = mbcs::compare(key(a), key(b));
                return order != 0 ? order < 0 : a.line < b.line;
            });
        }
        run = runEnd;
    }
}

void EntryStore::sort() {
    // The records are first parted in place by the first byte of their key's
    // sort prefix; the parts then sort on both cores, largest first. Within a
    // part the prefix decides, and runs of equal prefixes go on eight bytes
    // at a time. Equal keys keep the order of their lines.
    std::array<std::size_t, 257> start{};
    for (const Record& r : m_records) {
        ++start[(r.prefix >> 56) + 1];
    }
    for (std::size_t b = 1; b < start.size(); ++b) {
        start[b] += start[b - 1];
    }
    std::array<std::size_t, 256> next{};
    std::copy(start.begin(), start.end() - 1, next.begin());
    for (std::size_t b = 0; b < 256; ++b) {
        while (next[b] < start[b + 1]) {
            const std::size_t to = m_records[next[b]].prefix >> 56;
            if (to == b) {
                ++next[b];
            } else {
                std::swap(m_records[next[b]], m_records[next[to]++]);
            }
        }
    }
    std::vector<std::size_t> buckets;
    for (std::size_t b = 0; b < 256; ++b) {
        if (start[b + 1] - start[b] > 1) {
            buckets.push_back(b);
        }
    }
    std::sort(buckets.begin(), buckets.end(), [&](std::size_t a, std::size_t b) {
        return start[a + 1] - start[a] > start[b + 1] - start[b];
    });
    std::atomic<std::size_t> taken{0};
    auto work = [&] {
        for (std::size_t i = taken++; i < buckets.size(); i = taken++) {
            Record* const first = m_records.data();
            sortRun(first + start[buckets[i]], first + start[buckets[i] + 1], 0);
        }
    };
    inParallel(worthTwoThreads(m_records.size() * sizeof(Record)), work, work);
}

} // namespace vocab
