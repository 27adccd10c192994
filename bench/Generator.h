#pragma once
// What the list and CSV generators share: a seeded random source whose output
// is the same on every platform (the standard distributions promise no such
// thing), and numbers read off the command line.

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <system_error>

namespace bench {

// splitmix64: tiny, and fixed for a seed.
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
    bool percent(std::size_t p) { return below(100) < p; }
    template <std::size_t N> std::string_view pick(const std::string_view (&items)[N]) {
        return items[below(N)];
    }

private:
    std::uint64_t m_state;
};

// The whole of text as a number; false when it is not one.
template <class T> bool parseNumber(std::string_view text, T& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace bench
