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
#include <cstring>
#include <new>
#include <system_error>

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
    for (const Span& span : spans) {
        if (auto failure = indexList(span)) {
            // Failures stay in the order of the lists.
            auto at = std::find_if(result.failures.begin(), result.failures.end(),
                                   [&](const ListFailure& f) { return f.list > span.list; });
            result.failures.insert(at, *failure);
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
        const auto first = m_text.begin() + static_cast<std::ptrdiff_t>(begin);
        const auto ctrlZ = std::find(first, m_text.end(), kCtrlZ);
        if (ctrlZ != m_text.end()) {
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

std::optional<ListFailure> EntryStore::indexList(const Span& span) {
    const std::size_t records = m_records.size();
    const std::size_t keys = m_keys.size();
    const std::size_t lists = m_lists.size();
    try {
        reserveFor(span.begin);
        indexLines(span.begin, span.end, span.list);
    } catch (const std::bad_alloc&) {
        m_records.resize(records);
        m_keys.resize(keys);
        m_lists.resize(lists);
        return outOfMemory(span.list);
    }
    return std::nullopt;
}

bool EntryStore::appendList(std::string_view bytes, std::size_t list) {
    if (bytes.size() > kMaxTextBytes - m_text.size()) {
        return false;
    }
    const std::size_t begin = m_text.size();
    m_text.insert(m_text.end(), bytes.begin(), std::find(bytes.begin(), bytes.end(), kCtrlZ));
    reserveFor(begin);
    indexLines(begin, m_text.size(), list);
    return true;
}

void EntryStore::reserveFor(std::size_t begin) {
    const auto first = m_text.begin() + static_cast<std::ptrdiff_t>(begin);
    const auto lines = static_cast<std::size_t>(std::count(first, m_text.end(), '\n')) + 2;
    m_records.reserve(m_records.size() + lines);
    // A key is never longer than its transcription, and transcriptions are
    // rarely more than a quarter of a line.
    m_keys.reserve(m_keys.size() + (m_text.size() - begin) / 4);
}

void EntryStore::indexLines(std::size_t begin, std::size_t end, std::size_t list) {
    m_lists.push_back({begin, list});
    const char* const base = m_text.data();
    const char* p = base + begin;
    const char* const stop = base + end;
    while (p < stop) {
        const char* eol =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(stop - p)));
        const char* const next = eol ? eol + 1 : stop;
        if (!eol) {
            eol = stop;
        } else if (eol > p && eol[-1] == '\r') {
            --eol; // CR LF reads as LF
        }
        const std::string_view line(p, static_cast<std::size_t>(eol - p));
        const std::string_view phonetic = WordLine::parse(line).phonetic;
        const std::size_t keyStart = m_keys.size();
        m_keys.resize(keyStart + phonetic.size());
        const std::size_t keyLength = writeSoundKey(phonetic, m_keys.data() + keyStart);
        m_keys.resize(keyStart + keyLength);
        m_records.push_back(Record{mbcs::sortPrefix({m_keys.data() + keyStart, keyLength}).value,
                                   offset(static_cast<std::size_t>(p - base)), offset(line.size()),
                                   offset(keyStart), offset(keyLength)});
        p = next;
    }
}

std::string_view EntryStore::levelTag(std::size_t lineOffset) const {
    std::size_t list = m_lists.front().list;
    for (const ListStart& start : m_lists) {
        if (start.offset > lineOffset) {
            break;
        }
        list = start.list;
    }
    return kWordLists[list].levelTag;
}

WordEntry EntryStore::operator[](std::size_t i) const {
    const Record& r = m_records[i];
    const WordLine parts = WordLine::parse({m_text.data() + r.line, r.lineLength});
    return WordEntry{key(i), parts.word, parts.phonetic, parts.meaning, levelTag(r.line)};
}

void EntryStore::sort() {
    // Most keys differ in their first eight bytes, so the records sort on the
    // prefix alone; only runs of equal prefixes need the full comparison. Equal
    // keys keep the order of their lines.
    std::sort(m_records.begin(), m_records.end(),
              [](const Record& a, const Record& b) { return a.prefix < b.prefix; });
    const auto byKey = [this](const Record& a, const Record& b) {
        const int order = mbcs::compare({m_keys.data() + a.key, a.keyLength},
                                        {m_keys.data() + b.key, b.keyLength});
        return order != 0 ? order < 0 : a.line < b.line;
    };
    for (auto run = m_records.begin(); run != m_records.end();) {
        const std::uint64_t prefix = run->prefix;
        const auto runEnd = std::find_if(run + 1, m_records.end(),
                                         [prefix](const Record& r) { return r.prefix != prefix; });
        if (runEnd - run > 1) {
            std::sort(run, runEnd, byKey);
        }
        run = runEnd;
    }

    // Lay the keys out in the new order, so that a search walks memory in order.
    // The reads jump about, so they are asked for a few records ahead.
    constexpr std::size_t kAhead = 16;
    Bytes keys(m_keys.size());
    std::size_t at = 0;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (i + kAhead < m_records.size()) {
            __builtin_prefetch(m_keys.data() + m_records[i + kAhead].key);
        }
        Record& r = m_records[i];
        const char* from = m_keys.data() + r.key;
        std::copy(from, from + r.keyLength, keys.data() + at);
        r.key = offset(at);
        at += r.keyLength;
    }
    m_keys = std::move(keys);
}

} // namespace vocab
