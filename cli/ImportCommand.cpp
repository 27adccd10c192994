#include "cli/ImportCommand.h"

#include "cli/ParsedArgs.h"
#include "codec/Codec.h"
#include "codec/Utf8.h"
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
using vocab::trimmed;

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

Parsed parseArgs(const std::vector<std::string>& args, std::ostream& out) {
    Options options;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
            operands.emplace_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "--version") {
            out << (arg == "--help" ? std::string(kUsage) + std::string(kHelp)
                                    : std::string(kVersion));
            return {{}, {}, ImportCommand::kWritten};
        } else if (arg == "--force") {
            options.force = true;
        } else if (arg == "--dir" || arg.starts_with("--dir=")) {
            if (arg.size() > 5) {
                options.dir = fs::u8path(arg.substr(6));
            } else if (i + 1 < args.size()) {
                options.dir = fs::u8path(args[++i]);
            } else {
                return {{}, "option '--dir' needs a value", {}};
            }
        } else {
            return {{}, "unknown option '" + std::string(arg) + "'", {}};
        }
    }
    if (operands.size() != 1) {
        return {{}, operands.empty() ? "no CSV file named" : "more than one CSV file", {}};
    }
    options.csv = operands.front();
    return {options, {}, {}};
}

std::string systemError(int error) {
    return std::make_error_code(static_cast<std::errc>(error)).message();
}

// What the importer counted on its way through the file.
struct Tally {
    std::size_t rows = 0;
    std::size_t untagged = 0;
    std::size_t badWord = 0;
    std::size_t emptyPhonetic = 0;
    std::size_t notUtf8 = 0;
    std::map<char32_t, std::size_t> dropped;
};

// The columns that are used, found by name in the header row.
enum class Column : unsigned char { Other, Word, Phonetic, Translation, Tag };
constexpr std::array<std::pair<std::string_view, Column>, 4> kColumns{{
    {"word", Column::Word},
    {"phonetic", Column::Phonetic},
    {"translation", Column::Translation},
    {"tag", Column::Tag},
}};

// One pass over the CSV with libcsv's callbacks. Every field goes by once;
// only the four used ones are copied, into buffers that are reused row after
// row, and only a selected row is turned into a list line.
class Importer {
public:
    // Empty when the whole file was read; else what went wrong.
    std::optional<std::string> read(int fd) {
        csv_parser parser{};
        // Strict: a stray quote means a damaged file, whose rows would run together.
        if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
            return "out of memory";
        }
        std::vector<char> buffer(1 << 20);
        bool first = true;
        std::optional<std::string> error;
        for (;;) {
            // Whole blocks, so that a byte-order mark is seen in the first.
            std::size_t size = 0;
            while (size < buffer.size()) {
                const ssize_t got = ::read(fd, buffer.data() + size, buffer.size() - size);
                if (got < 0 && errno == EINTR) {
                    continue;
                }
                if (got <= 0) {
                    error = got < 0 ? std::optional(systemError(errno)) : std::nullopt;
                    break;
                }
                size += static_cast<std::size_t>(got);
            }
            if (error || size == 0) {
                break;
            }
            std::string_view block(buffer.data(), size);
            if (first && block.starts_with("\xEF\xBB\xBF")) {
                block.remove_prefix(3);
            }
            first = false;
            if (csv_parse(&parser, block.data(), block.size(), onField, onRow, this) !=
                block.size()) {
                const std::string row =
                    m_headerRead ? "row " + std::to_string(m_tally.rows + 1) + " after the header"
                                 : "the header row";
                error = csv_error(&parser) == CSV_EPARSE ? "a quote out of place in " + row
                                                         : csv_strerror(csv_error(&parser));
            }
            if (error || m_error) {
                break;
            }
        }
        if (!error && !m_error && csv_fini(&parser, onField, onRow, this) != 0) {
            error = "a quoted field is not closed at the end of the file";
        }
        csv_free(&parser);
        if (!error && !m_error && !m_headerRead) {
            error = "the file is empty: no header row";
        }
        return error ? error : m_error;
    }

    const std::array<std::string, 2>& lists() const { return m_lists; }
    const std::array<std::size_t, 2>& entries() const { return m_entries; }
    const Tally& tally() const { return m_tally; }

private:
    static void onField(void* data, std::size_t size, void* self) {
        static_cast<Importer*>(self)->field({static_cast<const char*>(data), size});
    }
    static void onRow(int, void* self) { static_cast<Importer*>(self)->endRow(); }

    void field(std::string_view text) {
        const std::size_t index = m_field++;
        if (!m_headerRead) {
            Column column = Column::Other;
            for (std::size_t i = 0; i < kColumns.size(); ++i) {
                if (text == kColumns[i].first && !m_found[i]) {
                    m_found[i] = true;
                    column = kColumns[i].second;
                }
            }
            m_columns.push_back(column);
            return;
        }
        switch (index < m_columns.size() ? m_columns[index] : Column::Other) {
        case Column::Word:
            m_word.assign(text);
            break;
        case Column::Phonetic:
            m_phonetic.assign(text);
            break;
        case Column::Translation:
            m_translation.assign(text);
            break;
        case Column::Tag:
            m_band = bandOf(text);
            break;
        case Column::Other:
            break;
        }
    }

    // 0 for Band 4, 1 for Band 6, -1 for neither.
    static int bandOf(std::string_view tags) {
        int band = -1;
        while (!tags.empty()) {
            const std::size_t end = std::min(tags.find(' '), tags.size());
            const std::string_view tag = tags.substr(0, end);
            if (tag == "cet4") {
                return 0;
            }
            if (tag == "cet6") {
                band = 1;
            }
            tags.remove_prefix(std::min(end + 1, tags.size()));
        }
        return band;
    }

    void endRow() {
        m_field = 0;
        if (!m_headerRead) {
            m_headerRead = true;
            std::string missing;
            for (std::size_t i = 0; i < kColumns.size(); ++i) {
                if (!m_found[i]) {
                    missing +=
                        (missing.empty() ? "\"" : ", \"") + std::string(kColumns[i].first) + '"';
                }
            }
            if (!missing.empty()) {
                m_error = "the header row has no column " + missing;
            }
            return;
        }
        ++m_tally.rows;
        if (m_band >= 0) {
            addEntry(static_cast<std::size_t>(m_band));
        } else {
            ++m_tally.untagged;
        }
        m_band = -1;
        m_word.clear();
        m_phonetic.clear();
        m_translation.clear();
    }

    void addEntry(std::size_t band) {
        const std::string_view word = trimmed(m_word);
        // A line break or a Ctrl-Z in the word would cut the list line.
        if (word.empty() || word.find_first_of("[]\r\n\x1A") != std::string_view::npos) {
            ++m_tally.badWord;
            return;
        }
        vocab::IpaCode code = vocab::ipaCode(m_phonetic);
        for (const auto& [c, count] : code.dropped) {
            m_tally.dropped[c] += count;
        }
        if (code.code.empty()) {
            ++m_tally.emptyPhonetic;
            return;
        }
        m_line.assign(word);
        m_line += " [";
        m_line += code.code;
        m_line += "] ";
        appendMeaning();
        const std::optional<std::string> line = codec::fromUtf8(trimmed(m_line));
        if (!line) {
            ++m_tally.notUtf8;
            return;
        }
        m_lists[band] += *line;
        m_lists[band] += "\r\n";
        ++m_entries[band];
    }

    // The translation on one line: each line break and each written "\n"
    // becomes a space; so does a Ctrl-Z, which would end the list.
    void appendMeaning() {
        const std::string_view text = trimmed(m_translation);
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            } else if (c == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
                ++i;
            } else if (c != '\r' && c != '\n' && c != '\x1A') {
                m_line += c;
                continue;
            }
            m_line += ' ';
        }
    }

    bool m_headerRead = false;
    std::array<bool, kColumns.size()> m_found{};
    std::vector<Column> m_columns;
    std::optional<std::string> m_error;

    std::size_t m_field = 0;
    int m_band = -1;
    std::string m_word, m_phonetic, m_translation, m_line;

    std::array<std::string, 2> m_lists;
    std::array<std::size_t, 2> m_entries{};
    Tally m_tally;
};

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
    std::string utf8;
    codec::utf8::append(c, utf8);
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
