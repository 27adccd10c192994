// gen-wordlists: writes synthetic "大学四级.txt" and "大学六级.txt" into a
// folder, for timing the lookup on lists of any size.

#include "bench/Generator.h"
#include "bench/SyntheticLists.h"

#include "vocab/WordLists.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <string_view>

namespace {

using bench::parseNumber;

constexpr const char* kUsage =
    "usage: gen-wordlists [--entries N] [--seed S] [--first-percent P] [--lf]\n"
    "                     [--realistic [K]] DIR\n"
    "Writes N entries (default 1000000), P percent (default 60) of them into the\n"
    "Band 4 list and the rest into the Band 6 list, in GBK with CR LF line ends\n"
    "(LF with --lf). The same seed (default 1) gives the same bytes. With\n"
    "--realistic, the lines share K (default 3000) transcriptions made of stems\n"
    "and common endings, as merged real lists do.\n";

int usage(int status) {
    std::fputs(kUsage, status == 0 ? stdout : stderr);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    bench::SyntheticOptions options;
    std::string_view dir;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help") {
            return usage(0);
        } else if (arg == "--realistic") {
            options.distinctTranscriptions = 3000;
            if (hasValue && argv[i + 1][0] != '-' &&
                parseNumber(argv[i + 1], options.distinctTranscriptions)) {
                ++i;
            }
        } else if (arg == "--lf") {
            options.crlf = false;
        } else if (arg == "--entries" && hasValue) {
            if (!parseNumber(argv[++i], options.entries)) {
                return usage(2);
            }
        } else if (arg == "--seed" && hasValue) {
            if (!parseNumber(argv[++i], options.seed)) {
                return usage(2);
            }
        } else if (arg == "--first-percent" && hasValue) {
            if (!parseNumber(argv[++i], options.firstListPercent) ||
                options.firstListPercent > 100) {
                return usage(2);
            }
        } else if (!arg.empty() && arg[0] != '-' && dir.empty()) {
            dir = arg;
        } else {
            return usage(2);
        }
    }
    if (dir.empty()) {
        return usage(2);
    }

    try {
        const bench::SyntheticLists lists = bench::makeSyntheticLists(options);
        bench::writeSyntheticLists(std::string(dir), lists);
        const std::size_t first = options.entries * options.firstListPercent / 100;
        const std::size_t counts[] = {first, options.entries - first};
        for (std::size_t i = 0; i < lists.size(); ++i) {
            const std::string_view name = vocab::kWordLists[i].fileName;
            std::printf("%.*s: %zu entries, %zu bytes\n", static_cast<int>(name.size()),
                        name.data(), counts[i], lists[i].size());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gen-wordlists: %s\n", e.what());
        return 1;
    }
    return 0;
}
