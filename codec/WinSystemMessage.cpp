#include "codec/SystemMessage.h"

#include "codec/Codec.h"

#include <cerrno>
#include <windows.h>

namespace codec {

namespace {

// The C runtime's errno values the word lists fail with, as the system's own
// codes, whose messages Windows has in every language it is installed in.
DWORD windowsCode(const std::error_code& error) {
    if (error.category() == std::system_category()) {
        return static_cast<DWORD>(error.value());
    }
    if (error.category() != std::generic_category()) {
        return 0;
    }
    switch (error.value()) {
    case EACCES:
        return ERROR_ACCESS_DENIED;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EIO:
        return ERROR_READ_FAULT;
    case EMFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    default:
        return 0;
    }
}

} // namespace

std::string windowsMessage(unsigned long code, unsigned short language) {
    wchar_t* buffer = nullptr;
    const DWORD flags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD n = FormatMessageW(flags, nullptr, code, language, reinterpret_cast<wchar_t*>(&buffer), 0,
                             nullptr);
    if (n == 0) {
        // No message in that language: the system's default choice of one.
        n = FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0,
                           nullptr);
    }
    if (n == 0 || buffer == nullptr) {
        return {};
    }
    std::u16string text(reinterpret_cast<const char16_t*>(buffer), n);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ')) {
        text.pop_back(); // the line end Windows gives every message
    }
    return utf16ToUtf8(text);
}

std::string systemMessage(std::error_code error, Language language) {
    const std::string english = error.message();
    const DWORD code = language == Language::User ? windowsCode(error) : 0;
    if (code == 0) {
        return english;
    }
    const std::string text = windowsMessage(code, GetUserDefaultUILanguage());
    return text.empty() ? english : text;
}

} // namespace codec
