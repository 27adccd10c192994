#include "win/CPopupMenu.h"

#include "win/TestAnswers.h"

namespace {

TestAnswers<UINT>& answers() {
    static TestAnswers<UINT> given;
    return given;
}

std::wstring entries(HMENU menu) {
    std::wstring seen;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        const bool separator = state & MF_SEPARATOR;
        seen += (i ? L"|" : L"") + std::wstring(separator ? L"-" : text) +
                (!separator && (state & MF_GRAYED) ? L"(off)" : L"");
    }
    return seen;
}

} // namespace

UINT CPopupMenu::Track(HMENU menu, HWND owner, POINT point) {
    if (const std::optional<UINT> answer = answers().take([&] { return entries(menu); })) {
        return *answer;
    }
    return static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, owner, nullptr));
}

void CPopupMenu::setNextAnswer(UINT command) {
    answers().push(command);
}

std::vector<std::wstring> CPopupMenu::answered() {
    return answers().answered();
}
