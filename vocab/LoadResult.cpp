#include "vocab/LoadResult.h"

#include "vocab/WordLists.h"

namespace vocab {

std::string_view ListFailure::fileName() const {
    return kWordLists[list].fileName;
}

std::string ListFailure::reason() const {
    if (error) {
        return error.message();
    }
    switch (kind) {
    case FailureKind::Missing:
        return std::make_error_code(std::errc::no_such_file_or_directory).message();
    case FailureKind::NotRegularFile:
        return "not a regular file";
    case FailureKind::TooLarge:
        return "the word lists together exceed 4 GiB";
    case FailureKind::Unreadable:
        break;
    }
    return std::make_error_code(std::errc::io_error).message();
}

std::string ListFailure::message() const {
    const bool opening = kind == FailureKind::Missing || kind == FailureKind::NotRegularFile;
    return (opening ? "cannot open " : "cannot read ") + std::string(fileName()) + ": " + reason();
}

} // namespace vocab
