#include "lookup/ListsLoad.h"

#include <system_error>
#include <utility>

namespace lookup {

LoadedLists loadLists(const std::filesystem::path& folder) {
    LoadedLists lists;
    lists.result = lists.entries.load(folder);
    lists.entries.sort();
    return lists;
}

void ListsLoad::begin(const std::filesystem::path& folder) {
    m_folder = folder;
    try {
        m_loading = std::async(std::launch::async, [folder] { return loadLists(folder); });
    } catch (const std::system_error&) {
        m_loading = {}; // no thread to be had: take() reads them
    }
}

LoadedLists ListsLoad::take(const std::filesystem::path& folder) {
    const bool begun = m_folder == folder;
    m_folder.reset();
    if (begun && m_loading.valid()) {
        return m_loading.get();
    }
    if (m_loading.valid()) {
        m_loading.wait(); // of another folder: nobody will ask for them
        m_loading = {};
    }
    return loadLists(folder);
}

} // namespace lookup
