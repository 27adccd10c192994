#include "lookup/Notices.h"

#include "lookup/Texts.h"
#include "vocab/WordLists.h"

namespace lookup {

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
            notice += failure.reason();
            notice += text::kReasonClose;
        }
        notices.push_back(std::move(notice));
    }
    return notices;
}

std::vector<std::string> startNotices(bool fontRegistered, const vocab::LoadResult& loaded) {
    std::vector<std::string> notices;
    if (std::optional<std::string> font = fontNotice(fontRegistered)) {
        notices.push_back(std::move(*font));
    }
    for (std::string& notice : listNotices(loaded)) {
        notices.push_back(std::move(notice));
    }
    return notices;
}

} // namespace lookup
