#include "lookup/ArgReader.h"

namespace lookup {

std::optional<ReadArg> ArgReader::next() {
    if (m_next >= m_args.size()) {
        return std::nullopt;
    }
    const std::string& arg = m_args[m_next++];
    if (m_optionsEnded || arg == "-" || !arg.starts_with('-')) {
        return ReadArg{ReadArg::Kind::Operand, {}, arg};
    }
    if (arg == "--") {
        m_optionsEnded = true;
        return next();
    }
    const std::size_t eq = arg.find('=');
    const std::string_view name = std::string_view(arg).substr(0, eq);
    for (const KnownOption& option : m_options) {
        if (name != option.name && (option.alias.empty() || name != option.alias)) {
            continue;
        }
        if (!option.takesValue) {
            if (eq != std::string::npos) {
                break; // "--help=x" is no option of ours
            }
            return ReadArg{ReadArg::Kind::Option, option.name, {}};
        }
        if (eq != std::string::npos) {
            return ReadArg{ReadArg::Kind::Option, option.name, arg.substr(eq + 1)};
        }
        if (m_next < m_args.size()) {
            return ReadArg{ReadArg::Kind::Option, option.name, m_args[m_next++]};
        }
        return ReadArg{ReadArg::Kind::MissingValue, option.name, {}};
    }
    m_next = m_args.size(); // nothing after an error is read
    return ReadArg{ReadArg::Kind::UnknownOption, {}, arg};
}

std::optional<std::string> ReadArg::commandError() const {
    if (kind == Kind::UnknownOption) {
        return "unknown option '" + value + "'";
    }
    if (kind == Kind::MissingValue) {
        return "option '" + std::string(name) + "' needs a value";
    }
    return std::nullopt;
}

} // namespace lookup
