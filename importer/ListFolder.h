#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace importer {

// The folder an import writes the two lists into, held for the import's
// whole run: an advisory lock keeps a second import out, so that two never
// interleave, and temporary files that an import killed on the way left
// behind are removed when the next one takes the folder.
class ListFolder {
public:
    ListFolder(const ListFolder&) = delete;
    ListFolder& operator=(const ListFolder&) = delete;
    ListFolder(ListFolder&& other) noexcept;
    ListFolder& operator=(ListFolder&&) = delete;
    ~ListFolder();

    struct Taken;
    // Makes the folder when it is missing, then takes it; the message names
    // what stood in the way.
    [[nodiscard]] static Taken take(const std::filesystem::path& folder);

    // The Band 4 and Band 6 lists' files.
    const std::array<std::filesystem::path, 2>& targets() const { return m_targets; }

    // A list that stands in the way: one that is there when it is not to be
    // replaced, or one that is not a file.
    struct Blocked {
        std::filesystem::path path;
        bool notAFile;
    };
    [[nodiscard]] std::vector<Blocked> blocked(bool replace) const;

    // Writes both lists and puts them in place together: either both are
    // replaced or, when any step fails, both are as they were. The message
    // says what failed and in what state that left the lists. Without
    // replace a list that appeared in the meantime is never replaced.
    [[nodiscard]] std::optional<std::string> replace(const std::array<std::string, 2>& lists,
                                                     bool replace);

    // For tests: called before each step that puts a file in place (0 and 1,
    // the lists), which fails with the errno it returns when that is not 0.
    std::function<int(std::size_t list)> beforePlacing;

private:
    // A descriptor, or a Windows HANDLE: INVALID_HANDLE_VALUE is -1 too.
    static constexpr std::intptr_t kNoLock = -1;
    struct Lock {
        std::intptr_t handle = kNoLock;
        std::string error; // without a lock: what failed, empty when another import holds it
    };

    ListFolder(std::filesystem::path folder, std::intptr_t lock);
    void removeStaleFiles() const;
    // ".大学四级.txt.1234-0.tmp", the attempt'th name process tries for list's
    // new file: hidden, and told apart from the lists by the reader of the folder.
    std::filesystem::path temporaryName(std::size_t list, unsigned long process, int attempt) const;
    void removeTemporaries();
    // Platform steps: the lock that keeps a second import out, and its end;
    // then the steps of replace, each an error message or nothing.
    static Lock lock(const std::filesystem::path& folder);
    static void unlock(std::intptr_t handle);
    std::optional<std::string> writeTemporary(std::size_t list, std::string_view bytes);
    // Puts list's temporary file in place: swapped with the old list when
    // there is one to replace (the temporary name then holds the old list),
    // else moved where no file may be.
    std::optional<std::string> place(std::size_t list, bool swap);
    // Undoes place(list, swap).
    std::optional<std::string> unplace(std::size_t list, bool swap);

    std::filesystem::path m_folder;
    std::array<std::filesystem::path, 2> m_targets;
    std::intptr_t m_lock;
    std::array<std::filesystem::path, 2> m_temporaries;
    std::array<int, 2> m_slots{-1, -1}; // in the signal handlers' table
};

// The Band 4 and Band 6 lists' files in folder.
[[nodiscard]] std::array<std::filesystem::path, 2> listTargets(const std::filesystem::path& folder);

struct ListFolder::Taken {
    std::optional<ListFolder> folder;
    std::string error;
};

// Has SIGINT and SIGTERM remove the temporary files of the imports under way
// before the process ends, and SIGXFSZ report a file size limit as an error
// ("File too large") instead of killing the process. For a command's main.
void cleanUpOnSignals();

} // namespace importer
