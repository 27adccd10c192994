#include "codec/GbkCodec.h"

#include <gtest/gtest.h>

TEST(GbkCodec, DecodesReplacingWhatDoesNotDecode) {
    const struct {
        std::string_view gbk, utf8;
        const char* why;
    } cases[] = {
        {"\xD6\xD0\xCE\xC4\xA2\xDC", "中文④", "two-byte characters"},
        {"\x80", "€", "code page 936's one-byte euro sign"},
        {"a\xFF"
         "b",
         "a\xEF\xBF\xBD"
         "b",
         "a byte that is no character"},
        {"a\x81", "a\xEF\xBF\xBD", "a lone lead byte at the end"},
        {"\x81 x", "\xEF\xBF\xBD x", "a lead byte without a valid trail: the trail survives"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GbkCodec::toUtf8(c.gbk), c.utf8) << c.why;
    }
    EXPECT_EQ(GbkCodec::fromUtf8("中文④"), "\xD6\xD0\xCE\xC4\xA2\xDC");
    EXPECT_EQ(GbkCodec::fromUtf8("😀"), std::nullopt) << "GBK cannot hold it";
    EXPECT_EQ(GbkCodec::fromUtf8("a\xC3"), std::nullopt) << "not UTF-8";
}
