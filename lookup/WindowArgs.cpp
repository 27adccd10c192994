#include "lookup/WindowArgs.h"

#include "lookup/ArgReader.h"
#include "lookup/Texts.h"
#include "mirawen/Version.h"

#include <array>

namespace lookup {

namespace {

constexpr std::string_view kDir = "--dir";
constexpr std::string_view kHelp = "--help";
constexpr std::string_view kVersion = "--version";
constexpr std::array<KnownOption, 3> kOptions{
    {{kDir, true}, {kHelp, false, "-h"}, {kVersion, false, "-v"}}};

// pattern with its "%" replaced by what.
std::string fill(std::string_view pattern, std::string_view what) {
    const std::size_t at = pattern.find('%');
    return std::string(pattern.substr(0, at)) + std::string(what) +
           std::string(pattern.substr(at + 1));
}

std::filesystem::path pathOf(const std::string& value) {
    // u8path: Windows converts the UTF-8; Linux keeps the bytes as they are.
    return std::filesystem::u8path(value);
}

} // namespace

std::string windowHelp(Platform platform) {
    return std::string(text::kUsage) +
           std::string(platform == Platform::Windows ? text::kWindowsFolders : text::kLinuxFolders);
}

WindowArgs readWindowArgs(std::span<const std::string> args, Platform platform) {
    const bool onLinux = platform == Platform::Linux;
    std::optional<std::filesystem::path> dir;
    ArgReader reader(args, kOptions);
    while (const std::optional<ReadArg> arg = reader.next()) {
        if (arg->kind == ReadArg::Kind::Option && arg->name == kDir) {
            dir = pathOf(arg->value);
        } else if (arg->kind == ReadArg::Kind::Option) {
            if (arg->name == kHelp) {
                return {WindowArgs::Answer::Help, {}, windowHelp(platform) + (onLinux ? "\n" : "")};
            }
            // As each window has always said it.
            return {WindowArgs::Answer::Version,
                    {},
                    onLinux ? std::string(text::kAppName) + " " MIRAWEN_VERSION "\n"
                            : std::string(text::kProgram) + " " MIRAWEN_VERSION};
        } else if (arg->kind == ReadArg::Kind::Operand) {
            // Windows passes a file dropped on the program's icon as an
            // operand: the window opens all the same.
            continue;
        } else {
            const std::string error = arg->kind == ReadArg::Kind::UnknownOption
                                          ? fill(text::kUnknownOption, arg->value)
                                          : fill(text::kMissingValue, arg->name);
            return {WindowArgs::Answer::UsageError,
                    {},
                    std::string(text::kProgram) + ": " + error +
                        (onLinux ? "\n" : "\n\n" + windowHelp(platform))};
        }
    }
    return {WindowArgs::Answer::Run, std::move(dir), {}};
}

} // namespace lookup
