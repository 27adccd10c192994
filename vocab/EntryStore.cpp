#include "vocab/EntryStore.h"

#include "vocab/Mbcs.h"
#include "vocab/SoundKey.h"
#include "vocab/WordLine.h"
#include "vocab/WordLists.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <system_error>

namespace vocab {

namespace {

constexpr char kCtrlZ = '\x1A';
// Room beyond the files' sizes, so that the read that finds the end of the
// last file needs no more.
constexpr std::size_t kReadSlack = 1 << 16;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Reads the whole of file onto the end of text, into the room reserved for
// it where there is enough, so that the buffer does not move.
template <class Bytes> bool readAll(std::FILE* file, Bytes& text) {
    constexpr std::size_t kMinChunk = 1 << 16;
    for (;;) {
        const std::size_t old = text.size();
        const std::size_t chunk = std::max(text.capacity() - old, kMinChunk);
        text.resize(old + chunk);
        const std::size_t got = std::fread(text.data() + old, 1, chunk, file);
        text.resize(old + got);
        if (got < chunk) {
            return !std::ferror(file);
        }
    }
}

std::uint32_t offset(std::size_t n) {
    return static_cast<std::uint32_t>(n);
}

} // namespace

LoadResult EntryStore::load(const std::filesystem::path& dir) {
    // Failures are reported in the order of the lists, whichever step failed.
    std::array<std::optional<ListFailure>, kWordLists.size()> failed;
    auto fail = [&](std::size_t list, const char* action, std::string reason) {
        failed[list] =
            ListFailure{std::string(kWordLists[list].fileName), action, std::move(reason)};
    };

    std::array<File, kWordLists.size()> files;
    std::size_t expected = m_text.size();
    for (std::size_t i = 0; i < kWordLists.size(); ++i) {
        const std::filesystem::path path = dir / std::filesystem::u8path(kWordLists[i].fileName);
        files[i].reset(std::fopen(path.c_str(), "rb"));
        if (!files[i]) {
            fail(i, "open", std::strerror(errno));
            continue;
        }
        std::error_code ec;
        const auto size = std::filesystem::file_size(path, ec);
        if (!ec) {
            expected += size;
        }
    }
    // One allocation for both lists: growing the buffer would copy it.
    m_text.reserve(std::min(expected, kMaxTextBytes) + kReadSlack);

    struct Span {
        std::size_t begin;
        std::size_t end;
        std::size_t list;
    };
    std::vector<Span> spans;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!files[i]) {
            continue;
        }
        const std::size_t begin = m_text.size();
        errno = 0;
        if (!readAll(files[i].get(), m_text)) {
            const int error = errno != 0 ? errno : EIO;
            m_text.resize(begin);
            fail(i, "read", std::strerror(error));
            continue;
        }
        if (m_text.size() > kMaxTextBytes) {
            m_text.resize(begin);
            fail(i, "read", "the word lists together exceed 4 GiB");
            continue;
        }
        // Ctrl-Z ends a list, as it ends a file read in text mode.
        const void* ctrlZ = std::memchr(m_text.data() + begin, kCtrlZ, m_text.size() - begin);
        if (ctrlZ) {
            m_text.resize(
                static_cast<std::size_t>(static_cast<const char*>(ctrlZ) - m_text.data()));
        }
        spans.push_back({begin, m_text.size(), i});
    }

    if (!spans.empty()) {
        reserveFor(spans.front().begin);
    }
    for (const Span& span : spans) {
        indexLines(span.begin, span.end, span.list);
    }
    LoadResult result;
    for (auto& failure : failed) {
        if (failure) {
            result.failures.push_back(std::move(*failure));
        }
    }
    return result;
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
