#include "codec/Gb18030FourByte.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <cerrno>
#include <iconv.h>
#endif

namespace {

TEST(Gb18030FourByte, KnowsTheCodesOfBothPlanes) {
    const struct {
        char32_t c;
        std::string_view code; // empty: not a four-byte code
    } cases[] = {
        {0x80, "\x81\x30\x81\x30"},
        {0xE6, "\x81\x30\x8A\x33"},
        {0xFFFF, "\x84\x31\xA4\x39"},
        {0x10000, "\x90\x30\x81\x30"},
        {0x1F600, "\x94\x39\xFC\x36"},
        {0x10FFFF, "\xE3\x32\x9A\x35"},
        {0x4E2D, ""} /* two bytes */,
        {0x20AC, ""} /* the euro sign */,
        {0x110000, ""},
    };
    for (const auto& c : cases) {
        std::string out = "x";
        EXPECT_EQ(codec::gb18030::appendFourBytes(c.c, out), !c.code.empty()) << std::hex << static_cast<unsigned>(c.c);
        EXPECT_EQ(out, "x" + std::string(c.code)) << std::hex << static_cast<unsigned>(c.c);
    }
    // Codes past U+10FFFF, and between the plane's last code and U+10000's.
    for (std::string_view none : {"\xE3\x32\x9A\x36", "\x84\x31\xA5\x30", "\x8F\x39\xFE\x39"}) {
        EXPECT_EQ(codec::gb18030::decodeFourBytes(none), U'\0') << testing::PrintToString(none);
    }
}

#if !defined(_WIN32)
// iconv is the Linux codec, and the reference: over every scalar value each
// four-byte code it gives is ours, decodes back, and no other value has one.
TEST(Gb18030FourByte, AgreesWithIconvOnEveryCharacter) {
    std::u32string all;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c != '\n' && (c < 0xD800 || c > 0xDFFF)) {
            all.push_back(c);
        }
    }
    // Each character as UTF-32 with a line feed after it, which no GB18030
    // code holds: the codes are the lines of one conversion. What iconv cannot
    // encode is skipped and leaves an empty line.
    std::string utf32;
    for (char32_t c : all) {
        for (char32_t unit : {c, char32_t{'\n'}}) {
            for (int k = 0; k < 4; ++k) {
                utf32.push_back(static_cast<char>(unit >> (8 * k)));
            }
        }
    }
    const iconv_t cd = iconv_open("GB18030", "UTF-32LE");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string gb(utf32.size() * 2, '\0');
    char* in = utf32.data();
    std::size_t inLeft = utf32.size();
    char* out = gb.data();
    std::size_t outLeft = gb.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
            ASSERT_EQ(errno, EILSEQ);
            in += 4;
            inLeft -= 4;
        }
    }
    iconv_close(cd);
    gb.resize(gb.size() - outLeft);

    std::size_t at = 0, fourByte = 0, refused = 0;
    for (char32_t c : all) {
        const std::size_t eol = gb.find('\n', at);
        ASSERT_NE(eol, std::string::npos);
        const std::string_view code(gb.data() + at, eol - at);
        at = eol + 1;
        std::string ours;
        const bool four = codec::gb18030::appendFourBytes(c, ours);
        if (code.empty()) {
            ++refused;
            continue;
        }
        ASSERT_EQ(four, code.size() == 4) << std::hex << "U+" << static_cast<unsigned>(c);
        if (four) {
            ++fourByte;
            ASSERT_EQ(ours, code) << std::hex << "U+" << static_cast<unsigned>(c);
            ASSERT_EQ(codec::gb18030::decodeFourBytes(ours), c) << std::hex << "U+" << static_cast<unsigned>(c);
        }
    }
    EXPECT_EQ(at, gb.size());
    EXPECT_GT(fourByte, 1000000u);
    EXPECT_LT(refused, 100u) << "iconv refuses no more than a few private-use characters";
}
#endif

} // namespace
