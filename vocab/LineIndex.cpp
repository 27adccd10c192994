#include "vocab/EntryStore.h"

#include "vocab/ByteScan.h"
#include "vocab/Mbcs.h"
#include "vocab/SoundKey.h"
#include "vocab/TwoThreads.h"
#include "vocab/WordLine.h"
#include "vocab/WordLists.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace vocab {

namespace {

std::uint32_t offset(std::size_t n) {
    return static_cast<std::uint32_t>(n);
}

// Lines from begin to end: every LF ends one, and so does the end when a
// piece is left after the last LF.
std::size_t countLines(const char* begin, const char* end) {
    std::size_t lines = 0;
    for (const char* p = begin; p < end; ++lines) {
        const char* const eol = findByte(p, end, '\n');
        p = eol != end ? eol + 1 : end;
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
    const char* const lf = findByte(p, stop, '\n');
    if (lf == stop) {
        return {{p, static_cast<std::size_t>(stop - p)}, stop};
    }
    const char* end = lf > p && lf[-1] == '\r' ? lf - 1 : lf;
    return {{p, static_cast<std::size_t>(end - p)}, lf + 1};
}

} // namespace

void EntryStore::indexSpans(const std::vector<Span>& spans) {
    std::size_t total = 0;
    for (const Span& span : spans) {
        m_lists.push_back({span.begin, span.end, span.list});
        total += span.end - span.begin;
    }
    // The lines are cut into two parts of about equal size at a line start,
    // one for each thread; each part's records go to their own place in
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
        const char* const end = base + span.end;
        const char* const eol = findByte(base + span.begin + left, end, '\n');
        const std::size_t cut = eol != end ? static_cast<std::size_t>(eol - base) + 1 : span.end;
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

    // Each part writes its keys into a room of m_keys of its own, which they
    // cannot outgrow: a key is never longer than its line, and its length
    // takes at most five bytes. The rooms are only reserved, not touched, so
    // what the keys leave of one costs no memory, and no key is moved. Where
    // the rooms would pass what a 32-bit offset reaches (lists near the
    // limit), the parts fill one room in turn.
    const std::size_t first = m_records.size();
    m_records.resize(first + lines[0] + lines[1]);
    std::array<std::size_t, 2> room{};
    for (std::size_t part = 0; part < 2; ++part) {
        for (const Span& span : parts[part]) {
            room[part] += span.end - span.begin;
        }
        room[part] += (1 + sizeof(std::uint32_t)) * lines[part];
    }
    const std::size_t base = m_keys.size();
    const std::size_t limit = kMaxTextBytes - base;
    const bool apart = room[0] <= limit && room[1] <= limit - room[0];
    m_keys.resize(base + (apart ? room[0] + room[1] : limit));
    char* const keys = m_keys.data() + base;
    char* const keysEnd = m_keys.data() + m_keys.size();
    char* firstEnd = keys;
    char* secondEnd = keys;
    inParallel(
        parallel && apart,
        [&] {
            firstEnd = indexLines(parts[0], m_records.data() + first, keys,
                                  apart ? keys + room[0] : keysEnd);
        },
        [&] {
            secondEnd = indexLines(parts[1], m_records.data() + first + lines[0],
                                   apart ? keys + room[0] : firstEnd, keysEnd);
        });
    // No room is left unused after the last keys: a list appended later
    // begins its rooms there.
    const char* const end = parts[1].empty() ? firstEnd : secondEnd;
    m_keys.resize(static_cast<std::size_t>(end - m_keys.data()));
}

char* EntryStore::indexLines(const std::vector<Span>& spans, Record* out, char* keys,
                             const char* keysEnd) const {
    const char* const base = m_text.data();
    const char* const keyBase = m_keys.data();
    for (const Span& span : spans) {
        const char* p = base + span.begin;
        const char* const stop = base + span.end;
        while (p < stop) {
            const auto [line, next] = lineAt(p, stop);
            // A key is never longer than its line, so a short line's key
            // length fits in one byte.
            const std::size_t lengthBytes = line.size() < kShortKey ? 1 : 1 + sizeof(std::uint32_t);
            if (lengthBytes + line.size() > static_cast<std::size_t>(keysEnd - keys)) {
                throw std::bad_alloc(); // beyond what a 32-bit offset reaches
            }
            char* const keyText = keys + lengthBytes;
            const std::size_t keyLength = writeLineSoundKey(line, keyText);
            if (lengthBytes == 1) {
                keys[0] = static_cast<char>(keyLength);
            } else {
                keys[0] = static_cast<char>(kShortKey);
                const std::uint32_t length = offset(keyLength);
                std::memcpy(keys + 1, &length, sizeof length);
            }
            *out++ = Record{mbcs::sortPrefix({keyText, keyLength}).value,
                            offset(static_cast<std::size_t>(p - base)),
                            offset(static_cast<std::size_t>(keys - keyBase))};
            keys = keyText + keyLength;
            p = next;
        }
    }
    return keys;
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

} // namespace vocab
