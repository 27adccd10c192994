#include "lookup/WindowImport.h"

#include "importer/ListFolder.h"
#include "importer/SystemError.h"
#include "lookup/Texts.h"
#include "vocab/WordLists.h"

#include <algorithm>
#include <array>

namespace lookup {

namespace fs = std::filesystem;

bool holdsLists(const fs::path& folder) {
    const std::array<fs::path, 2> targets = importer::listTargets(folder);
    return std::any_of(targets.begin(), targets.end(), [](const fs::path& target) {
        std::error_code ec;
        return fs::exists(fs::symlink_status(target, ec));
    });
}

std::string importNotice(const importer::ImportReport& report) {
    using Status = importer::ImportReport::Status;
    if (report.status == Status::Written || report.status == Status::NothingSelected) {
        const importer::Tally& tally = report.tally;
        std::string notice = report.status == Status::Written ? "词库已导入：" : "没有导入：";
        for (std::size_t i = 0; i < vocab::kWordLists.size(); ++i) {
            notice += std::string(vocab::kWordLists[i].fileName) + " " +
                      std::to_string(report.entries[i]) + " 个词，";
        }
        notice += "跳过 " + std::to_string(tally.badWord + tally.emptyPhonetic + tally.notUtf8) +
                  " 行（共读了 " + std::to_string(tally.rows) + " 行）。";
        if (report.status == Status::NothingSelected) {
            notice += "这个文件里没有标为 cet4 或 cet6 的词。";
        }
        return notice;
    }
    std::string reason = report.error;
    if (!report.blocked.empty()) {
        reason = importer::pathText(report.blocked.front().path) +
                 (report.blocked.front().notAFile ? " is not a regular file" : " exists");
    }
    return std::string(text::kImportFailed) + reason;
}

ImportEnd importEnded(const importer::ImportReport& report, const std::optional<fs::path>& dir,
                      const vocab::DataEnvironment& env) {
    using Status = importer::ImportReport::Status;
    if (report.status == Status::Stopped) {
        return {};
    }
    ImportEnd end{importNotice(report), std::nullopt};
    if (report.status == Status::Written) {
        end.reload = vocab::locateData(dir, env);
        const fs::path written = report.targets[0].parent_path();
        std::error_code ec;
        if (!fs::equivalent(end.reload->listFolder, written, ec)) {
            *end.notice += std::string(text::kImportedElsewhere) + importer::pathText(written) +
                           std::string(text::kImportedElsewhereShown) +
                           importer::pathText(end.reload->listFolder) +
                           std::string(text::kImportedElsewhereEnd);
        }
    }
    return end;
}

bool showsSampleLists(const fs::path& listFolder, const vocab::DataEnvironment& env) {
    for (const fs::path& folder : vocab::systemListFolders(env)) {
        std::error_code ec;
        if (fs::equivalent(folder, listFolder, ec)) {
            return true;
        }
    }
    return false;
}

ImportTask::ImportTask(importer::ImportRequest request, std::function<void()> pausing) {
    std::error_code ec;
    const auto size = fs::file_size(request.csv, ec);
    m_size = ec ? 0 : static_cast<std::uint64_t>(size);
    m_thread = std::thread([this, request = std::move(request), pausing = std::move(pausing)] {
        m_report = importer::runImport(request, [&](std::uint64_t read) {
            m_read.store(read);
            if (pausing) {
                pausing();
            }
            return !m_cancelled.load();
        });
        m_done.store(true);
    });
}

ImportTask::~ImportTask() {
    cancel();
    m_thread.join();
}

double ImportTask::progress() const {
    return m_size == 0 ? 0.0 : std::min(1.0, static_cast<double>(m_read.load()) / m_size);
}

} // namespace lookup
