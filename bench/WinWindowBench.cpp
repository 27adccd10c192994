// Times the Win32 lookup window in its own process: opening it (load, sort,
// the list, the first paint) and closing it, on real-sized lists and on
// large ones; OK on inputs that select tens of thousands of rows, and the
// one-letter OK after each, with the repaint; and the peak memory against
// the large lists' size. Figures are printed, never judged.
//
//   mirawen-bench-win-window FONT_FILE REAL_LISTS_DIR LISTS_DIR INPUT [LISTS_DIR INPUT]...
//
// The first LISTS_DIR is the large one; tools/bench-windows.sh makes them.

#include "vocab/EntryStore.h"
#include "win/CLookupDlg.h"
#include "win/Text.h"
#include "win/resource.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 5;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::uintmax_t listBytes(const fs::path& dir) {
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        bytes += entry.file_size();
    }
    return bytes;
}

struct Figures {
    double open, close;
};

// Opens the window over dir until it has painted, then closes it.
Figures openAndClose(const fs::path& dir, const fs::path& font) {
    auto start = Clock::now();
    auto dlg = std::make_unique<CLookupDlg>(vocab::DataLocation{dir, font});
    HWND hwnd = dlg->Create();
    UpdateWindow(hwnd);
    pump();
    const double open = msSince(start);
    start = Clock::now();
    dlg.reset();
    return {open, msSince(start)};
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: mirawen-bench-win-window FONT_FILE REAL_LISTS_DIR "
                             "LISTS_DIR INPUT [LISTS_DIR INPUT]...\n");
        return 2;
    }
    const fs::path font = fs::absolute(argv[1]);
    const fs::path real = argv[2];
    const fs::path big = argv[3];

    std::printf("%-52s %10s\n", "median of 5 runs", "ms");
    for (const auto& [name, dir] :
         {std::pair("real-sized lists", real), {"the large lists", big}}) {
        std::vector<double> open, close;
        for (int i = 0; i < kRuns; ++i) {
            const Figures figures = openAndClose(dir, font);
            open.push_back(figures.open);
            close.push_back(figures.close);
        }
        std::printf("%-52s %10.1f\n", (std::string(name) + ": open to first paint").c_str(),
                    median(open));
        std::printf("%-52s %10.1f\n", (std::string(name) + ": close").c_str(), median(close));
        std::vector<double> engine;
        for (int i = 0; i < kRuns; ++i) {
            const auto start = Clock::now();
            vocab::EntryStore store;
            (void)store.load(dir);
            store.sort();
            engine.push_back(msSince(start));
        }
        std::printf("%-52s %10.1f\n", "  the store alone: load and sort", median(engine));
    }

    for (int arg = 3; arg + 1 < argc; arg += 2) {
        const fs::path dir = argv[arg];
        const std::wstring typed = argv[arg + 1];
        CLookupDlg dlg(vocab::DataLocation{dir, font});
        HWND hwnd = dlg.Create();
        HWND input = GetDlgItem(hwnd, IDC_INPUT);
        HWND list = GetDlgItem(hwnd, IDC_LIST);
        UpdateWindow(hwnd);
        pump();
        // OK as the button gives it, with the list's repaint.
        const auto ok = [&](const std::wstring& text) {
            SetWindowTextW(input, text.c_str());
            const auto start = Clock::now();
            SendMessageW(hwnd, WM_COMMAND, IDOK, 0);
            UpdateWindow(list);
            return msSince(start);
        };
        std::vector<double> selecting, oneLetter;
        int selected = 0;
        for (int i = 0; i < kRuns; ++i) {
            selecting.push_back(ok(typed));
            selected = ListView_GetSelectedCount(list);
            oneLetter.push_back(ok(L"b"));
        }
        const std::string what = "OK selecting " + std::to_string(selected) + " of " +
                                 std::to_string(ListView_GetItemCount(list)) + " rows (" +
                                 codec::utf16ToUtf8(utf16(typed)) + ")";
        std::printf("%-52s %10.1f\n", what.c_str(), median(selecting));
        std::printf("%-52s %10.1f\n", "  the one-letter OK after it (b)", median(oneLetter));
        DestroyWindow(hwnd);
    }

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    const double lists = static_cast<double>(listBytes(big));
    std::printf("%-52s %7.1f MB, %.2f x the large lists (%.1f MB)\n", "peak working set",
                static_cast<double>(memory.PeakWorkingSetSize) / 1e6,
                static_cast<double>(memory.PeakWorkingSetSize) / lists, lists / 1e6);
    return 0;
}
