#include "win/CMessageBox.h"

#include <deque>

namespace {

std::deque<int>& answers() {
    static std::deque<int> queue;
    return queue;
}

std::vector<std::wstring>& noted() {
    static std::vector<std::wstring> boxes;
    return boxes;
}

} // namespace

int CMessageBox::Show(HWND owner, const std::wstring& text, const std::wstring& caption,
                      UINT type) {
    if (!answers().empty()) {
        const int answer = answers().front();
        answers().pop_front();
        const bool yesNo = (type & MB_TYPEMASK) == MB_YESNO;
        noted().push_back(caption + L"|" + text + (yesNo ? L"|yesno" : L"|ok") +
                          (owner ? L"|owned" : L""));
        return answer;
    }
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

void CMessageBox::setNextAnswer(int answer) {
    answers().push_back(answer);
}

std::vector<std::wstring> CMessageBox::answered() {
    answers().clear();
    std::vector<std::wstring> boxes;
    boxes.swap(noted());
    return boxes;
}
