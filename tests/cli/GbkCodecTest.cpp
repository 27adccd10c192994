#include "codec/GbkCodec.h"

#include <gtest/gtest.h>

namespace {

struct DecodeCase {
    std::string_view gbk;
    std::string_view utf8;
    const char* why;
};

TEST(GbkCodec, DecodesAndReplacesWhatDoesNotDecode) {
    const DecodeCase cases[] = {
        {"abc [5ip]", "abc [5ip]", "ASCII as it is"},
        {"\xD6\xD0\xCE\xC4", "中文", "two-byte characters"},
        {"\xA2\xDC\xA2\xDE", "④⑥", "the level tags"},
        {"\x80", "€", "code page 936's one-byte euro sign"},
        {"a\xFF"
         "b",
         "a\xEF\xBF\xBD"
         "b",
         "a byte that is no character"},
        {"a\x81", "a\xEF\xBF\xBD", "a lone lead byte at the end"},
        {"\x81 x", "\xEF\xBF\xBD x", "a lead byte with no valid trail: the trail survives"},
        {"", "", "empty"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GbkCodec::toUtf8(c.gbk), c.utf8) << c.why;
    }
}

TEST(GbkCodec, EncodesOrRefuses) {
    EXPECT_EQ(GbkCodec::fromUtf8("5ip"), "5ip");
    EXPECT_EQ(GbkCodec::fromUtf8("中文④"), "\xD6\xD0\xCE\xC4\xA2\xDC");
    EXPECT_EQ(GbkCodec::fromUtf8("😀"), std::nullopt) << "GBK cannot hold it";
    EXPECT_EQ(GbkCodec::fromUtf8("a\xC3"), std::nullopt) << "not UTF-8";
    EXPECT_EQ(GbkCodec::fromUtf8(""), "");
}

} // namespace
