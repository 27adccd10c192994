#include "vocab/SoundReading.h"
#include "support/TempDir.h"
#include "vocab/IpaCode.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct Reading {
    std::string_view code, ipa, espeak, sapi;
};
// clang-format off
constexpr Reading kReadings[] = {
    {"'5ip", "ˈʃip", "'SIp", "sh ih 1 p"},
    {"7in", "θin", "TIn", "th ih n"},
    {"si:", "siː", "si:", "s iy"},
    {"'d98dz", "ˈdʒʌdz", "'dZVdz", "jh ah 1 d z"},
    {"k1t", "kæt", "kat", "k ae t"},
    {"h3t", "hɔt", "h0t", "h aa t"},
    {"b4:d k3:l p2:t", "bəːd kɔːl pɑːt", "b3:d kO:l pA:t", "b er d k ao l p aa t"},
    {"'ei ai 3i au 4u", "ˈei ai ɔi au əu", "'eI aI OI aU oU", "ey 1 ay oy aw ow"},
    {"'ni4 kA4 pu4", "ˈniə kɛə puə", "'nI@ ke@ pU@", "n ih 1 r k eh r p uh r"},
    {"'t54:t5 6 9 0 8", "ˈtʃəːtʃ ŋ ʒ ð ʌ", "'tS3:tS N Z D V", "ch er 1 ch ng zh dh ah"},
    {",1bs4'luit", "ˌæbsəˈluit", ",abs@'lUIt", "ae 2 b s ax l uh 1 ih t"},
    {"5ip,5i:p", "ʃip,ʃiːp", "SIp Si:p", "sh ih p sh iy p"}, // alternatives
    {"(r)-x.", "(r)-x.", "rks", "r k s"},
};
// clang-format on

TEST(SoundReading, ReadsEveryKeyAndLetterAsItsSound) {
    for (const Reading& r : kReadings) {
        EXPECT_EQ(vocab::ipaOf(r.code), r.ipa) << r.code;
        EXPECT_EQ(vocab::espeakPhonemes(r.code), r.espeak) << r.code;
        EXPECT_EQ(vocab::sapiPhones(r.code), r.sapi) << r.code;
    }
}

// eSpeak NG says back, in IPA, the sounds our mnemonics asked it for: the
// table above holds eSpeak's own meaning of each mnemonic.
TEST(SoundReading, EspeakHearsTheSoundsOfTheKeys) {
    // The code, and what eSpeak hears: its IPA, in British English.
    const std::pair<std::string_view, std::string_view> words[] = {
        {"'5ip", "ʃˈɪp"},   {"7in", "θˈɪn"},  {"'0is", "ðˈɪs"},       {"k1t", "kˈat"},
        {"'k8p", "kˈʌp"},   {"'h3t", "hˈɒt"}, {"'k3:l", "kˈɔːl"},     {"'b4:d", "bˈɜːd"},
        {"'p2:t", "pˈɑːt"}, {"'si6", "sˈɪŋ"}, {"'ple94", "plˈɛʒə"},   {"'g4u", "ɡˈəʊ"},
        {"'ni4", "nˈɪə"},   {"'kA4", "kˈeə"}, {"'t54:t5", "tʃˈɜːtʃ"}, {"'d9ei", "dʒˈeɪ"},
    };
    // One clause a line, each ended by a full stop, in one run of eSpeak.
    const TempDir dir;
    std::string clauses;
    for (const auto& w : words) {
        clauses += "[[" + vocab::espeakPhonemes(w.first) + "]].\n";
    }
    dir.write("words.txt", clauses);
    const std::string command =
        "espeak-ng -q --ipa -f '" + (dir.path() / "words.txt").string() + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<std::string> heard;
    for (std::array<char, 256> line{}; std::fgets(line.data(), line.size(), pipe);) {
        heard.emplace_back(vocab::trimmed(line.data()));
    }
    if (pclose(pipe) != 0 && heard.empty()) {
        GTEST_SKIP() << "espeak-ng is not installed";
    }
    ASSERT_EQ(heard.size(), std::size(words));
    for (std::size_t i = 0; i < heard.size(); ++i) {
        EXPECT_EQ(heard[i], words[i].second) << words[i].first;
    }
}

TEST(IpaCode, MapsEachSymbolToItsKeyAndCountsWhatHasNone) {
    const std::tuple<std::string_view, std::string_view, std::map<char32_t, std::size_t>> cases[] =
        {
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
    for (const auto& [ipa, code, dropped] : cases) {
        const vocab::IpaCode result = vocab::ipaCode(ipa);
        EXPECT_EQ(result.code, code) << ipa;
        EXPECT_EQ(result.dropped, dropped) << ipa;
    }
}

} // namespace
