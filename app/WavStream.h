#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The header of a RIFF WAVE stream as a synthesizer writes it to a pipe: the
// sizes may be placeholders, so the samples are simply what follows the
// "data" chunk's header.
struct WavFormat {
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bitsPerSample = 0;
    std::size_t dataOffset = 0; // where the samples begin

    [[nodiscard]] double seconds(std::size_t sampleBytes) const {
        const std::size_t frame = std::size_t{channels} * bitsPerSample / 8;
        return frame == 0 || sampleRate == 0
                   ? 0.0
                   : static_cast<double>(sampleBytes / frame) / sampleRate;
    }
};

// The format, once the stream's first bytes hold its whole header; nothing
// while they do not, or when they are not 16-bit PCM WAVE.
[[nodiscard]] inline std::optional<WavFormat> readWavHeader(std::string_view bytes) {
    auto u16 = [&](std::size_t at) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                          static_cast<unsigned char>(bytes[at + 1]) << 8);
    };
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(u16(at) | static_cast<std::uint32_t>(u16(at + 2)) << 16);
    };
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
        return std::nullopt;
    }
    WavFormat format;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string_view id = bytes.substr(at, 4);
        const std::uint32_t size = u32(at + 4);
        if (id == "data") {
            format.dataOffset = at + 8;
            return format.bitsPerSample == 16 && format.channels > 0 ? std::optional(format)
                                                                     : std::nullopt;
        }
        if (id == "fmt " && at + 8 + 16 <= bytes.size()) {
            if (u16(at + 8) != 1) {
                return std::nullopt; // not PCM
            }
            format.channels = u16(at + 10);
            format.sampleRate = u32(at + 12);
            format.bitsPerSample = u16(at + 22);
        } else if (id == "fmt ") {
            return std::nullopt; // not all there yet
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}
