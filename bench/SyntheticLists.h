#pragma once
// Synthetic word lists for the benchmarks and the timing script: lines that
// look like the real Band 4 and Band 6 lists (GBK, key-chart transcriptions,
// about 37 bytes a line) in any number, the same bytes for the same seed.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace bench {

struct SyntheticOptions {
    std::size_t entries = 1'000'000; // over both lists
    std::uint64_t seed = 1;
    bool crlf = true;               // CR LF line ends, else LF
    unsigned firstListPercent = 60; // share of the entries in the Band 4 list
    // 0: every line gets a transcription of its own. Otherwise lines draw
    // their words and transcriptions from this many, built from a quarter as
    // many stems with common endings, as lists merged from several sources
    // look: whole keys repeated (homophones, several senses) and long shared
    // beginnings.
    std::size_t distinctTranscriptions = 0;
};

// The two lists' bytes, in the order of vocab::kWordLists.
using SyntheticLists = std::array<std::string, 2>;

SyntheticLists makeSyntheticLists(const SyntheticOptions& options);

// Writes the lists into dir (created when missing) under the names the store
// loads them from. Throws std::runtime_error when a file cannot be written.
void writeSyntheticLists(const std::filesystem::path& dir, const SyntheticLists& lists);

} // namespace bench
