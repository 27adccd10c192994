#include "vocab/EntryStore.h"

#include "vocab/Mbcs.h"
#include "vocab/TwoThreads.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <new>

namespace vocab {

namespace {

// Below this depth (in chunks of eight bytes) equal beginnings are told
// apart chunk by chunk; deeper, by comparing whole keys, so that a few very
// long equal keys cost neither stack nor quadratic time.
constexpr std::size_t kMaxChunkDepth = 6;

} // namespace

// The room the sort's counting parts work in: one per thread of a sort() call,
// grown to the largest run it meets and gone when the call ends.
struct EntryStore::SortScratch {
    struct Slot {
        std::uint64_t prefix;
        std::uint32_t count; // 0: a free slot
        std::uint32_t next;  // where the part's next record goes
    };
    std::vector<Record> placed;
    std::vector<Slot> table;
};

// Orders records that are in their lines' order by prefix, keeping that
// order among equal prefixes, when they hold only a few distinct prefixes
// (as the repeats of a few transcriptions do): one pass to find them, one to
// count and one to place. False, and nothing moved, when they hold more.
bool EntryStore::groupByPrefix(Record* begin, Record* end, SortScratch& scratch) {
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
    std::vector<Record>& placed = scratch.placed;
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
bool EntryStore::partByPrefix(Record* begin, Record* end, SortScratch& scratch) {
    constexpr std::size_t kMinRun = 32;
    constexpr std::size_t kMaxParts = std::size_t{1} << 16;
    const auto n = static_cast<std::size_t>(end - begin);
    const std::size_t maxParts = std::min(n / kMinRun, kMaxParts);
    if (maxParts < 2) {
        return false;
    }
    using Slot = SortScratch::Slot;
    std::vector<Slot>& table = scratch.table;
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

void EntryStore::sortRun(Record* begin, Record* end, std::size_t depth,
                         SortScratch& scratch) const {
    const auto byPrefix = [](const Record& a, const Record& b) {
        return a.prefix != b.prefix ? a.prefix < b.prefix : a.line < b.line;
    };
    // At the first chunk the records are out of their lines' order: parted by
    // prefix, each run of one prefix is put back in it below. Below the first
    // chunk a run is in its lines' order, which grouping keeps.
    const bool parted = depth == 0 && partByPrefix(begin, end, scratch);
    if (!parted && (depth == 0 || !groupByPrefix(begin, end, scratch))) {
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
            sortRun(run, runEnd, depth + 1, scratch);
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
    // sort prefix; the parts then sort on two threads, largest first. Within a
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
        SortScratch scratch;
        for (std::size_t i = taken++; i < buckets.size(); i = taken++) {
            Record* const first = m_records.data();
            sortRun(first + start[buckets[i]], first + start[buckets[i] + 1], 0, scratch);
        }
    };
    inParallel(worthTwoThreads(m_records.size() * sizeof(Record)), work, work);
}

} // namespace vocab
