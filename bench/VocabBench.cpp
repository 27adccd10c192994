// Load, sort and prefix match over synthetic lists of 10 thousand to 1 million
// entries. Run by hand (or by tools/bench-lookup.sh); nothing here is asserted.

#include "bench/SyntheticLists.h"

#include "vocab/EntryStore.h"
#include "vocab/PrefixMatch.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <system_error>

namespace {

// Lists, folders and stores are made once per size and shared by every
// benchmark of that size.
struct Fixture {
    bench::SyntheticLists lists;
    std::filesystem::path folder; // the lists written out, for load()
    vocab::EntryStore unsorted;
    vocab::EntryStore sorted;

    std::size_t bytes() const { return lists[0].size() + lists[1].size(); }
};

std::filesystem::path g_root; // removed at exit

const Fixture& fixture(std::size_t entries) {
    static std::map<std::size_t, std::unique_ptr<Fixture>> fixtures;
    auto& slot = fixtures[entries];
    if (!slot) {
        slot = std::make_unique<Fixture>();
        slot->lists = bench::makeSyntheticLists({.entries = entries});
        if (g_root.empty()) {
            std::string pattern = (std::filesystem::temp_directory_path() / "mirawen-bench-XXXXXX");
            if (!mkdtemp(pattern.data())) {
                std::perror("mirawen-bench-vocab: mkdtemp");
                std::exit(1);
            }
            g_root = pattern;
        }
        slot->folder = g_root / std::to_string(entries);
        bench::writeSyntheticLists(slot->folder, slot->lists);
        for (std::size_t list = 0; list < slot->lists.size(); ++list) {
            (void)slot->unsorted.appendList(slot->lists[list], list);
        }
        slot->sorted = slot->unsorted;
        slot->sorted.sort();
    }
    return *slot;
}

std::size_t entriesOf(const benchmark::State& state) {
    return static_cast<std::size_t>(state.range(0));
}

void perEntry(benchmark::State& state, std::size_t entries) {
    state.counters["per_entry"] = benchmark::Counter(static_cast<double>(entries),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

// Reading both files, splitting the lines, parsing them and writing the keys.
void BM_Load(benchmark::State& state) {
    const Fixture& f = fixture(entriesOf(state));
    for (auto _ : state) {
        vocab::EntryStore store;
        const vocab::LoadResult result = store.load(f.folder);
        if (!result.ok()) {
            state.SkipWithError(result.failures.front().message().c_str());
            break;
        }
        benchmark::DoNotOptimize(store.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes()));
    perEntry(state, entriesOf(state));
}

// The same without the file system: what parsing and keys cost alone.
void BM_Append(benchmark::State& state) {
    const Fixture& f = fixture(entriesOf(state));
    for (auto _ : state) {
        vocab::EntryStore store;
        for (std::size_t list = 0; list < f.lists.size(); ++list) {
            (void)store.appendList(f.lists[list], list);
        }
        benchmark::DoNotOptimize(store.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes()));
    perEntry(state, entriesOf(state));
}

void BM_Sort(benchmark::State& state) {
    const Fixture& f = fixture(entriesOf(state));
    vocab::EntryStore store;
    for (auto _ : state) {
        state.PauseTiming();
        store = f.unsorted;
        state.ResumeTiming();
        store.sort();
        benchmark::ClobberMemory();
    }
    perEntry(state, entriesOf(state));
}

void BM_Match(benchmark::State& state, const char* input) {
    const Fixture& f = fixture(entriesOf(state));
    std::size_t matches = 0;
    for (auto _ : state) {
        const vocab::MatchResult result = vocab::prefixMatch(f.sorted, input);
        matches = result.indices.size();
        benchmark::DoNotOptimize(result.indices.data());
    }
    state.counters["matches"] = static_cast<double>(matches);
}

// What one run of the lookup command does before printing.
void BM_LoadSortMatch(benchmark::State& state) {
    const Fixture& f = fixture(entriesOf(state));
    for (auto _ : state) {
        vocab::EntryStore store;
        (void)store.load(f.folder);
        store.sort();
        const vocab::MatchResult result = vocab::prefixMatch(store, "5ip");
        benchmark::DoNotOptimize(result.indices.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes()));
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->UseRealTime();
}

BENCHMARK(BM_Load)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Append)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort)->Apply(sizes)->Unit(benchmark::kMillisecond);
// A typical input ("ship") and a one-byte input, which stops at its first match.
BENCHMARK_CAPTURE(BM_Match, three_bytes, "5ip")->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, one_byte, "s")->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadSortMatch)->Apply(sizes)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!g_root.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(g_root, ignored);
    }
    return 0;
}
