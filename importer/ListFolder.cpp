#include "importer/ListFolder.h"

#include "importer/SystemError.h"
#include "importer/TemporaryFiles.h"
#include "vocab/WordLists.h"

#include <algorithm>
#include <utility>

namespace importer {

namespace fs = std::filesystem;

namespace {

// A name temporaryName gives, or one with ".old.tmp" after it (an old list
// set aside).
bool isTemporaryName(std::string_view name) {
    if (!name.starts_with('.') || !name.ends_with(".tmp")) {
        return false;
    }
    name.remove_prefix(1);
    return std::any_of(vocab::kWordLists.begin(), vocab::kWordLists.end(), [&](const auto& list) {
        return name.starts_with(list.fileName) &&
               name.substr(list.fileName.size()).starts_with('.');
    });
}

} // namespace

std::array<fs::path, 2> listTargets(const fs::path& folder) {
    std::array<fs::path, 2> targets;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        targets[i] = folder / fs::u8path(vocab::kWordLists[i].fileName);
    }
    return targets;
}

ListFolder::ListFolder(fs::path folder, std::intptr_t lock)
    : m_folder(std::move(folder)), m_targets(listTargets(m_folder)), m_lock(lock) {}

ListFolder::ListFolder(ListFolder&& other) noexcept
    : beforePlacing(std::move(other.beforePlacing)), m_folder(std::move(other.m_folder)),
      m_targets(std::move(other.m_targets)), m_lock(std::exchange(other.m_lock, kNoLock)),
      m_temporaries(std::exchange(other.m_temporaries, {})),
      m_slots(std::exchange(other.m_slots, {-1, -1})) {}

ListFolder::~ListFolder() {
    removeTemporaries();
    if (m_lock != kNoLock) {
        unlock(m_lock);
    }
}

ListFolder::Taken ListFolder::take(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        return {std::nullopt, "cannot create " + pathText(folder) + ": " + ec.message()};
    }
    Lock held = lock(folder);
    if (held.handle == kNoLock) {
        return {std::nullopt, held.error.empty()
                                  ? "another import is writing the lists in " + pathText(folder)
                                  : std::move(held.error)};
    }
    ListFolder taken(folder, held.handle);
    taken.removeStaleFiles();
    return {std::move(taken), {}};
}

void ListFolder::removeStaleFiles() const {
    // The lock is ours: every temporary file of our naming is left over.
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_folder, ec)) {
        if (isTemporaryName(pathText(entry.path().filename()))) {
            fs::remove(entry.path(), ec);
        }
    }
}

fs::path ListFolder::temporaryName(std::size_t list, unsigned long process, int attempt) const {
    // Appended piece by piece: GCC 12 takes "." + string for an overlapping
    // copy (-Wrestrict, a false alarm).
    std::string name = ".";
    name += vocab::kWordLists[list].fileName;
    name += '.';
    name += std::to_string(process);
    name += '-';
    name += std::to_string(attempt);
    name += ".tmp";
    return m_folder / fs::u8path(name);
}

void ListFolder::removeTemporaries() {
    for (std::size_t i = 0; i < m_temporaries.size(); ++i) {
        if (!m_temporaries[i].empty()) {
            std::error_code ec;
            fs::remove(m_temporaries[i], ec);
            m_temporaries[i].clear();
        }
        temporaries::remove(std::exchange(m_slots[i], -1));
    }
}

std::vector<ListFolder::Blocked> ListFolder::blocked(bool replace) const {
    std::vector<Blocked> problems;
    for (const fs::path& target : m_targets) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(target, ec);
        if (!fs::exists(status)) {
            continue;
        }
        if (!fs::is_regular_file(status)) {
            problems.push_back({target, true});
        } else if (!replace) {
            problems.push_back({target, false});
        }
    }
    return problems;
}

std::optional<std::string> ListFolder::replace(const std::array<std::string, 2>& lists,
                                               bool replace) {
    for (std::size_t i = 0; i < lists.size(); ++i) {
        if (auto error = writeTemporary(i, lists[i])) {
            removeTemporaries();
            return *error + "; the lists are as they were";
        }
    }
    std::array<bool, 2> swapped{};
    for (std::size_t i = 0; i < m_targets.size(); ++i) {
        std::error_code ec;
        swapped[i] = replace && fs::is_regular_file(fs::symlink_status(m_targets[i], ec));
        std::optional<std::string> error;
        if (const int injected = beforePlacing ? beforePlacing(i) : 0) {
            error = "cannot replace " + pathText(m_targets[i]) + ": " +
                    std::generic_category().message(injected);
        } else {
            error = place(i, swapped[i]);
        }
        if (!error) {
            continue;
        }
        // The first list is put back, so that the two stay a pair.
        std::string message = *error;
        if (i == 1) {
            if (auto undone = unplace(0, swapped[0])) {
                message += "; " + pathText(m_targets[0]) +
                           " is the new list and could not be put back (" + *undone + ")";
                removeTemporaries();
                return message;
            }
        }
        removeTemporaries();
        return message + "; the lists are as they were";
    }
    removeTemporaries(); // they hold the old lists now
    return std::nullopt;
}

} // namespace importer
