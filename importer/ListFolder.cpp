#include "importer/ListFolder.h"

#include "importer/SystemError.h"
#include "importer/TemporaryFiles.h"
#include "vocab/WordLists.h"

namespace importer {

namespace fs = std::filesystem;

namespace {

// ".大学四级.txt.1234-0.tmp": hidden, and told apart from the lists by the
// reader of the folder.
bool isTemporaryName(const std::string& name) {
    if (!name.ends_with(".tmp")) {
        return false;
    }
    const std::string_view rest = std::string_view(name).substr(name.empty() ? 0 : 1);
    for (const vocab::WordListFile& list : vocab::kWordLists) {
        if (name.starts_with('.') && rest.starts_with(list.fileName) &&
            rest.substr(list.fileName.size()).starts_with('.')) {
            return true;
        }
    }
    return false;
}

} // namespace

ListFolder::ListFolder(fs::path folder, std::intptr_t lock)
    : m_folder(std::move(folder)), m_lock(lock) {
    for (std::size_t i = 0; i < m_targets.size(); ++i) {
        m_targets[i] = m_folder / fs::u8path(vocab::kWordLists[i].fileName);
    }
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
