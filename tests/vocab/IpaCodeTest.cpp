#include "vocab/IpaCode.h"

#include <gtest/gtest.h>

TEST(IpaCode, MapsEachSymbolToItsKeyAndCountsWhatHasNone) {
    const struct {
        std::string_view ipa, code;
        std::map<char32_t, std::size_t> dropped;
    } cases[] = {
        {" /æɑɔɒ əәɜɵ/ ", "1233 4444", {}},
        {"[ʃŋθʌɐʒðɛ]", "5678890A", {}},
        {"ɪɨᵻʊʉɡɹɫ ɚɝʧʤ", "iiiuugrl 4r4rt5d9", {}},
        {"ˈaˊb′c’d‘eːfˑ", "'a'b'c'd'e:f:", {}},
        {"a;b；  c", "a,b,c", {}},
        {"ˌaˌb,c", ",abc", {}},
        {",a", ",a", {}},
        {"/[ə]/", "4", {}},
        {"e\u0301a[b]", "eab", {}},
        {"Az09 ':()-.", "Az09 ':()-.", {}},
        // ECDICT's older spellings: є for ɛ, ^ for g, "." for ˌ but at the end.
        {".ædvә'taizmәnt", ",1dv4'taizm4nt", {}},
        {"єә ^ɔd a.b.", "A4 g3d ab.", {}},
        {"/ʔaʔ*\xFF", "a", {{U'*', 1}, {U'/', 1}, {U'ʔ', 2}, {0xFFFD, 1}}},
    };
    for (const auto& c : cases) {
        const vocab::IpaCode result = vocab::ipaCode(c.ipa);
        EXPECT_EQ(result.code, c.code) << c.ipa;
        EXPECT_EQ(result.dropped, c.dropped) << c.ipa;
    }
}
