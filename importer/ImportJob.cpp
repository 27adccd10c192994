#include "importer/ImportJob.h"

#include "importer/CsvInput.h"

namespace importer {

ImportReport runImport(const ImportRequest& request, const KeepGoing& keepGoing,
                       const std::function<void(ListFolder&)>& placing) {
    ImportReport report;
    ListFolder::Taken taken = ListFolder::take(request.folder);
    if (!taken.folder) {
        report.error = taken.error;
        return report;
    }
    ListFolder& folder = *taken.folder;
    report.targets = folder.targets();
    // Before the long read: a list in the way stops everything.
    report.blocked = folder.blocked(request.replace);
    if (!report.blocked.empty()) {
        return report;
    }

    CsvInput::Opened opened = CsvInput::open(request.csv);
    if (!opened.input) {
        report.error = opened.error;
        return report;
    }
    CsvInput& input = *opened.input;
    ReadOutcome read = readEcdict(
        [&](char* buffer, std::size_t size) { return input.read(buffer, size); }, keepGoing);
    if (read.stopped) {
        report.status = ImportReport::Status::Stopped;
        return report;
    }
    if (!read.lists) {
        report.error = read.error;
        report.readingFailed = true;
        return report;
    }
    ImportedLists& lists = *read.lists;
    report.entries = lists.entries;
    report.tally = std::move(lists.tally);
    if (lists.entries[0] + lists.entries[1] == 0) {
        report.status = ImportReport::Status::NothingSelected;
        return report;
    }
    report.blocked = folder.blocked(request.replace);
    if (!report.blocked.empty()) {
        return report;
    }
    if (placing) {
        placing(folder);
    }
    if (auto error = folder.replace(lists.lists, request.replace)) {
        report.error = *error;
        return report;
    }
    report.status = ImportReport::Status::Written;
    return report;
}

} // namespace importer
