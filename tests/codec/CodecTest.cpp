#include "codec/Codec.h"
#include "codec/Utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Codec, DecodesGb18030ReplacingWhatDoesNotDecode) {
    const struct {
        std::string_view gb18030, utf8;
        const char* why;
    } cases[] = {
        {"\xD6\xD0\xCE\xC4\xA2\xDC", "中文④", "two-byte characters"},
        {"\x94\x39\xFC\x36", "😀", "a four-byte character"},
        {"\x81\x30\x8A\x33\x81\x30\xB0\x36\xA2\xE3\x84\x31\xA4\x39", "æʃ€\uFFFF",
         "four-byte characters of the first plane; the euro sign"},
        {"a\xFF"
         "b",
         "a\xEF\xBF\xBD"
         "b",
         "a byte that is no character"},
        {"a\x81", "a\xEF\xBF\xBD", "a lone lead byte at the end"},
        {"\x81 x", "\xEF\xBF\xBD x", "a lead byte without a valid trail: the trail survives"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(codec::toUtf8(c.gb18030), c.utf8) << c.why;
    }
    EXPECT_EQ(codec::toUtf16("a\xD6\xD0\x94\x39\xFC\x36\xFF"), u"a中😀\uFFFD");
    // A megabyte of bytes that decode to nothing is one replacement each.
    EXPECT_EQ(codec::toUtf8(std::string(1 << 20, '\xFF')).size(), 3u << 20);
}

TEST(Codec, EncodesEveryUnicodeCharacter) {
    EXPECT_EQ(codec::fromUtf8("中文④"), "\xD6\xD0\xCE\xC4\xA2\xDC");
    EXPECT_EQ(codec::fromUtf8("😀æʃ€\uFFFF"),
              "\x94\x39\xFC\x36\x81\x30\x8A\x33\x81\x30\xB0\x36\xA2\xE3\x84\x31\xA4\x39");
    EXPECT_EQ(codec::fromUtf8("a\xC3"), std::nullopt) << "not UTF-8";

    using codec::Unicode;
    const struct {
        std::string_view text;
        Unicode form;
        std::string_view gb18030;
    } cases[] = {
        {"\xE4\xB8\xAD\xC3"
         "a",
         Unicode::Utf8,
         "\xD6\xD0\xFF"
         "a"},
        {std::string_view("\x2D\x4E\x3D\xD8\x00\xDE\x00\xDC\x41", 9), Unicode::Utf16LE,
         "\xD6\xD0\x94\x39\xFC\x36\xFF\xFF"},
        {std::string_view("\x4E\x2D\x00\x61", 4), Unicode::Utf16BE,
         "\xD6\xD0"
         "a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(codec::fromUnicode(c.text, c.form), c.gb18030)
            << testing::PrintToString(std::string(c.text));
    }
}

TEST(Codec, KnowsWellFormedUtf8) {
    const struct {
        std::string_view bytes;
        std::size_t length; // of the character at 0, 0 for none
        char32_t c;
        const char* why;
    } cases[] = {
        {"a", 1, U'a', "ASCII"},
        {"\xC3\xA6", 2, U'æ', "two bytes"},
        {"\xE4\xB8\xAD", 3, U'中', "three bytes"},
        {"\xF0\x9F\x98\x80", 4, U'😀', "four bytes"},
        {"\xF4\x8F\xBF\xBF", 4, 0x10FFFF, "the last scalar value"},
        {"\xC0\xAF", 0, 0, "overlong (two bytes)"},
        {"\xE0\x9F\xBF", 0, 0, "overlong (three bytes)"},
        {"\xF0\x8F\xBF\xBF", 0, 0, "overlong (four bytes)"},
        {"\xED\xA0\x80", 0, 0, "a surrogate"},
        {"\xF4\x90\x80\x80", 0, 0, "past U+10FFFF"},
        {"\xE4\xB8", 0, 0, "cut off by the end"},
        {"\xE4\xB8\x41", 0, 0, "a trail byte missing"},
        {"\xBF", 0, 0, "a trail byte alone"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(codec::utf8::length(c.bytes, 0), c.length) << c.why;
        EXPECT_EQ(codec::isUtf8(std::string(100, 'a') + std::string(c.bytes)), c.length != 0)
            << c.why;
        if (c.length != 0) {
            EXPECT_EQ(codec::utf8::decode(c.bytes, 0, c.length), c.c) << c.why;
            std::string utf8;
            codec::utf8::append(c.c, utf8);
            EXPECT_EQ(utf8, c.bytes) << c.why;
        }
    }
    EXPECT_EQ(codec::utf8::decodeAt("\xC0", 0).c, U'\uFFFD');
    EXPECT_FALSE(codec::isUtf8("\xD6\xD0\xCE\xC4")) << "GBK";

    // A cut never splits a character; a byte that begins none stands alone.
    const struct {
        std::string_view text;
        std::size_t limit, cut;
    } cuts[] = {
        {"ab\xE4\xB8\xAD", 3, 2},
        {"ab\xE4\xB8\xAD", 4, 2},
        {"ab\xE4\xB8\xAD", 5, 5},
        {"ab\xE4\xB8\x41", 4, 4},
        {"\xBF\xBF\xBF\xBF", 2, 2},
        {"a\xF0\x9F\x98\x80", 4, 1},
        {"ab", 9, 2},
    };
    for (const auto& c : cuts) {
        EXPECT_EQ(codec::utf8::cutBefore(c.text, c.limit), c.cut)
            << testing::PrintToString(std::string(c.text)) << " at " << c.limit;
    }
}

// A window's text may hold a lone surrogate; it stands as U+FFFD wherever
// the text goes, so that no form drops or refuses what was typed.
TEST(Codec, ConvertsWindowTextLosingNothing) {
    const std::u16string lone = u"a\xD800"
                                u"b\xDC00";
    EXPECT_EQ(codec::fromUtf16(u"5ip中😀"), "5ip\xD6\xD0\x94\x39\xFC\x36");
    EXPECT_EQ(codec::fromUtf16(lone), "a\x84\x31\xA4\x37"
                                      "b\x84\x31\xA4\x37");
    EXPECT_EQ(codec::utf16ToUtf8(u"中😀" + lone), "中😀a\uFFFDb\uFFFD");
    EXPECT_EQ(codec::utf8ToUtf16("中😀a\xC3"
                                 "b\xED\xA0\x80"),
              u"中😀a\uFFFDb\uFFFD\uFFFD\uFFFD");
}

} // namespace
