#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lookup {

// An option a program takes: "--dir" with a value, "--help" without.
struct KnownOption {
    std::string_view name;
    bool takesValue = false;
    std::string_view alias = {}; // another spelling: "-h"
};

// One argument as read, in the order given.
struct ReadArg {
    enum class Kind {
        Option,        // name; value when the option takes one
        Operand,       // value
        UnknownOption, // value: the argument as given
        MissingValue,  // name: the option that ended the arguments without its value
    };
    Kind kind;
    std::string_view name; // the option's name as declared, alias or not
    std::string value;

    // The commands' English words for an unknown option or a missing value;
    // nothing for an option or operand as declared.
    [[nodiscard]] std::optional<std::string> commandError() const;
};

// Reads the arguments of a command (without the program's name), one at a
// time, so that a command answers them in order: "--help --bogus" helps,
// "--bogus --help" complains. A valued option takes "--dir X" and "--dir=X";
// an option without one given "=..." is unknown; after "--", and for "-",
// every argument is an operand. The bytes of a value or an operand are kept
// as given, whatever their encoding.
class ArgReader {
public:
    ArgReader(std::span<const std::string> args, std::span<const KnownOption> options)
        : m_args(args), m_options(options) {}

    // The next argument; nothing after the last, or after an error.
    [[nodiscard]] std::optional<ReadArg> next();

private:
    std::span<const std::string> m_args;
    std::span<const KnownOption> m_options;
    std::size_t m_next = 0;
    bool m_optionsEnded = false;
};

} // namespace lookup
