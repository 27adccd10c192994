#include "importer/SystemError.h"

#include "codec/SystemMessage.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace importer {

#if defined(_WIN32)

std::string systemError(int error) {
    // English, as the command line speaks it; the system's default if it has none.
    std::string message = codec::windowsMessage(static_cast<DWORD>(error),
                                                MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == '.' || message.back() == ' ')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(error) : message;
}

std::string lastSystemError() {
    return systemError(static_cast<int>(GetLastError()));
}

#else

std::string systemError(int error) {
    return codec::systemMessage(std::error_code(error, std::generic_category()),
                                codec::Language::English);
}

#endif

} // namespace importer
