#pragma once

// mirawen-import's one pass over ECDICT's CSV: libcsv's callbacks, the rows
// it selects as list lines, and what it counted on the way. Only
// ImportCommand.cpp includes it.

#include "codec/Codec.h"
#include "vocab/IpaCode.h"

#include <csv.h>

#include <array>
#include <cerrno>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace cli::ecdict {

using vocab::trimmed;

inline std::string systemError(int error) {
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

} // namespace cli::ecdict
