#include "codec/SystemMessage.h"

#include "codec/Codec.h"

#include <cstring>
#include <locale.h>
#include <string.h>

namespace codec {

std::string systemMessage(std::error_code error, Language language) {
    const std::string english = error.message();
    if (language == Language::English || (error.category() != std::generic_category() &&
                                          error.category() != std::system_category())) {
        return english;
    }
    // The environment's locale, not the process's, so that a program that
    // never called setlocale still speaks its user's language; and a locale
    // object, so that no other thread's messages change meanwhile.
    const locale_t user = ::newlocale(LC_MESSAGES_MASK | LC_CTYPE_MASK, "", locale_t{});
    if (user == locale_t{}) {
        return english; // the user's locale is not generated here
    }
    std::string translated = ::strerror_l(error.value(), user);
    ::freelocale(user);
    // A message in a legacy codeset (zh_CN.GB18030) is not shown as mojibake.
    return !translated.empty() && isUtf8(translated) ? translated : english;
}

} // namespace codec
