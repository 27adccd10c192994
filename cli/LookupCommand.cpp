#include "cli/LookupCommand.h"

#include "cli/ParsedArgs.h"
#include "codec/Codec.h"
#include "lookup/ArgReader.h"
#include "mirawen/Version.h"
#include "vocab/DataFolders.h"
#include "vocab/EntryStore.h"
#include "vocab/PrefixMatch.h"
#include "vocab/SoundReading.h"
#include "vocab/WordLists.h"

#include <array>
#include <charconv>
#include <optional>
#include <ostream>
#include <string_view>

namespace {

constexpr std::string_view kProgram = "mirawen-lookup";
constexpr std::string_view kUsage =
    "Usage: mirawen-lookup [--dir DIR] [--tsv] [--encoding utf-8|gbk] [--ipa] [--] [INPUT]\n";
constexpr std::string_view kHelp =
    "Print the entries of the word lists 大学四级.txt and 大学六级.txt in sound-key order,\n"
    "or with INPUT those whose sound key begins with INPUT (θ/s, ð/z and n/l folded).\n"
    "\n"
    "  --dir DIR             read the lists from DIR\n"
    "  --tsv                 INDEX, KEY, WORD, PHONETIC, MEANING, LEVEL, tab-separated,\n"
    "                        the transcription as its keys whatever --ipa says\n"
    "  --encoding utf-8|gbk  text in and out as UTF-8 (default) or as raw GBK bytes\n"
    "  --ipa                 show transcriptions as IPA symbols (UTF-8 only)\n"
    "  --help, --version     this text, the version\n"
    "\n";
// Each system's own folder rules, as vocab::locateData follows them.
#if defined(_WIN32)
constexpr std::string_view kFolders =
    "Without --dir the lists are read from the first folder that holds either list:\n"
    "the current folder; %APPDATA%\\Mirawen, where the importer writes; the program's\n"
    "folder, where the zip and the installer put the sample lists. When none does,\n"
    "the current folder, and the lists are named as missing.\n"
    "\n";
#else
constexpr std::string_view kFolders =
    "Without --dir the lists are read from the first folder that holds either list:\n"
    "the current folder; $XDG_DATA_HOME/mirawen (~/.local/share/mirawen); DIR/mirawen\n"
    "for each DIR of $XDG_DATA_DIRS (/usr/local/share:/usr/share), where the package\n"
    "puts its sample lists. When none does, the current folder, and the lists are\n"
    "named as missing.\n"
    "\n";
#endif
constexpr std::string_view kStatus =
    "Exit status: 0 when an entry was printed, 1 when none was, 2 on an error.\n";
constexpr std::string_view kVersion = "mirawen-lookup " MIRAWEN_VERSION "\n";

struct Options {
    std::optional<std::filesystem::path> dir; // else the folder rules decide
    bool tsv = false;
    bool gbk = false;
    bool ipa = false;
    std::optional<std::string> input;
};

using Parsed = cli::ParsedArgs<Options>;

constexpr std::array<lookup::KnownOption, 6> kOptions{
    {{"--dir", true}, {"--encoding", true}, {"--tsv"}, {"--ipa"}, {"--help"}, {"--version"}}};

Parsed parseArgs(const std::vector<std::string>& args, std::ostream& out) {
    Options options;
    lookup::ArgReader reader(args, kOptions);
    while (const std::optional<lookup::ReadArg> arg = reader.next()) {
        using Kind = lookup::ReadArg::Kind;
        if (std::optional<std::string> error = arg->commandError()) {
            return {{}, std::move(*error), {}};
        }
        if (arg->kind == Kind::Operand) {
            if (options.input) {
                return {{}, "more than one INPUT", {}};
            }
            options.input = arg->value;
        } else if (arg->name == "--help" || arg->name == "--version") {
            out << (arg->name == "--help" ? std::string(kUsage) + std::string(kHelp) +
                                                std::string(kFolders) + std::string(kStatus)
                                          : std::string(kVersion));
            return {{}, {}, cli::LookupCommand::kFound};
        } else if (arg->name == "--tsv") {
            options.tsv = true;
        } else if (arg->name == "--ipa") {
            options.ipa = true;
        } else if (arg->name == "--dir") {
            options.dir = std::filesystem::u8path(arg->value); // UTF-8 on every system
        } else if (arg->value == "utf-8" || arg->value == "UTF-8" || arg->value == "utf8") {
            options.gbk = false;
        } else if (arg->value == "gbk" || arg->value == "GBK") {
            options.gbk = true;
        } else {
            return {{}, "unknown encoding '" + arg->value + "' (utf-8 or gbk)", {}};
        }
    }
    if (options.ipa && options.gbk && !options.tsv) {
        return {{}, "--ipa needs --encoding utf-8", {}};
    }
    return {options, {}, {}};
}

void appendEscaped(std::string& line, std::string_view field) {
    for (char c : field) {
        switch (c) {
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\r':
            line += "\\r";
            break;
        case '\n':
            line += "\\n";
            break;
        default:
            line += c;
        }
    }
}

class Printer {
public:
    Printer(const Options& options, std::ostream& out) : m_options(options), m_out(out) {}

    // Prints the entries indexOf(0) to indexOf(count - 1), each fetched a few
    // entries before it is printed.
    template <class IndexOf>
    void printEach(const vocab::EntryStore& store, std::size_t count, IndexOf indexOf) {
        constexpr std::size_t kAhead = 8;
        for (std::size_t k = 0; k < count; ++k) {
            if (k + kAhead < count) {
                store.prefetch(indexOf(k + kAhead));
            }
            print(store, indexOf(k));
        }
    }

    std::size_t printed() const { return m_printed; }

private:
    void print(const vocab::EntryStore& store, std::size_t index) {
        const vocab::WordEntry entry = store[index];
        m_line.clear();
        if (m_options.tsv) {
            std::array<char, 24> digits{};
            const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), index).ptr;
            m_line.append(digits.data(), end);
            for (std::string_view field :
                 {entry.key, entry.word, entry.phonetic, entry.meaning, entry.level}) {
                m_line += '\t';
                appendEscaped(m_line, text(field));
            }
        } else {
            m_line += text(entry.word);
            m_line += " [";
            m_line += m_options.ipa ? vocab::ipaOf(text(entry.phonetic)) : text(entry.phonetic);
            m_line += "] ";
            m_line += text(entry.meaning);
            m_line += ' ';
            m_line += text(entry.level);
        }
        m_line += '\n';
        m_out.write(m_line.data(), static_cast<std::streamsize>(m_line.size()));
        ++m_printed;
    }

    std::string text(std::string_view gbk) const {
        return m_options.gbk ? std::string(gbk) : codec::toUtf8(gbk);
    }

    const Options& m_options;
    std::ostream& m_out;
    std::string m_line;
    std::size_t m_printed = 0;
};

} // namespace

int cli::LookupCommand::run(const std::vector<std::string>& args, std::ostream& out,
                            std::ostream& err) {
    const Parsed parsed = parseArgs(args, out);
    if (const std::optional<int> status =
            cli::endBeforeRunning(parsed, kProgram, kUsage, kError, out, err)) {
        return *status;
    }
    const Options& options = *parsed.options;

    vocab::EntryStore store;
    const std::filesystem::path folder =
        vocab::locateData(options.dir, vocab::DataEnvironment::fromProcess()).listFolder;
    const vocab::LoadResult loaded = store.load(folder);
    for (const vocab::ListFailure& failure : loaded.failures) {
        err << kProgram << ": " << failure.message() << '\n';
    }
    for (const vocab::IgnoredTail& tail : loaded.ignored) {
        err << kProgram << ": " << vocab::kWordLists[tail.list].fileName << ": " << tail.bytes
            << " bytes after Ctrl-Z ignored\n";
    }
    for (const vocab::NulBytes& nul : loaded.nuls) {
        err << kProgram << ": " << vocab::kWordLists[nul.list].fileName << ": " << nul.count
            << " NUL bytes read as text; is it in an encoding other than GBK, UTF-8 or UTF-16?\n";
    }
    store.sort();

    Printer printer(options, out);
    if (!options.input) {
        printer.printEach(store, store.size(), [](std::size_t i) { return i; });
    } else if (!options.input->empty()) {
        const std::optional<std::string> input = options.gbk
                                                     ? std::optional<std::string>(*options.input)
                                                     : codec::fromUtf8(*options.input);
        if (!input) {
            err << kProgram << ": INPUT is not valid UTF-8; nothing matches\n";
        } else {
            const std::vector<std::size_t> matches = vocab::prefixMatch(store, *input).indices;
            printer.printEach(store, matches.size(), [&](std::size_t k) { return matches[k]; });
        }
    }

    if (!out.flush()) {
        err << kProgram << ": write error\n";
        return kError;
    }
    if (!loaded.ok()) {
        return kError;
    }
    return printer.printed() > 0 ? kFound : kNotFound;
}
