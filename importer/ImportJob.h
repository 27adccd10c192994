#pragma once

#include "importer/EcdictReader.h"
#include "importer/ListFolder.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace importer {

// One import of ECDICT's CSV into a folder's two lists, for the command line
// and the windows alike.
struct ImportRequest {
    std::filesystem::path csv; // "-": standard input
    std::filesystem::path folder;
    bool replace = false; // lists that are there may be replaced
};

struct ImportReport {
    enum class Status { Written, NothingSelected, Failed, Stopped };
    Status status = Status::Failed;
    // Failed: what failed, in the command line's words. Empty when lists
    // stood in the way (blocked says which).
    std::string error;
    std::vector<ListFolder::Blocked> blocked;
    bool readingFailed = false; // the error is the CSV's own, named by the caller
    std::array<std::filesystem::path, 2> targets;
    std::array<std::size_t, 2> entries{};
    Tally tally;
};

// Reads the CSV and, when it selected any row, puts both lists in place
// together; keepGoing is asked after every block read and may stop it, with
// the old lists whole. For tests, placing is called with the folder just
// before the lists are put in place.
[[nodiscard]] ImportReport runImport(const ImportRequest& request, const KeepGoing& keepGoing = {},
                                     const std::function<void(ListFolder&)>& placing = {});

} // namespace importer
