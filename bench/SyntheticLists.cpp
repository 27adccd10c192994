#include "bench/SyntheticLists.h"

#include "vocab/WordLists.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace bench {

namespace {

// splitmix64: tiny, and its output is fixed for a seed on every platform,
// which the standard distributions do not promise.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
    bool percent(unsigned p) { return below(100) < p; }

private:
    std::uint64_t m_state;
};

// A sound as written in the transcription and a plausible spelling of it.
struct Sound {
    std::string_view code;
    std::string_view spelling;
    unsigned weight;
};

template <std::size_t N> const Sound& pick(Random& random, const std::array<Sound, N>& sounds) {
    unsigned total = 0;
    for (const Sound& s : sounds) {
        total += s.weight;
    }
    auto r = static_cast<unsigned>(random.below(total));
    for (const Sound& s : sounds) {
        if (r < s.weight) {
            return s;
        }
        r -= s.weight;
    }
    return sounds.back();
}

// Onsets, vowels and codas in the key-chart code (5 ʃ, 6 ŋ, 7 θ, 0 ð, 9 ʒ,
// 1 æ, 2 ɑ, 3 ɔ, 4 ə, 8 ʌ, A ɛ), weighted roughly as in English words.
constexpr std::array<Sound, 44> kOnsets{{
    {"", "", 14},    {"p", "p", 6},   {"b", "b", 6},     {"t", "t", 7},   {"d", "d", 6},
    {"k", "c", 7},   {"g", "g", 3},   {"f", "f", 4},     {"v", "v", 3},   {"s", "s", 7},
    {"z", "z", 1},   {"7", "th", 1},  {"0", "th", 1},    {"5", "sh", 2},  {"9", "s", 1},
    {"h", "h", 3},   {"m", "m", 5},   {"n", "n", 5},     {"l", "l", 6},   {"r", "r", 6},
    {"w", "w", 2},   {"j", "y", 1},   {"t5", "ch", 2},   {"d9", "j", 1},  {"pr", "pr", 3},
    {"br", "br", 1}, {"tr", "tr", 2}, {"dr", "dr", 1},   {"kr", "cr", 1}, {"gr", "gr", 1},
    {"fr", "fr", 1}, {"pl", "pl", 1}, {"bl", "bl", 1},   {"kl", "cl", 1}, {"gl", "gl", 1},
    {"fl", "fl", 1}, {"sl", "sl", 1}, {"sp", "sp", 1},   {"st", "st", 2}, {"sk", "sc", 1},
    {"sm", "sm", 1}, {"sn", "sn", 1}, {"str", "str", 1}, {"kw", "qu", 1},
}};

constexpr std::array<Sound, 20> kVowels{{
    {"i", "i", 14},  {"i:", "ee", 4}, {"e", "e", 9},    {"1", "a", 7},    {"2:", "ar", 3},
    {"3", "o", 5},   {"3:", "or", 3}, {"u", "oo", 1},   {"u:", "oo", 3},  {"8", "u", 4},
    {"4", "a", 16},  {"4:", "er", 2}, {"ei", "ay", 4},  {"ai", "i", 4},   {"3i", "oi", 1},
    {"au", "ow", 1}, {"4u", "o", 3},  {"i4", "ear", 1}, {"A4", "air", 1}, {"u4", "ure", 1},
}};

constexpr std::array<Sound, 24> kCodas{{
    {"", "", 30},    {"p", "p", 2},    {"t", "t", 6},  {"d", "d", 4},   {"k", "ck", 3},
    {"g", "g", 1},   {"f", "f", 1},    {"v", "ve", 1}, {"s", "ss", 3},  {"z", "s", 2},
    {"m", "m", 3},   {"n", "n", 8},    {"6", "ng", 2}, {"l", "l", 5},   {"nt", "nt", 2},
    {"nd", "nd", 1}, {"st", "st", 1},  {"ks", "x", 1}, {"ld", "ld", 1}, {"mp", "mp", 1},
    {"5", "sh", 1},  {"t5", "tch", 1}, {"7", "th", 1}, {"kt", "ct", 1},
}};

// Two-character Chinese words for the meanings, as GBK bytes (iconv -t gbk):
// 使用 表示 发现 变化 进行 成为 有关 性质 状态 方法 原因 结果 重要 主要 一般 特别
// 完全 实现 获得 增加 减少 保持 提供 接受 支持 反对 承认 同意 决定 影响 产生 经济
// 社会 政治 文化 科学 技术 自然 环境 工作 时间 空间 问题 部分 程度 数量 速度 运动
// 声音 光线 颜色 身体 精神 思想 意义 价值 关系 条件 情况 机会 能量 材料 信息 系统
// 组织 管理 活动 过程 形式 内容 语言 文字 图书 报告 记录 说明 描述 解释
constexpr std::array<std::string_view, 78> kMeaningWords{{
    "\xca\xb9\xd3\xc3", "\xb1\xed\xca\xbe", "\xb7\xa2\xcf\xd6", "\xb1\xe4\xbb\xaf",
    "\xbd\xf8\xd0\xd0", "\xb3\xc9\xce\xaa", "\xd3\xd0\xb9\xd8", "\xd0\xd4\xd6\xca",
    "\xd7\xb4\xcc\xac", "\xb7\xbd\xb7\xa8", "\xd4\xad\xd2\xf2", "\xbd\xe1\xb9\xfb",
    "\xd6\xd8\xd2\xaa", "\xd6\xf7\xd2\xaa", "\xd2\xbb\xb0\xe3", "\xcc\xd8\xb1\xf0",
    "\xcd\xea\xc8\xab", "\xca\xb5\xcf\xd6", "\xbb\xf1\xb5\xc3", "\xd4\xf6\xbc\xd3",
    "\xbc\xf5\xc9\xd9", "\xb1\xa3\xb3\xd6", "\xcc\xe1\xb9\xa9", "\xbd\xd3\xca\xdc",
    "\xd6\xa7\xb3\xd6", "\xb7\xb4\xb6\xd4", "\xb3\xd0\xc8\xcf", "\xcd\xac\xd2\xe2",
    "\xbe\xf6\xb6\xa8", "\xd3\xb0\xcf\xec", "\xb2\xfa\xc9\xfa", "\xbe\xad\xbc\xc3",
    "\xc9\xe7\xbb\xe1", "\xd5\xfe\xd6\xce", "\xce\xc4\xbb\xaf", "\xbf\xc6\xd1\xa7",
    "\xbc\xbc\xca\xf5", "\xd7\xd4\xc8\xbb", "\xbb\xb7\xbe\xb3", "\xb9\xa4\xd7\xf7",
    "\xca\xb1\xbc\xe4", "\xbf\xd5\xbc\xe4", "\xce\xca\xcc\xe2", "\xb2\xbf\xb7\xd6",
    "\xb3\xcc\xb6\xc8", "\xca\xfd\xc1\xbf", "\xcb\xd9\xb6\xc8", "\xd4\xcb\xb6\xaf",
    "\xc9\xf9\xd2\xf4", "\xb9\xe2\xcf\xdf", "\xd1\xd5\xc9\xab", "\xc9\xed\xcc\xe5",
    "\xbe\xab\xc9\xf1", "\xcb\xbc\xcf\xeb", "\xd2\xe2\xd2\xe5", "\xbc\xdb\xd6\xb5",
    "\xb9\xd8\xcf\xb5", "\xcc\xf5\xbc\xfe", "\xc7\xe9\xbf\xf6", "\xbb\xfa\xbb\xe1",
    "\xc4\xdc\xc1\xbf", "\xb2\xc4\xc1\xcf", "\xd0\xc5\xcf\xa2", "\xcf\xb5\xcd\xb3",
    "\xd7\xe9\xd6\xaf", "\xb9\xdc\xc0\xed", "\xbb\xee\xb6\xaf", "\xb9\xfd\xb3\xcc",
    "\xd0\xce\xca\xbd", "\xc4\xda\xc8\xdd", "\xd3\xef\xd1\xd4", "\xce\xc4\xd7\xd6",
    "\xcd\xbc\xca\xe9", "\xb1\xa8\xb8\xe6", "\xbc\xc7\xc2\xbc", "\xcb\xb5\xc3\xf7",
    "\xc3\xe8\xca\xf6", "\xbd\xe2\xca\xcd",
}};

// Words whose second bytes are "]", "[" or "n" (憂慮 郵件 擺動 沒有), so that
// the lists hold characters a byte-wise search would split.
constexpr std::array<std::string_view, 4> kTrickyWords{{
    "\x91\x6e\x91\x5d",
    "\xe0\x5d\xbc\xfe",
    "\x94\x5b\x84\xd3",
    "\x9b\x5d\xd3\xd0",
}};

constexpr std::string_view kComma = "\xa3\xac";     // ，
constexpr std::string_view kAdjective = "\xb5\xc4"; // 的
constexpr std::string_view kAdverb = "\xb5\xd8";    // 地

struct PartOfSpeech {
    std::string_view tag;
    std::string_view suffix;
    unsigned weight;
};
constexpr std::array<PartOfSpeech, 8> kPartsOfSpeech{{
    {"n.", "", 40},
    {"v.", "", 22},
    {"adj.", kAdjective, 20},
    {"adv.", kAdverb, 7},
    {"vt.", "", 4},
    {"vi.", "", 4},
    {"prep.", "", 1},
    {"conj.", "", 1},
}};

const PartOfSpeech& pickPartOfSpeech(Random& random) {
    auto r = random.below(100);
    for (const PartOfSpeech& p : kPartsOfSpeech) {
        if (r < p.weight) {
            return p;
        }
        r -= p.weight;
    }
    return kPartsOfSpeech.front();
}

void appendSenses(Random& random, std::string& line) {
    const PartOfSpeech& pos = pickPartOfSpeech(random);
    line += pos.tag;
    line += ' ';
    const auto r = random.below(100);
    const std::size_t senses = r < 42 ? 1 : r < 84 ? 2 : 3;
    for (std::size_t i = 0; i < senses; ++i) {
        if (i > 0) {
            line += kComma;
        }
        line += random.percent(2) ? kTrickyWords[random.below(kTrickyWords.size())]
                                  : kMeaningWords[random.below(kMeaningWords.size())];
        line += pos.suffix;
    }
}

struct Headword {
    std::string word;
    std::string phonetic;
};

Headword makeHeadword(Random& random) {
    // Syllable counts as in a college word list: few monosyllables.
    constexpr std::array<unsigned, 5> kSyllableWeights{18, 36, 28, 13, 5};
    std::size_t syllables = 1;
    for (auto r = random.below(100); r >= kSyllableWeights[syllables - 1]; ++syllables) {
        r -= kSyllableWeights[syllables - 1];
    }
    const std::size_t stressed =
        syllables == 1 ? 99 : (random.percent(65) ? 0 : 1 + random.below(syllables - 1));

    std::string word;
    std::string phonetic;
    if (syllables >= 3 && stressed > 0 && random.percent(30)) {
        phonetic += ','; // a leading secondary stress
    }
    std::size_t secondVowel = 0; // where a second pronunciation may differ
    for (std::size_t s = 0; s < syllables; ++s) {
        if (s == stressed) {
            phonetic += '\'';
        }
        const Sound& onset = pick(random, kOnsets);
        const Sound& vowel = pick(random, kVowels);
        phonetic += onset.code;
        word += onset.spelling;
        if (s == 1) {
            secondVowel = phonetic.size();
        }
        phonetic += vowel.code;
        word += vowel.spelling;
        if (s + 1 == syllables || random.percent(30)) {
            const Sound& coda = pick(random, kCodas);
            phonetic += coda.code;
            word += coda.spelling;
        }
    }
    if (secondVowel > 0 && random.percent(3)) {
        // A second pronunciation after a comma, differing in one vowel.
        std::string other = phonetic.substr(phonetic[0] == ',' ? 1 : 0);
        const std::size_t at = secondVowel - (phonetic[0] == ',' ? 1 : 0);
        if (at < other.size()) {
            other[at] = other[at] == '4' ? 'i' : '4';
        }
        phonetic += ',';
        phonetic += other;
    }

    return {std::move(word), std::move(phonetic)};
}

// Endings that make families of transcriptions out of one stem.
constexpr std::array<Sound, 8> kEndings{{
    {"", "", 0},
    {"i6", "ing", 0},
    {"m4nt", "ment", 0},
    {"4r", "er", 0},
    {"li", "ly", 0},
    {"n4s", "ness", 0},
    {"5n", "tion", 0},
    {"4bl", "able", 0},
}};

std::vector<Headword> makeHeadwords(Random& random, std::size_t count) {
    std::vector<Headword> stems(std::max<std::size_t>(count / 4, 1));
    for (Headword& stem : stems) {
        stem = makeHeadword(random);
        // One pronunciation, so that endings extend it.
        if (const std::size_t comma = stem.phonetic.find(',', 1); comma != std::string::npos) {
            stem.phonetic.resize(comma);
        }
    }
    std::vector<Headword> headwords;
    headwords.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Headword& stem = stems[random.below(stems.size())];
        const Sound& ending = kEndings[random.below(kEndings.size())];
        headwords.push_back(
            {stem.word + std::string(ending.spelling), stem.phonetic + std::string(ending.code)});
    }
    return headwords;
}

void appendLine(Random& random, const Headword& headword, std::string& out, bool crlf) {
    out += headword.word;
    out += " [";
    out += headword.phonetic;
    out += "] ";
    appendSenses(random, out);
    if (random.percent(14)) {
        out += ' ';
        appendSenses(random, out);
    }
    out += crlf ? "\r\n" : "\n";
}

} // namespace

SyntheticLists makeSyntheticLists(const SyntheticOptions& options) {
    Random random(options.seed);
    SyntheticLists lists;
    const std::size_t first = options.entries * options.firstListPercent / 100;
    lists[0].reserve(first * 40);
    lists[1].reserve((options.entries - first) * 40);
    const std::vector<Headword> headwords = makeHeadwords(random, options.distinctTranscriptions);
    for (std::size_t i = 0; i < options.entries; ++i) {
        const Headword headword = options.distinctTranscriptions == 0
                                      ? makeHeadword(random)
                                      : headwords[random.below(headwords.size())];
        appendLine(random, headword, lists[i < first ? 0 : 1], options.crlf);
    }
    return lists;
}

void writeSyntheticLists(const std::filesystem::path& dir, const SyntheticLists& lists) {
    std::filesystem::create_directories(dir);
    for (std::size_t i = 0; i < lists.size(); ++i) {
        const std::filesystem::path path = dir / std::string(vocab::kWordLists[i].fileName);
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(lists[i].data(), static_cast<std::streamsize>(lists[i].size()));
        file.close();
        if (!file) {
            throw std::runtime_error("cannot write " + path.string());
        }
    }
}

} // namespace bench
