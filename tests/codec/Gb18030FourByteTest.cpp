#include "codec/Gb18030FourByte.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <cerrno>
#include <iconv.h>
#endif

namespace {

using codec::gb18030::appendFourBytes;
using codec::gb18030::decodeFourBytes;

// The codec's tests cover the codes of characters; these stand for none:
// past U+10FFFF, and between the plane's last code and U+10000's.
TEST(Gb18030FourByte, KnowsCodesOfNoCharacter) {
    for (std::string_view none : {"\xE3\x32\x9A\x36", "\x84\x31\xA5\x30", "\x8F\x39\xFE\x39"}) {
        EXPECT_EQ(decodeFourBytes(none), U'\0') << testing::PrintToString(none);
    }
    std::string out;
    EXPECT_FALSE(appendFourBytes(0x110000, out) || appendFourBytes(0x20AC, out)) << out;
    // U+20087 has a two-byte code too; iconv decodes this one to it as well.
    codec::gb18030::appendAbovePlane(0x20087, out);
    EXPECT_EQ(out, "\x95\x32\x90\x31");
    EXPECT_EQ(decodeFourBytes(out), U'\U00020087');
}

#if !defined(_WIN32)
// iconv is the Linux codec, and the reference: over every scalar value each
// four-byte code it gives is ours and decodes back, and no other value has
// one. What iconv cannot encode is skipped.
TEST(Gb18030FourByte, AgreesWithIconvOnEveryCharacter) {
    const iconv_t cd = iconv_open("GB18030", "UTF-32LE");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::size_t fourByte = 0;
    for (char32_t c = 0; c <= 0x10FFFF; c = c == 0xD7FF ? 0xE000 : c + 1) {
        char32_t unit = c; // little-endian, as the machine is
        char code[8];
        char *in = reinterpret_cast<char*>(&unit), *out = code;
        std::size_t inLeft = sizeof unit, outLeft = sizeof code;
        if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
            ASSERT_EQ(errno, EILSEQ) << static_cast<unsigned>(c);
            continue;
        }
        const std::string_view theirs(code, static_cast<std::size_t>(out - code));
        std::string ours;
        ASSERT_EQ(appendFourBytes(c, ours), theirs.size() == 4) << static_cast<unsigned>(c);
        if (theirs.size() == 4) {
            ++fourByte;
            ASSERT_EQ(ours, theirs) << static_cast<unsigned>(c);
            ASSERT_EQ(decodeFourBytes(ours), c) << static_cast<unsigned>(c);
        }
    }
    iconv_close(cd);
    EXPECT_GT(fourByte, 1000000u);
}
#endif

} // namespace
