#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lookup {

// The two windows word their help and version each in their own way.
enum class Platform { Linux, Windows };
#if defined(_WIN32)
inline constexpr Platform kPlatform = Platform::Windows;
#else
inline constexpr Platform kPlatform = Platform::Linux;
#endif

// What the window's command line, mirawen [--dir DIR] [--help] [--version],
// asks for. Operands (a file dropped on the icon) are ignored.
struct WindowArgs {
    enum class Answer { Run, Help, Version, UsageError };
    Answer answer = Answer::Run;
    std::optional<std::filesystem::path> dir; // Run: else the folder rules decide
    // Everything but Run: the text to show (UTF-8), on the terminal (Linux,
    // with its final line end) or in a message box (Windows).
    std::string text;

    // The status to end with when the window does not open.
    [[nodiscard]] int exitStatus() const { return answer == Answer::UsageError ? 1 : 0; }
};

// args: without the program's name, UTF-8 on Windows; on Linux the bytes as
// given, which --dir keeps whatever their encoding.
[[nodiscard]] WindowArgs readWindowArgs(std::span<const std::string> args,
                                        Platform platform = kPlatform);

// The help, with the folder rules of platform; without a final line end.
[[nodiscard]] std::string windowHelp(Platform platform = kPlatform);

} // namespace lookup
