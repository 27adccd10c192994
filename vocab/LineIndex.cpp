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

} // namespace vocab
