#pragma once

#include <string>
#include <vector>
#include <windows.h>

// Every message box of the program goes through here, so that tests can
// answer one without a window: an answer set with AnswerNext is taken by the
// next box, which is then noted instead of shown.
class CMessageBox {
public:
    static int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

    static void AnswerNext(int answer);
    // "caption|text" of each box answered so far; forgets them.
    static std::vector<std::wstring> TakeAnswered();
};
