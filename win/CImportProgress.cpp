#include "win/CImportProgress.h"

#include "lookup/Texts.h"
#include "win/CentreWindow.h"
#include "win/Text.h"
#include "win/resource.h"

#include <commctrl.h>

namespace {

constexpr int kSteps = 1000;

} // namespace

void CImportProgress::Create(HWND owner) {
    m_cancelled = false;
    m_hWnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_IMPORTING), owner,
                                DialogProc, reinterpret_cast<LPARAM>(this));
    if (!m_hWnd) {
        return;
    }
    SetWindowTextW(m_hWnd, wide(lookup::text::kImportCaption).c_str());
    SetDlgItemTextW(m_hWnd, IDC_IMPORTING, wide(lookup::text::kImporting).c_str());
    SetDlgItemTextW(m_hWnd, IDCANCEL, wide(lookup::text::kCancel).c_str());
    SendDlgItemMessageW(m_hWnd, IDC_PROGRESS, PBM_SETRANGE32, 0, kSteps);
    // Over the middle of the window it stands for.
    RECT over;
    GetWindowRect(owner, &over);
    CentreWindow(m_hWnd, over);
    ShowWindow(m_hWnd, SW_SHOW);
}

void CImportProgress::Destroy() {
    if (m_hWnd) {
        DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
}

void CImportProgress::SetProgress(double done) const {
    if (m_hWnd) {
        SendDlgItemMessageW(m_hWnd, IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(done * kSteps),
                            0);
    }
}

INT_PTR CALLBACK CImportProgress::DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return TRUE;
    }
    auto* self = reinterpret_cast<CImportProgress*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self && message == WM_NCDESTROY) {
        // Gone, by Destroy or with its owner: the handle is not kept to be
        // destroyed again, when it may name another window.
        self->m_hWnd = nullptr;
        return FALSE;
    }
    if (self && message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        // The import stops at its next block; the owner closes this then.
        self->m_cancelled = true;
        EnableWindow(GetDlgItem(hwnd, IDCANCEL), FALSE);
        return TRUE;
    }
    return FALSE;
}
