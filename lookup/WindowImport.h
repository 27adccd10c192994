#pragma once

#include "importer/ImportJob.h"
#include "vocab/DataFolders.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace lookup {

// Whether importing into folder replaces lists, so that the learner is asked.
[[nodiscard]] bool holdsLists(const std::filesystem::path& folder);

// One notice of how an import ended, for a report that is not Stopped: the
// entries of each list and the rows skipped, or what failed.
[[nodiscard]] std::string importNotice(const importer::ImportReport& report);

// How the window goes on once an import has ended: the one notice to show
// (none when it was cancelled), and, when lists were written, where to read
// them from again: the folder the window would now choose, with dir its
// --dir. When that is not the folder written to (the current folder holds
// lists, or --dir names another), the notice says where the lists went.
struct ImportEnd {
    std::optional<std::string> notice;
    std::optional<vocab::DataLocation> reload;
};
[[nodiscard]] ImportEnd importEnded(const importer::ImportReport& report,
                                    const std::optional<std::filesystem::path>& dir,
                                    const vocab::DataEnvironment& env);

// Whether the window shows the sample lists that come with the program: its
// lists come from one of the system's folders, not the user's own.
[[nodiscard]] bool showsSampleLists(const std::filesystem::path& listFolder,
                                    const vocab::DataEnvironment& env);

// An import on a thread of its own, so that the window goes on drawing; the
// window asks how far it is and whether it is done, and may cancel it, which
// leaves the old lists whole. Destroying a task cancels it and waits.
class ImportTask {
public:
    // pausing, when given, is asked after each block of the CSV is read,
    // before the task looks whether it was cancelled: a test holds the
    // import there to cancel it at a known point.
    explicit ImportTask(importer::ImportRequest request, std::function<void()> pausing = {});
    ImportTask(const ImportTask&) = delete;
    ImportTask& operator=(const ImportTask&) = delete;
    ~ImportTask();

    // From 0 to 1, by the bytes of the CSV read; 0 when its size is unknown.
    [[nodiscard]] double progress() const;
    [[nodiscard]] bool done() const { return m_done.load(); }
    void cancel() { m_cancelled.store(true); }
    // Once done.
    [[nodiscard]] const importer::ImportReport& report() const { return m_report; }

private:
    std::uint64_t m_size = 0;
    std::atomic<std::uint64_t> m_read{0};
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_done{false};
    importer::ImportReport m_report;
    std::thread m_thread;
};

} // namespace lookup
