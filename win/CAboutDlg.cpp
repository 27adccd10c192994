#include "win/CAboutDlg.h"

#include "win/CentreWindow.h"
#include "win/resource.h"

INT_PTR CAboutDlg::DoModal(HWND owner) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), owner,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

void CAboutDlg::AddNote(HWND hwnd) const {
    if (m_note.empty()) {
        return;
    }
    // Two wrapped lines under the template's, which grows to hold them.
    RECT line{7, 56, 228, 76};
    MapDialogRect(hwnd, &line);
    HWND note = CreateWindowExW(0, L"STATIC", m_note.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX,
                                line.left, line.top, line.right - line.left, line.bottom - line.top,
                                hwnd, nullptr, nullptr, nullptr);
    SendMessageW(note, WM_SETFONT, static_cast<WPARAM>(SendMessageW(hwnd, WM_GETFONT, 0, 0)),
                 FALSE);
    RECT box;
    GetWindowRect(hwnd, &box);
    const int grow = line.bottom - line.top + line.top / 8;
    SetWindowPos(hwnd, nullptr, 0, 0, box.right - box.left, box.bottom - box.top + grow,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CAboutDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        reinterpret_cast<const CAboutDlg*>(lParam)->AddNote(hwnd);
        RECT owner;
        if (HWND parent = GetWindow(hwnd, GW_OWNER); parent && GetWindowRect(parent, &owner)) {
            CentreWindow(hwnd, owner);
        }
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, LOWORD(wParam));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}
