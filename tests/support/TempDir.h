#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
public:
    TempDir() {
        // A fresh name is one that create_directory made (Windows has no mkdtemp).
        std::random_device random;
        for (int attempt = 0; m_path.empty(); ++attempt) {
            const auto candidate = std::filesystem::temp_directory_path() /
                                   ("mirawen-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                m_path = candidate;
            } else if (attempt == 100) {
                std::abort();
            }
        }
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    // Writes bytes, as they are, to a file of the folder (name in UTF-8).
    void write(std::string_view name, std::string_view bytes) const {
        std::ofstream out(m_path / std::filesystem::u8path(name), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

private:
    std::filesystem::path m_path;
};
