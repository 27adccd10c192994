#include "win/CAboutDlg.h"

#include "win/resource.h"

INT_PTR CAboutDlg::DoModal(HWND owner) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), owner,
                           DialogProc, 0);
}

INT_PTR CALLBACK CAboutDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        // Centred over its owner, as a dialog without a position of its own is.
        RECT box, owner;
        HWND parent = GetWindow(hwnd, GW_OWNER);
        GetWindowRect(hwnd, &box);
        if (parent && GetWindowRect(parent, &owner)) {
            const int width = box.right - box.left;
            const int height = box.bottom - box.top;
            SetWindowPos(hwnd, nullptr, (owner.left + owner.right - width) / 2,
                         (owner.top + owner.bottom - height) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
