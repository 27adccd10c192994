#include "lookup/Notices.h"

#include "codec/SystemMessage.h"
#include "lookup/Texts.h"
#include "vocab/WordLists.h"

namespace lookup {

namespace {

// Why a list failed, in Chinese where the reason is the program's own, else
// in the system's words in the user's language: a notice in Chinese says
// "Permission denied" only where the system speaks no Chinese.
std::string reason(const vocab::ListFailure& failure) {
    switch (failure.kind) {
    case vocab::FailureKind::NotRegularFile:
        return std::string(failure.error == std::errc::is_a_directory ? text::kIsFolder
                                                                      : text::kNotRegularFile);
    case vocab::FailureKind::TooLarge:
        return std::string(text::kListsTooLarge);
    case vocab::FailureKind::Missing:
    case vocab::FailureKind::Unreadable:
        break;
    }
    return codec::systemMessage(failure.error ? failure.error
                                              : std::make_error_code(std::errc::io_error),
                                codec::Language::User);
}

} // namespace

std::optional<std::string> fontNotice(bool fontRegistered) {
    if (fontRegistered) {
        return std::nullopt;
    }
    return std::string(text::kNoFont) + std::string(vocab::kPhoneticFontFile);
}

std::vector<std::string> listNotices(const vocab::LoadResult& loaded) {
    std::vector<std::string> notices;
    for (const vocab::ListFailure& failure : loaded.failures) {
        std::string notice(failure.kind == vocab::FailureKind::Missing ? text::kNoList
                                                                       : text::kUnreadableList);
        notice += failure.fileName();
        if (failure.kind != vocab::FailureKind::Missing) {
            notice += text::kReasonOpen;
            notice += reason(failure);
            notice += text::kReasonClose;
        }
        notices.push_back(std::move(notice));
    }
    return notices;
}

} // namespace lookup
