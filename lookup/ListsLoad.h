#pragma once

#include "vocab/EntryStore.h"
#include "vocab/LoadResult.h"

#include <filesystem>
#include <future>
#include <optional>

namespace lookup {

// A folder's word lists in a store of their own, sorted, and what failed:
// what a window shows. What could be read is there, whatever else failed.
struct LoadedLists {
    vocab::EntryStore entries;
    vocab::LoadResult result;
};
LoadedLists loadLists(const std::filesystem::path& folder);

// The lists a window shows. Those it opens with are read on a thread of
// their own from when the window is made, while its controls are built: with
// a million entries the reading is most of the start. Later ones (after an
// import) are read when they are asked for.
class ListsLoad {
public:
    // Begins reading folder's lists.
    void begin(const std::filesystem::path& folder);
    // folder's lists: those begun, when they were begun for it and not yet
    // taken, else read now.
    LoadedLists take(const std::filesystem::path& folder);

private:
    std::optional<std::filesystem::path> m_folder;
    std::future<LoadedLists> m_loading; // waits, when it goes, for a reading never taken
};

} // namespace lookup
