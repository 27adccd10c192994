#include "win/CMessageBox.h"

#include "win/TestAnswers.h"

namespace {

TestAnswers<int>& answers() {
    static TestAnswers<int> given;
    return given;
}

} // namespace

int CMessageBox::Show(HWND owner, const std::wstring& text, const std::wstring& caption,
                      UINT type) {
    if (const std::optional<int> answer = answers().take([&] {
            const bool yesNo = (type & MB_TYPEMASK) == MB_YESNO;
            return caption + L"|" + text + (yesNo ? L"|yesno" : L"|ok") + (owner ? L"|owned" : L"");
        })) {
        return *answer;
    }
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

void CMessageBox::setNextAnswer(int answer) {
    answers().push(answer);
}

std::vector<std::wstring> CMessageBox::answered() {
    return answers().answered();
}
