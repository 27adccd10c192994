#include "win/CMessageBox.h"

#include <deque>

namespace {

std::deque<int>& answers() {
    static std::deque<int> queue;
    return queue;
}

std::vector<std::wstring>& answered() {
    static std::vector<std::wstring> boxes;
    return boxes;
}

} // namespace

int CMessageBox::Show(HWND owner, const std::wstring& text, const std::wstring& caption,
                      UINT type) {
    if (!answers().empty()) {
        const int answer = answers().front();
        answers().pop_front();
        answered().push_back(caption + L"|" + text);
        return answer;
    }
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

void CMessageBox::AnswerNext(int answer) {
    answers().push_back(answer);
}

std::vector<std::wstring> CMessageBox::TakeAnswered() {
    std::vector<std::wstring> boxes;
    boxes.swap(answered());
    return boxes;
}
