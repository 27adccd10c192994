#include "cli/ImportCommand.h"

#include "cli/EcdictReader.h"
#include "cli/ParsedArgs.h"
#include "codec/Codec.h"
#include "lookup/ArgReader.h"
#include "mirawen/Version.h"
#include "vocab/DataFolders.h"
#include "vocab/IpaCode.h"
#include "vocab/WordLists.h"

#include <csv.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string_view>
#include <unistd.h>

namespace cli {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgram = "mirawen-import";
constexpr std::string_view kUsage = "Usage: mirawen-import [--dir DIR] [--force] CSV\n";
constexpr std::string_view kHelp =
    "Write the word lists 大学四级.txt and 大学六级.txt from ECDICT's CSV file (ecdict.csv):\n"
    "the rows tagged cet4 make the Band 4 list, those tagged cet6 and not cet4 the Band 6 list.\n"
    "\n"
    "  --dir DIR          write the lists to DIR (default: $XDG_DATA_HOME/mirawen,\n"
    "                     that is ~/.local/share/mirawen), created if missing\n"
    "  --force            replace lists that are already there\n"
    "  --help, --version  this text, the version\n"
    "\n"
    "Exit status: 0 when an entry was written, 1 when no row was selected, 2 on an error.\n";
constexpr std::string_view kVersion = "mirawen-import " MIRAWEN_VERSION "\n";

struct Options {
    std::optional<fs::path> dir;
    bool force = false;
    std::string csv;
};

using Parsed = ParsedArgs<Options>;

constexpr std::array<lookup::KnownOption, 4> kOptions{
    {{"--dir", true}, {"--force"}, {"--help"}, {"--version"}}};

Parsed parseArgs(const std::vector<std::string>& args, std::ostream& out) {
    Options options;
    std::vector<std::string> operands;
    lookup::ArgReader reader(args, kOptions);
    while (const std::optional<lookup::ReadArg> arg = reader.next()) {
        using Kind = lookup::ReadArg::Kind;
        if (arg->kind == Kind::UnknownOption) {
            return {{}, "unknown option '" + arg->value + "'", {}};
        }
        if (arg->kind == Kind::MissingValue) {
            return {{}, "option '" + std::string(arg->name) + "' needs a value", {}};
        }
        if (arg->kind == Kind::Operand) {
            operands.push_back(arg->value);
        } else if (arg->name == "--help" || arg->name == "--version") {
            out << (arg->name == "--help" ? std::string(kUsage) + std::string(kHelp)
                                          : std::string(kVersion));
            return {{}, {}, ImportCommand::kWritten};
        } else if (arg->name == "--force") {
            options.force = true;
        } else {
            options.dir = fs::u8path(arg->value);
        }
    }
    if (operands.size() != 1) {
        return {{}, operands.empty() ? "no CSV file named" : "more than one CSV file", {}};
    }
    options.csv = operands.front();
    return {options, {}, {}};
}

using ecdict::Importer;
using ecdict::systemError;
using ecdict::Tally;

// Temporary files beside the lists, removed unless renamed into place.
class TempFiles {
public:
    ~TempFiles() {
        for (const fs::path& path : m_paths) {
            if (!path.empty()) {
                ::unlink(path.c_str());
            }
        }
    }

    // Writes bytes to a new temporary file for target and flushes it to disk.
    std::optional<std::string> write(const fs::path& target, std::string_view bytes) {
        int fd = -1;
        fs::path path;
        for (int n = 0; fd < 0 && n < 100; ++n) {
            // Appended piece by piece: GCC 12 at -O3 takes "." + string for an
            // overlapping copy (-Wrestrict, a false alarm).
            std::string name = ".";
            name += target.filename().string();
            name += '.';
            name += std::to_string(::getpid());
            name += '-';
            name += std::to_string(n);
            name += ".tmp";
            path = target.parent_path() / name;
            fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST) {
                break;
            }
        }
        if (fd < 0) {
            return "cannot create a file in " + target.parent_path().string() + ": " +
                   systemError(errno);
        }
        m_paths.push_back(path);
        int error = 0;
        while (!bytes.empty() && error == 0) {
            const ssize_t put = ::write(fd, bytes.data(), bytes.size());
            if (put == 0 || (put < 0 && errno != EINTR)) {
                error = put == 0 ? EIO : errno;
            } else if (put > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(put));
            }
        }
        if (error == 0 && ::fsync(fd) != 0) {
            error = errno;
        }
        if (::close(fd) != 0 && error == 0) {
            error = errno;
        }
        if (error != 0) {
            return "cannot write " + path.string() + ": " + systemError(error);
        }
        return {};
    }

    std::optional<std::string> renameInto(const std::array<fs::path, 2>& targets) {
        for (std::size_t i = 0; i < targets.size(); ++i) {
            if (::rename(m_paths[i].c_str(), targets[i].c_str()) != 0) {
                return "cannot replace " + targets[i].string() + ": " + systemError(errno);
            }
            m_paths[i].clear();
        }
        m_paths.clear();
        return {};
    }

private:
    std::vector<fs::path> m_paths;
};

// Names each list in folder that is already there (and is not to be replaced)
// or that could not be replaced by a file.
std::vector<std::string> blockedLists(const std::array<fs::path, 2>& targets, bool force) {
    std::vector<std::string> problems;
    for (const fs::path& target : targets) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(target, ec);
        if (!fs::exists(status)) {
            continue;
        }
        if (!force) {
            problems.push_back(target.string() + " exists (--force replaces it)");
        } else if (!fs::is_regular_file(status)) {
            problems.push_back(target.string() + " is not a regular file");
        }
    }
    return problems;
}

std::optional<std::string> writeLists(const fs::path& folder,
                                      const std::array<fs::path, 2>& targets,
                                      const std::array<std::string, 2>& lists) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        return "cannot create " + folder.string() + ": " + ec.message();
    }
    TempFiles temps;
    for (std::size_t i = 0; i < lists.size(); ++i) {
        if (auto error = temps.write(targets[i], lists[i])) {
            return error;
        }
    }
    if (auto error = temps.renameInto(targets)) {
        return error;
    }
    // The renames themselves reach the disk with the folder.
    if (const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return {};
}

std::string utf8Of(char32_t c) {
    if (c < 0x80) {
        return std::string(1, static_cast<char>(c));
    }
    const std::size_t length = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    std::string utf8(length, '\0');
    for (std::size_t k = length - 1; k > 0; --k, c >>= 6) {
        utf8[k] = static_cast<char>(0x80 | (c & 0x3F));
    }
    utf8[0] = static_cast<char>((0xF00u >> length) | c);
    return utf8;
}

std::string rows(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " row" : " rows");
}

void reportTally(const Tally& tally, std::ostream& err) {
    err << kProgram << ": " << rows(tally.rows) << " read, " << tally.untagged
        << " of them tagged neither cet4 nor cet6\n";
    const std::pair<std::size_t, std::string_view> skipped[] = {
        {tally.badWord, "the word is empty or holds \"[\", \"]\" or a line break"},
        {tally.emptyPhonetic, "the phonetic is empty"},
        {tally.notUtf8, "the text is not valid UTF-8"},
    };
    for (const auto& [count, why] : skipped) {
        if (count > 0) {
            err << kProgram << ": " << rows(count) << " skipped: " << why << '\n';
        }
    }
    for (const auto& [c, count] : tally.dropped) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
        err << kProgram << ": dropped from transcriptions: " << code;
        if (c >= 0x20 && c != 0x7F) {
            err << " \"" << utf8Of(c) << '"';
        }
        err << ", " << count << (count == 1 ? " time\n" : " times\n");
    }
}

} // namespace

int ImportCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Parsed parsed = parseArgs(args, out);
    if (const std::optional<int> status =
            endBeforeRunning(parsed, kProgram, kUsage, kError, out, err)) {
        return *status;
    }
    const Options& options = *parsed.options;
    const fs::path folder =
        options.dir ? *options.dir : vocab::userListFolder(vocab::DataEnvironment::fromProcess());
    std::array<fs::path, 2> targets;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        targets[i] = folder / fs::u8path(vocab::kWordLists[i].fileName);
    }
    // Before the long read: a list in the way stops everything.
    const std::vector<std::string> blocked = blockedLists(targets, options.force);
    for (const std::string& problem : blocked) {
        err << kProgram << ": " << problem << "; nothing written\n";
    }
    if (!blocked.empty()) {
        return kError;
    }

    const int fd = ::open(options.csv.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        err << kProgram << ": cannot open " << options.csv << ": " << systemError(errno) << '\n';
        return kError;
    }
    Importer importer;
    const std::optional<std::string> readError = importer.read(fd);
    ::close(fd);
    if (readError) {
        err << kProgram << ": " << options.csv << ": " << *readError << "; nothing written\n";
        return kError;
    }
    reportTally(importer.tally(), err);
    const auto& entries = importer.entries();
    if (entries[0] + entries[1] == 0) {
        err << kProgram << ": no row to write; nothing written\n";
        return kNothingSelected;
    }
    const std::vector<std::string> late = blockedLists(targets, options.force);
    const std::optional<std::string> writeError =
        late.empty() ? writeLists(folder, targets, importer.lists()) : late.front();
    if (writeError) {
        err << kProgram << ": " << *writeError << "; the lists are as they were\n";
        return kError;
    }
    for (std::size_t i = 0; i < targets.size(); ++i) {
        err << kProgram << ": " << entries[i] << (entries[i] == 1 ? " entry" : " entries")
            << " written to " << targets[i].string() << '\n';
    }
    return kWritten;
}

} // namespace cli
