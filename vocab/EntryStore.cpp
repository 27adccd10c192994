#include "vocab/EntryStore.h"

#include "vocab/ListFile.h"
#include "vocab/ListLoader.h"
#include "vocab/WordLists.h"

#include <algorithm>
#include <array>
#include <new>
#include <system_error>

namespace vocab {

namespace {

constexpr char kCtrlZ = '\x1A';
// Room beyond the files' sizes, so that the read that finds the end of the
// last file needs no more.
constexpr std::size_t kReadSlack = 1 << 16;

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
        if (auto failure =
                loadList(paths[i], i, kMaxTextBytes, m_text, result.ignored, result.nuls)) {
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

bool EntryStore::appendList(std::string_view bytes, std::size_t list) {
    if (bytes.size() > kMaxTextBytes - m_text.size()) {
        return false;
    }
    const std::size_t begin = m_text.size();
    m_text.insert(m_text.end(), bytes.begin(), std::find(bytes.begin(), bytes.end(), kCtrlZ));
    indexSpans({{begin, m_text.size(), list}});
    return true;
}

} // namespace vocab
