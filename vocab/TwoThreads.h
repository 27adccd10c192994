#pragma once

#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>

// The store's two threads: the loader's line index and the sort each run two
// halves of their work side by side.
namespace vocab {

// Whether work over this many bytes is worth a second thread: below 64 KiB
// one costs more than it saves, and on one core it saves nothing.
inline bool worthTwoThreads(std::size_t bytes) {
    constexpr std::size_t kParallelBytes = std::size_t{1} << 16;
    return bytes >= kParallelBytes && std::thread::hardware_concurrency() > 1;
}

// Runs first on a second thread and second on this one, and passes on an
// exception of either once both have ended.
template <class First, class Second> void inParallel(bool parallel, First first, Second second) {
    if (!parallel) {
        first();
        second();
        return;
    }
    std::exception_ptr failed;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                first();
            } catch (...) {
                failed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had: this one does both.
        first();
        second();
        return;
    }
    try {
        second();
    } catch (...) {
        worker.join();
        throw;
    }
    worker.join();
    if (failed) {
        std::rethrow_exception(failed);
    }
}

} // namespace vocab
