// gen-ecdict: writes a synthetic CSV in the shape of ECDICT's ecdict.csv, for
// timing mirawen-import on a file of the real one's size without its data.

#include "bench/Generator.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

using bench::parseNumber;
using bench::Random;

constexpr const char* kUsage =
    "usage: gen-ecdict [--rows N] [--seed S] FILE\n"
    "Writes N rows (default 770000) of ECDICT's 13 columns under its header row, CR LF,\n"
    "UTF-8: about 1 row in 80 tagged cet4 or cet6, most with neither. Translations hold\n"
    "commas, written \"\\n\" and now and then a real line break, quoted as RFC 4180 says.\n"
    "The same seed (default 1) gives the same bytes.\n";

constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kSounds[] = {"b", "d",  "f", "k", "l",  "m", "n", "p",  "r", "s",
                                        "t", "v",  "w", "z", "æ",  "ɑ", "ɔ", "ə",  "ʃ", "ŋ",
                                        "θ", "ʌ",  "ʒ", "ð", "ɛ",  "ɪ", "ʊ", "i:", "u", "ɡ",
                                        "e", "eɪ", "ˈ", "ː", "tʃ", "ɜ", "j", "h",  "ɒ", "aɪ"};
constexpr std::string_view kHan[] = {"的", "人", "放", "弃", "船", "想", "夜", "下", "沉",
                                     "运", "装", "说", "话", "水", "火", "书", "学", "大"};
constexpr std::string_view kPos[] = {"n.", "v.", "a.", "adv.", "prep.", "vt.", "vi."};
constexpr std::string_view kOtherTags[] = {"zk", "gk", "ky", "toefl", "ielts", "gre"};
constexpr std::string_view kEnglish[] = {"the", "act",   "of",   "leaving", "a",          "place",
                                         "or",  "state", "give", "up",      "completely", "thing"};

// Appends field to row, quoted when it holds a comma, a quote or a line break.
void appendField(std::string& row, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        row += field;
        return;
    }
    row += '"';
    for (char c : field) {
        row += c;
        if (c == '"') {
            row += '"';
        }
    }
    row += '"';
}

void appendWord(Random& random, std::string& text, std::size_t minLength) {
    for (std::size_t n = minLength + random.below(8); n > 0; --n) {
        text += kLetters[random.below(kLetters.size())];
    }
}

void makeRow(Random& random, std::string& row, std::string& field) {
    const std::size_t tagged = random.below(1000); // cet4, both or cet6 below 12
    row.clear();
    appendWord(random, row, 3);
    if (random.percent(20)) {
        row += ' ';
        appendWord(random, row, 2);
    }
    row += ',';
    if (tagged < 12 || random.percent(40)) {
        for (std::size_t n = 3 + random.below(7); n > 0; --n) {
            row += random.pick(kSounds);
        }
    }
    row += ',';
    field.clear();
    if (random.percent(30)) {
        for (std::size_t senses = 1 + random.below(3); senses > 0; --senses) {
            field += field.empty() ? "" : "\\n";
            field += random.pick(kPos);
            for (std::size_t n = 2 + random.below(10); n > 0; --n) {
                field += ' ';
                field += random.pick(kEnglish);
                field += random.percent(15) ? "," : "";
            }
        }
    }
    appendField(row, field);
    row += ',';
    field.clear();
    for (std::size_t senses = 1 + random.below(3); senses > 0; --senses) {
        field += field.empty() ? "" : random.percent(5) ? "\r\n" : "\\n";
        field += random.pick(kPos);
        for (std::size_t words = 1 + random.below(3), i = 0; i < words; ++i) {
            field += i > 0 ? ", " : " ";
            for (std::size_t n = 1 + random.below(3); n > 0; --n) {
                field += random.pick(kHan);
            }
        }
    }
    appendField(row, field);
    row += random.percent(10) ? ",n:60/v:40," : ",,";
    row += random.percent(5) ? "3,1," : ",,";
    field.clear();
    if (tagged < 5) {
        field = "cet4";
    } else if (tagged < 9) {
        field = "cet4 cet6";
    } else if (tagged < 12) {
        field = "cet6";
    }
    if (tagged < 12 || random.percent(2)) {
        field = std::string(random.pick(kOtherTags)) + (field.empty() ? "" : " ") + field;
        appendField(row, field);
    }
    row += ',';
    if (random.percent(25)) {
        row += std::to_string(random.below(50000)) + ',' + std::to_string(random.below(50000));
    } else {
        row += ',';
    }
    row += random.percent(10) ? ",d:ed/p:ed/i:ing/3:s,,\r\n" : ",,,\r\n";
}

int usage(int status) {
    std::fputs(kUsage, status == 0 ? stdout : stderr);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t rows = 770'000;
    std::uint64_t seed = 1;
    const char* file = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            return usage(0);
        } else if (arg == "--rows" && i + 1 < argc) {
            if (!parseNumber(argv[++i], rows)) {
                return usage(2);
            }
        } else if (arg == "--seed" && i + 1 < argc) {
            if (!parseNumber(argv[++i], seed)) {
                return usage(2);
            }
        } else if (!arg.empty() && arg[0] != '-' && !file) {
            file = argv[i];
        } else {
            return usage(2);
        }
    }
    if (!file) {
        return usage(2);
    }
    std::FILE* out = std::fopen(file, "wb");
    if (!out) {
        std::perror(file);
        return 1;
    }
    std::string row = "word,phonetic,definition,translation,pos,collins,oxford,tag,bnc,frq,"
                      "exchange,detail,audio\r\n";
    std::string field;
    Random random(seed);
    std::size_t bytes = 0;
    for (std::size_t i = 0; i <= rows; ++i) {
        if (i > 0) {
            makeRow(random, row, field);
        }
        bytes += std::fwrite(row.data(), 1, row.size(), out);
    }
    if (std::fclose(out) != 0) {
        std::perror(file);
        return 1;
    }
    std::printf("%s: %zu rows, %zu bytes\n", file, rows, bytes);
    return 0;
}
