#pragma once

#include <windows.h>

// The About box (template 100): the framework's OK, Escape and close do all.
class CAboutDlg {
public:
    CAboutDlg() = default;

    INT_PTR DoModal(HWND owner);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
