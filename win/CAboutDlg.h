#pragma once

#include <string>
#include <windows.h>

// The About box (template 100): the framework's OK, Escape and close do all.
class CAboutDlg {
public:
    // note, when not empty, is one more line under the others: what the
    // window is showing that the learner should know of.
    explicit CAboutDlg(std::wstring note = {}) : m_note(std::move(note)) {}

    INT_PTR DoModal(HWND owner);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void AddNote(HWND hwnd) const;

    std::wstring m_note;
};
