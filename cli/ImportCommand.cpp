#include "cli/ImportCommand.h"

#include "cli/ParsedArgs.h"
#include "codec/Utf8.h"
#include "importer/ImportJob.h"
#include "importer/SystemError.h"
#include "lookup/ArgReader.h"
#include "mirawen/Version.h"
#include "vocab/DataFolders.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>

namespace cli {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgram = "mirawen-import";
constexpr std::string_view kUsage = "Usage: mirawen-import [--dir DIR] [--force] CSV\n";
constexpr std::string_view kHelp =
    "Write the word lists 大学四级.txt and 大学六级.txt from ECDICT's CSV file (ecdict.csv):\n"
    "the rows tagged cet4 make the Band 4 list, those tagged cet6 and not cet4 the Band 6 list.\n"
    "A CSV of - is read from standard input. The lists are written in UTF-8, and replace\n"
    "the lists that are there together or not at all.\n"
    "\n"
#if defined(_WIN32)
    "  --dir DIR          write the lists to DIR (default: %APPDATA%\\Mirawen),\n"
    "                     created if missing\n"
#else
    "  --dir DIR          write the lists to DIR (default: $XDG_DATA_HOME/mirawen,\n"
    "                     that is ~/.local/share/mirawen), created if missing\n"
#endif
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
        if (std::optional<std::string> error = arg->commandError()) {
            return {{}, std::move(*error), {}};
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

std::string utf8Of(char32_t c) {
    std::string utf8;
    codec::utf8::append(c, utf8);
    return utf8;
}

std::string rows(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " row" : " rows");
}

void reportTally(const importer::Tally& tally, std::ostream& err) {
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
    std::optional<fs::path> folder = options.dir;
    if (!folder) {
        folder = vocab::userListFolder(vocab::DataEnvironment::fromProcess());
    }
    if (!folder) {
#if defined(_WIN32)
        err << kProgram
            << ": no folder for the lists: APPDATA is not an absolute folder; "
               "name one with --dir\n";
#else
        err << kProgram
            << ": no folder for the lists: HOME is not an absolute folder and "
               "XDG_DATA_HOME is not set; name one with --dir\n";
#endif
        return kError;
    }
    const importer::ImportReport report =
        importer::runImport({fs::u8path(options.csv), *folder, options.force});
    for (const importer::ListFolder::Blocked& blocked : report.blocked) {
        err << kProgram << ": " << importer::pathText(blocked.path)
            << (blocked.notAFile ? " is not a regular file" : " exists (--force replaces it)")
            << "; nothing written\n";
    }
    if (report.status == importer::ImportReport::Status::Failed && report.blocked.empty()) {
        err << kProgram << ": ";
        if (report.readingFailed) {
            err << options.csv << ": " << report.error << "; nothing written\n";
        } else {
            err << report.error << '\n';
        }
    }
    if (report.status == importer::ImportReport::Status::Failed) {
        return kError;
    }
    reportTally(report.tally, err);
    if (report.status == importer::ImportReport::Status::NothingSelected) {
        err << kProgram << ": no row to write; nothing written\n";
        return kNothingSelected;
    }
    for (std::size_t i = 0; i < report.targets.size(); ++i) {
        err << kProgram << ": " << report.entries[i]
            << (report.entries[i] == 1 ? " entry" : " entries") << " written to "
            << importer::pathText(report.targets[i]) << '\n';
    }
    return kWritten;
}

} // namespace cli
