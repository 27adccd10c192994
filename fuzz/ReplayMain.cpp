// Runs fuzz inputs through the fuzz target without libFuzzer, so that the
// corpus and any reproducer replay under any compiler: every file named on
// the command line, and every file in a named folder.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool runFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "fuzz-wordlist-replay: cannot open %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                  std::istreambuf_iterator<char>()};
    std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
    // Named first: an input that fails aborts the program.
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(input.data(), input.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: fuzz-wordlist-replay FILE-OR-FOLDER...\n", stderr);
        return 2;
    }
    std::size_t runs = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = argv[i];
        std::error_code ec;
        if (!std::filesystem::is_directory(arg, ec)) {
            ok = runFile(arg) && ok;
            ++runs;
            continue;
        }
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(arg, ec)) {
            if (entry.is_regular_file()) {
                files.push_back(entry.path());
            }
        }
        if (ec) {
            std::fprintf(stderr, "fuzz-wordlist-replay: cannot list %s: %s\n", arg.c_str(),
                         ec.message().c_str());
            ok = false;
        }
        std::sort(files.begin(), files.end()); // a stable order makes failures repeatable
        for (const auto& file : files) {
            ok = runFile(file) && ok;
            ++runs;
        }
    }
    std::printf("fuzz-wordlist-replay: %zu inputs run\n", runs);
    // An empty corpus would pass unseen.
    return ok && runs > 0 ? 0 : 1;
}
