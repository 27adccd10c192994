#include "importer/TemporaryFiles.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace importer::temporaries {

namespace {

#if defined(_WIN32)
using Char = wchar_t;
constexpr std::size_t kMaxPath = 32768;
#else
using Char = char;
constexpr std::size_t kMaxPath = 4096;
#endif

// Two imports at once in one process at most (the window's and nothing
// else), each with two lists and a backup each.
constexpr std::size_t kSlots = 8;

struct Slot {
    std::atomic<int> state{0}; // 0 free, 1 being written, 2 holds a name
    std::array<Char, kMaxPath> name{};
};
std::array<Slot, kSlots> g_slots;

void unlinkName(const Char* name) {
#if defined(_WIN32)
    DeleteFileW(name);
#else
    ::unlink(name);
#endif
}

} // namespace

int add(const std::filesystem::path& path) {
    const auto& native = path.native();
    if (native.size() >= kMaxPath) {
        return -1;
    }
    for (std::size_t i = 0; i < g_slots.size(); ++i) {
        int expected = 0;
        if (g_slots[i].state.compare_exchange_strong(expected, 1)) {
            std::copy(native.begin(), native.end(), g_slots[i].name.begin());
            g_slots[i].name[native.size()] = 0;
            g_slots[i].state.store(2);
            return static_cast<int>(i);
        }
    }
    return -1;
}

void remove(int slot) {
    if (slot >= 0) {
        g_slots[static_cast<std::size_t>(slot)].state.store(0);
    }
}

void removeAll() {
    for (Slot& slot : g_slots) {
        if (slot.state.load() == 2) {
            unlinkName(slot.name.data());
        }
    }
}

} // namespace importer::temporaries
