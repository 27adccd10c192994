#pragma once

#include <string>
#include <vector>
#include <windows.h>

// Every message box of the program goes through here, so that tests can
// answer one without a window: an answer set with setNextAnswer is taken by the
// next box, which is then noted instead of shown, as the Qt window's boxes are.
class CMessageBox {
public:
    static int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

    static void setNextAnswer(int answer);
    // "caption|text|ok" or "caption|text|yesno", with "|owned" when it had an
    // owner, of each box answered since the last call, oldest first; answers
    // left unused are dropped.
    static std::vector<std::wstring> answered();
};
