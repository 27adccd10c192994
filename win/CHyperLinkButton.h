#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <windows.h>

// A push button that draws itself as a web link and opens the address on it.
// Bound to a dialog's button with SubclassDlgItem; the dialog hands it its
// WM_DRAWITEM and BN_CLICKED, as a framework reflects them.
class CHyperLinkButton {
public:
    // Sent to the parent when the address could not be opened: wParam is the
    // control's ID, lParam 0.
    static const UINT WM_LINK_CLICKED;

    // Opens a web address; true when it was opened. Tests put a recorder here.
    static std::function<bool(const std::wstring&)> s_openAddress;

    CHyperLinkButton();
    ~CHyperLinkButton();
    CHyperLinkButton(const CHyperLinkButton&) = delete;
    CHyperLinkButton& operator=(const CHyperLinkButton&) = delete;

    void SubclassDlgItem(int id, HWND parent);
    HWND GetSafeHwnd() const { return m_hWnd; }

    void DrawItem(const DRAWITEMSTRUCT& item);
    void OnClicked();

    // The caption as a web address: only http and https, "http://" put in
    // front of a bare host name; empty for anything else.
    static std::optional<std::wstring> WebAddress(std::wstring_view caption);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    std::wstring caption() const;
    void Invalidate() const;

    HWND m_hWnd = nullptr;
    COLORREF m_crNormal;
    COLORREF m_crHover;
    COLORREF m_crDisabled;
    BOOL m_bHover = FALSE;
    BOOL m_bTracking = FALSE;
    HFONT m_hBoldFont = nullptr;
    BOOL m_bKeyArmed = FALSE;
};
