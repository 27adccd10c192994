#pragma once

#include <string>
#include <system_error>

namespace codec {

// Whose words a system's error message is in.
enum class Language {
    English, // the C library's own text, as the command line reports it
    User,    // the user's: Windows' UI language, Linux's LC_MESSAGES
};

// The system's message for error, in UTF-8, without the line end Windows
// ends its messages with. For Language::User it is the system's translation
// where it has one (glibc's needs the user's locale generated and Debian's
// libc-l10n installed), else the English text.
[[nodiscard]] std::string systemMessage(std::error_code error, Language language);

#if defined(_WIN32)
// Windows' own message for a system error code in language (a LANGID), or
// where it has none in the system's default choice; UTF-8, without the line
// end and spaces it ends with. Empty when Windows has no message at all.
[[nodiscard]] std::string windowsMessage(unsigned long code, unsigned short language);
#endif

} // namespace codec
