#include "importer/EcdictReader.h"

#include "codec/Codec.h"
#include "vocab/IpaCode.h"

#include <csv.h>

#include <vector>

namespace importer {

namespace {

using vocab::trimmed;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Blocks small enough that the row bound is checked often.
constexpr std::size_t kBlock = std::size_t{1} << 16;

// The columns that are used, found by name in the header row.
enum class Column : unsigned char { Other, Word, Phonetic, Translation, Tag };
constexpr std::array<std::pair<std::string_view, Column>, 4> kColumns{{
    {"word", Column::Word},
    {"phonetic", Column::Phonetic},
    {"translation", Column::Translation},
    {"tag", Column::Tag},
}};

std::string rowName(bool headerRead, std::size_t rows) {
    return headerRead ? "row " + std::to_string(rows + 1) + " after the header" : "the header row";
}

// One pass over the CSV with libcsv's callbacks. Every field goes by once;
// only the four used ones are copied, into buffers that are reused row after
// row, and only a selected row is turned into a list line.
class Reader {
public:
    Reader() {
        for (std::string& list : m_lists.lists) {
            list = kByteOrderMark;
        }
    }

    ReadOutcome read(const ReadBytes& readBytes, const KeepGoing& keepGoing) {
        csv_parser parser{};
        // Strict: a stray quote means a damaged file, whose rows would run together.
        if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
            return {{}, "out of memory", false};
        }
        ReadOutcome outcome = parse(parser, readBytes, keepGoing);
        csv_free(&parser);
        if (outcome.error.empty() && !outcome.stopped) {
            outcome.lists = std::move(m_lists);
        }
        return outcome;
    }

private:
    ReadOutcome parse(csv_parser& parser, const ReadBytes& readBytes, const KeepGoing& keepGoing) {
        std::vector<char> buffer(kBlock);
        std::uint64_t total = 0;
        bool first = true;
        for (;;) {
            // Whole blocks, so that a byte-order mark is seen in the first.
            std::size_t size = 0;
            while (size < buffer.size()) {
                const ReadResult got = readBytes(buffer.data() + size, buffer.size() - size);
                if (got.error) {
                    return {{}, *got.error, false};
                }
                if (got.bytes == 0) {
                    break;
                }
                size += got.bytes;
            }
            if (size == 0) {
                break;
            }
            total += size;
            std::string_view block(buffer.data(), size);
            if (first && block.starts_with(kByteOrderMark)) {
                block.remove_prefix(kByteOrderMark.size());
            }
            first = false;
            m_sinceRow += block.size();
            if (csv_parse(&parser, block.data(), block.size(), onField, onRow, this) !=
                block.size()) {
                const std::string row = rowName(m_headerRead, m_lists.tally.rows);
                return {{},
                        csv_error(&parser) == CSV_EPARSE ? "a quote out of place in " + row
                                                         : csv_strerror(csv_error(&parser)),
                        false};
            }
            if (m_error) {
                return {{}, *m_error, false};
            }
            if (m_sinceRow > kMaxRowBytes + kBlock) {
                return {
                    {}, rowName(m_headerRead, m_lists.tally.rows) + " is larger than 1 MiB", false};
            }
            if (keepGoing && !keepGoing(total)) {
                return {{}, {}, true};
            }
        }
        if (csv_fini(&parser, onField, onRow, this) != 0) {
            return {{}, "a quoted field is not closed at the end of the file", false};
        }
        if (m_error) {
            return {{}, *m_error, false};
        }
        if (!m_headerRead) {
            return {{}, "the file is empty: no header row", false};
        }
        return {};
    }

    static void onField(void* data, std::size_t size, void* self) {
        static_cast<Reader*>(self)->field({static_cast<const char*>(data), size});
    }
    static void onRow(int, void* self) { static_cast<Reader*>(self)->endRow(); }

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

    void endRow() {
        m_field = 0;
        m_sinceRow = 0;
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
        Tally& tally = m_lists.tally;
        ++tally.rows;
        if (m_band) {
            addEntry(*m_band);
        } else {
            ++tally.untagged;
        }
        m_band.reset();
        m_word.clear();
        m_phonetic.clear();
        m_translation.clear();
    }

    void addEntry(std::size_t band) {
        Tally& tally = m_lists.tally;
        const std::string_view word = trimmed(m_word);
        // A line break or a Ctrl-Z in the word would cut the list line.
        if (word.empty() || word.find_first_of("[]\r\n\x1A") != std::string_view::npos) {
            ++tally.badWord;
            return;
        }
        vocab::IpaCode code = vocab::ipaCode(m_phonetic);
        for (const auto& [c, count] : code.dropped) {
            tally.dropped[c] += count;
        }
        if (code.code.empty()) {
            ++tally.emptyPhonetic;
            return;
        }
        m_line.assign(word);
        m_line += " [";
        m_line += code.code;
        m_line += ']';
        const std::string meaning = meaningOf(m_translation);
        if (!meaning.empty()) {
            m_line += ' ';
            m_line += meaning;
        }
        if (!codec::isUtf8(m_line)) {
            ++tally.notUtf8;
            return;
        }
        m_lists.lists[band] += m_line;
        m_lists.lists[band] += "\r\n";
        ++m_lists.entries[band];
    }

    bool m_headerRead = false;
    std::array<bool, kColumns.size()> m_found{};
    std::vector<Column> m_columns;
    std::optional<std::string> m_error;

    std::size_t m_field = 0;
    std::size_t m_sinceRow = 0; // bytes given to the parser since a row last ended
    std::optional<std::size_t> m_band;
    std::string m_word, m_phonetic, m_translation, m_line;

    ImportedLists m_lists;
};

} // namespace

std::string meaningOf(std::string_view translation) {
    std::string meaning;
    meaning.reserve(translation.size());
    for (std::size_t i = 0; i < translation.size(); ++i) {
        const char c = translation[i];
        if (c == '\r' && i + 1 < translation.size() && translation[i + 1] == '\n') {
            ++i;
        } else if (c == '\\' && i + 1 < translation.size() && translation[i + 1] == 'n') {
            ++i;
        } else if (c != '\r' && c != '\n' && c != '\x1A') {
            meaning += c;
            continue;
        }
        meaning += ' ';
    }
    return std::string(trimmed(meaning));
}

std::optional<std::size_t> bandOf(std::string_view tags) {
    std::optional<std::size_t> band;
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

ReadOutcome readEcdict(const ReadBytes& read, const KeepGoing& keepGoing) {
    return Reader().read(read, keepGoing);
}

} // namespace importer
