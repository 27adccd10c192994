#pragma once

#include "importer/EcdictReader.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace importer {

// The CSV an import reads: a regular file, or standard input for "-", as the
// GNU tools have it. Opening never waits (a FIFO is refused at once, not
// waited on) and nothing but a regular file or standard input is read, so a
// device such as /dev/zero is refused too.
class CsvInput {
public:
    CsvInput(const CsvInput&) = delete;
    CsvInput& operator=(const CsvInput&) = delete;
    CsvInput(CsvInput&& other) noexcept;
    CsvInput& operator=(CsvInput&&) = delete;
    ~CsvInput();

    struct Opened;
    // The input, or a message that names the file and why it cannot be read.
    [[nodiscard]] static Opened open(const std::filesystem::path& path);

    [[nodiscard]] ReadResult read(char* buffer, std::size_t size);

private:
    CsvInput(std::intptr_t handle, bool owned, std::string name);

    std::intptr_t m_handle; // a file descriptor, or a Windows HANDLE
    bool m_owned;
    std::string m_name;
};

struct CsvInput::Opened {
    std::optional<CsvInput> input;
    std::string error;
};

} // namespace importer
