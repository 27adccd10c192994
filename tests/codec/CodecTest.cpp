#include "codec/Codec.h"
#include "codec/SystemMessage.h"
#include "codec/Utf8.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ios>
#include <tuple>
#if !defined(_WIN32)
#include <locale.h>
#include <unistd.h>
#endif

namespace {

TEST(Codec, DecodesGb18030ReplacingWhatDoesNotDecode) {
    const std::tuple<std::string_view, std::string_view, const char*> cases[] = {
        {"\xD6\xD0\xCE\xC4\xA2\xDC", "中文④", "two-byte characters"},
        {"\x94\x39\xFC\x36", "😀", "a four-byte character"},
        {"\x81\x30\x8A\x33\x81\x30\xB0\x36\xA2\xE3\x84\x31\xA4\x39", "æʃ€\uFFFF",
         "four-byte characters of the first plane; the euro sign"},
        {"a\xFF\x62", "a\uFFFDb", "a byte that is no character"},
        {"a\x81", "a\xEF\xBF\xBD", "a lone lead byte at the end"},
        {"\x81 x", "\xEF\xBF\xBD x", "a lead byte without a valid trail: the trail survives"},
    };
    for (const auto& [gb18030, utf8, why] : cases) {
        EXPECT_EQ(codec::toUtf8(gb18030), utf8) << why;
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
    const std::tuple<std::string_view, Unicode, std::string_view> cases[] = {
        {"\xE4\xB8\xAD\xC3\x61", Unicode::Utf8, "\xD6\xD0\xFF\x61"},
        {std::string_view("\x2D\x4E\x3D\xD8\x00\xDE\x00\xDC\x41", 9), Unicode::Utf16LE,
         "\xD6\xD0\x94\x39\xFC\x36\xFF\xFF"},
        {std::string_view("\x4E\x2D\x00\x61", 4), Unicode::Utf16BE, "\xD6\xD0\x61"},
    };
    for (const auto& [text, form, gb18030] : cases) {
        EXPECT_EQ(codec::fromUnicode(text, form), gb18030)
            << testing::PrintToString(std::string(text));
    }
}

TEST(Codec, KnowsWellFormedUtf8) {
    using namespace codec::utf8;
    const std::pair<std::string_view, char32_t> valid[] = {
        {"a", U'a'}, {"\xC3\xA6", U'æ'}, {"\xE4\xB8\xAD", U'中'}, {"\xF4\x8F\xBF\xBF", 0x10FFFF}};
    for (const auto& [bytes, c] : valid) {
        ASSERT_EQ(length(bytes, 0), bytes.size()) << testing::PrintToString(bytes);
        EXPECT_EQ(decode(bytes, 0, bytes.size()), c);
        std::string utf8;
        append(c, utf8);
        EXPECT_EQ(utf8, bytes);
    }
    // Overlong (two, three, four bytes), a surrogate, past U+10FFFF, cut off by
    // the end, a trail byte missing, a trail byte alone, GBK.
    for (std::string_view bad :
         {"\xC0\xAF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
          "\xE4\xB8", "\xE4\xB8\x41", "\xBF", "\xD6\xD0\xCE\xC4"}) {
        EXPECT_EQ(length(bad, 0), 0u) << testing::PrintToString(bad);
        EXPECT_EQ(decodeAt(bad, 0).c, U'\uFFFD');
        EXPECT_FALSE(codec::isUtf8(std::string(100, 'a') + std::string(bad)));
    }
    EXPECT_TRUE(codec::isUtf8("中文 plain, and more than eight bytes 😀"));
    EXPECT_EQ(asciiPrefix("plain, and more than eight bytes 😀"), 33u);

    // A cut never splits a character; a byte that begins none stands alone.
    const std::tuple<std::string_view, std::size_t, std::size_t> cuts[] = {
        {"ab\xE4\xB8\xAD", 3, 2},
        {"ab\xE4\xB8\xAD", 4, 2},
        {"ab\xE4\xB8\xAD", 5, 5},
        {"ab\xE4\xB8\x41", 4, 4},
        {"\xBF\xBF\xBF\xBF", 2, 2},
        {"a\xF0\x9F\x98\x80", 4, 1},
        {"ab", 9, 2}};
    for (const auto& [text, limit, cut] : cuts) {
        EXPECT_EQ(cutBefore(text, limit), cut)
            << testing::PrintToString(std::string(text)) << " at " << limit;
    }
}

// A window's text may hold a lone surrogate; it stands as U+FFFD wherever
// the text goes, so that no form drops or refuses what was typed.
TEST(Codec, ConvertsWindowTextLosingNothing) {
    const std::u16string lone = u"a\xD800\x62\xDC00"; // a, a high surrogate, b, a low one
    EXPECT_EQ(codec::fromUtf16(u"5ip中😀"), "5ip\xD6\xD0\x94\x39\xFC\x36");
    EXPECT_EQ(codec::fromUtf16(lone), "a\x84\x31\xA4\x37\x62\x84\x31\xA4\x37");
    EXPECT_EQ(codec::utf16ToUtf8(u"中😀" + lone), "中😀a\uFFFDb\uFFFD");
    EXPECT_EQ(codec::utf8ToUtf16("中😀a\xC3\x62\xED\xA0\x80"), u"中😀a\uFFFDb\uFFFD\uFFFD\uFFFD");
}

TEST(Codec, SaysSystemErrorsInTheUsersLanguage) {
    using codec::Language;
    const std::error_code denied = std::make_error_code(std::errc::permission_denied);
    const std::error_code own = std::make_error_code(std::io_errc::stream); // no system's
    for (Language language : {Language::English, Language::User}) {
        const std::string text = codec::systemMessage(denied, language);
        EXPECT_FALSE(text.empty());
        EXPECT_TRUE(codec::isUtf8(text)) << text;
        EXPECT_NE(text.back(), '\n') << text;
        EXPECT_EQ(codec::systemMessage(own, language), own.message());
    }
    EXPECT_EQ(codec::systemMessage(denied, Language::English), "Permission denied");
#if !defined(_WIN32)
    // The user's locale is the environment's, read at each call.
    const char* const saved = std::getenv("LC_ALL");
    const std::string before = saved ? saved : "";
    // glibc has Chinese only where the locale is generated and libc-l10n
    // installed; elsewhere English is right.
    const locale_t chinese = ::newlocale(LC_MESSAGES_MASK, "zh_CN.UTF-8", locale_t{});
    const bool hasChinese =
        chinese && ::access("/usr/share/locale/zh_CN/LC_MESSAGES/libc.mo", R_OK) == 0;
    if (chinese) {
        ::freelocale(chinese);
    }
    const std::pair<const char*, const char*> cases[] = {
        {"C", "Permission denied"},
        {"no_SUCH.UTF-8", "Permission denied"},
        {"zh_CN.UTF-8", hasChinese ? "权限不够" : "Permission denied"}};
    for (const auto& [locale, text] : cases) {
        ::setenv("LC_ALL", locale, 1);
        EXPECT_EQ(codec::systemMessage(denied, Language::User), text) << locale;
    }
    saved ? ::setenv("LC_ALL", before.c_str(), 1) : ::unsetenv("LC_ALL");
#endif
}

} // namespace
