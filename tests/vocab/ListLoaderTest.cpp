#include "vocab/ListLoader.h"

#include "codec/Codec.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

std::string utf16(std::u16string_view units, bool little) {
    std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t u : units) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        bytes += little ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

// Cut into pieces of any size, a list converts to the very bytes it converts
// to whole: characters, pairs and bad bytes or units straddle the cuts. UTF-16
// without its mark is told by its zero bytes; NUL bytes in any other list are
// counted.
TEST(ListLoader, ConvertsPieceByPieceAsWhole) {
    using codec::Unicode;
    using namespace std::literals;
    const std::u16string units = u"中😀a\xD800\x62\xDC00😀\xDBFFæ€\x1Ax";
    // Mostly ASCII, as a list is; 一 (4E00) and 😀 (D83D DE00) have a zero
    // low byte.
    const std::u16string list = u"ship [5ip] n. 船\r\none [w8n] 一😀\r\n";
    const struct {
        std::string file;
        Unicode form;
        std::size_t mark, nuls;
        const char* what;
    } cases[] = {
        {utf16(units, true), Unicode::Utf16LE, 2, 0, "UTF-16LE"},
        {utf16(units, false), Unicode::Utf16BE, 2, 0, "UTF-16BE"},
        {utf16(units, true) + "\x41", Unicode::Utf16LE, 2, 0, "an odd byte at the end"},
        {utf16(u"a\xD83D", false), Unicode::Utf16BE, 2, 0, "a high surrogate at the end"},
        {utf16(list, true).substr(2), Unicode::Utf16LE, 0, 0, "UTF-16LE without its mark"},
        {utf16(list, false).substr(2), Unicode::Utf16BE, 0, 0, "UTF-16BE without its mark"},
        {utf16(list, true).substr(2) + "\x41", Unicode::Utf16LE, 0, 0, "no mark, an odd byte"},
        {utf16(u"a", false).substr(2), Unicode::Utf16BE, 0, 0, "one unit, no mark"},
        {"\xEF\xBB\xBF中😀\xE4\xB8\x61\xF0\x9F\x98\xC3\xA6\xED\xA0\x80\xBF€\xF4\x90\x80\x80z",
         Unicode::Utf8, 3, 0, "UTF-8 with its mark and bad bytes"},
        {"中😀æ€ plain", Unicode::Utf8, 0, 0, "UTF-8 without a mark"},
        {utf16(u"a\0b"sv, true), Unicode::Utf16LE, 2, 1, "U+0000 is counted too"},
        {"中\0😀"s, Unicode::Utf8, 0, 1, "UTF-8 with a NUL byte"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("list.txt", c.file);
        std::string whole = codec::fromUnicode(std::string_view(c.file).substr(c.mark), c.form);
        whole.resize(std::min(whole.find('\x1A'), whole.size()));
        for (std::size_t piece = 1; piece <= 13; ++piece) {
            vocab::Bytes text(3, '>');
            std::vector<vocab::IgnoredTail> ignored;
            std::vector<vocab::NulBytes> nuls;
            ASSERT_FALSE(
                vocab::loadList(dir.path() / "list.txt", 1, 1000, text, ignored, nuls, piece))
                << c.what;
            EXPECT_EQ(std::string(text.begin(), text.end()), ">>>" + whole)
                << c.what << ", pieces of " << piece;
            EXPECT_EQ(nuls.empty() ? 0 : nuls.at(0).count, c.nuls) << c.what;
        }
    }
}

// A list that fits before its conversion but not after is refused as soon as
// the conversion passes the limit, and leaves the text as it was; with its
// mark or without.
TEST(ListLoader, RefusesAListWhoseConversionPassesTheLimit) {
    const std::string marked = utf16(std::u16string(100, u'æ'), true); // each four bytes after
    for (const std::string& list : {marked, marked.substr(2)}) {
        TempDir dir;
        dir.write("list.txt", list);
        const std::tuple<std::size_t, std::size_t, bool> cases[] = {
            {5 + 400, 16, false},
            {5 + 399, 16, true},
            {5 + 399, vocab::kConversionPiece, true},
            {5 + list.size() - 1, 16, true}, // refused from its size
        };
        for (const auto& [limit, piece, refused] : cases) {
            vocab::Bytes text(5, '>');
            std::vector<vocab::IgnoredTail> ignored;
            std::vector<vocab::NulBytes> nuls;
            const auto failure =
                vocab::loadList(dir.path() / "list.txt", 0, limit, text, ignored, nuls, piece);
            ASSERT_EQ(failure.has_value(), refused) << limit << ", " << list.size() << " bytes";
            if (refused) {
                EXPECT_EQ(failure->message(), "cannot read 大学四级.txt: the word lists together "
                                              "exceed 4 GiB");
                EXPECT_EQ(std::string(text.begin(), text.end()), ">>>>>");
            } else {
                EXPECT_EQ(text.size(), 405u);
            }
        }
    }
}

} // namespace
