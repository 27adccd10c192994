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
// one. The codes are the lines of one conversion of every value with a line
// feed after it (no code holds the byte 0x0A); what iconv cannot encode is
// skipped and leaves an empty line.
TEST(Gb18030FourByte, AgreesWithIconvOnEveryCharacter) {
    std::u32string all;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c != '\n' && (c < 0xD800 || c > 0xDFFF)) {
            all += {c, U'\n'};
        }
    }
    const iconv_t cd = iconv_open("GB18030", "UTF-32LE");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string gb(all.size() * 4, '\0');
    char* in = reinterpret_cast<char*>(all.data()); // little-endian, as the machine is
    std::size_t inLeft = all.size() * 4, outLeft = gb.size();
    for (char* out = gb.data(); inLeft > 0; in += 4, inLeft -= 4) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) {
            break;
        }
        ASSERT_EQ(errno, EILSEQ);
    }
    iconv_close(cd);
    gb.resize(gb.size() - outLeft);

    std::size_t at = 0, fourByte = 0;
    for (std::size_t i = 0; i < all.size(); i += 2) {
        const char32_t c = all[i];
        const std::size_t eol = gb.find('\n', at);
        ASSERT_NE(eol, std::string::npos);
        const std::string_view code(gb.data() + at, eol - at);
        at = eol + 1;
        std::string ours;
        const bool four = appendFourBytes(c, ours);
        ASSERT_TRUE(code.empty() || four == (code.size() == 4)) << static_cast<unsigned>(c);
        if (four && !code.empty()) {
            ++fourByte;
            ASSERT_EQ(ours, code) << static_cast<unsigned>(c);
            ASSERT_EQ(decodeFourBytes(ours), c) << static_cast<unsigned>(c);
        }
    }
    EXPECT_EQ(at, gb.size());
    EXPECT_GT(fourByte, 1000000u);
}
#endif

} // namespace
