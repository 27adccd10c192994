#pragma once

#include <windows.h>

// The small modeless window (template 103) shown while an import runs: its
// bar, and a Cancel button that the window polling the import asks about.
class CImportProgress {
public:
    CImportProgress() = default;
    CImportProgress(const CImportProgress&) = delete;
    CImportProgress& operator=(const CImportProgress&) = delete;
    ~CImportProgress() { Destroy(); }

    void Create(HWND owner);
    void Destroy();
    bool IsOpen() const { return m_hWnd != nullptr; }
    // From 0 to 1.
    void SetProgress(double done) const;
    bool Cancelled() const { return m_cancelled; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    bool m_cancelled = false;
};
