#include "importer/SystemError.h"

#if defined(_WIN32)
#include "codec/Codec.h"

#include <windows.h>
#else
#include <system_error>
#endif

namespace importer {

#if defined(_WIN32)

std::string systemError(int error) {
    wchar_t* text = nullptr;
    // English, as the command line speaks it; the system's default if it has none.
    const DWORD flags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD n = FormatMessageW(flags, nullptr, static_cast<DWORD>(error),
                             MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                             reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    if (n == 0) {
        n = FormatMessageW(flags, nullptr, static_cast<DWORD>(error), 0,
                           reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    }
    std::u16string message(text, text + n);
    LocalFree(text);
    while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' ||
                                message.back() == u'.' || message.back() == u' ')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(error) : codec::utf16ToUtf8(message);
}

std::string lastSystemError() {
    return systemError(static_cast<int>(GetLastError()));
}

#else

std::string systemError(int error) {
    return std::generic_category().message(error);
}

#endif

} // namespace importer
