// The lookup window at its screen's scale.
#include "win/CLookupDlg.h"

#include "lookup/Texts.h"
#include "win/Text.h"
#include "win/resource.h"

#include <vector>

namespace {

constexpr int kPhoneticPoints = 16;

int scaled(int value, UINT to, UINT from) {
    return MulDiv(value, static_cast<int>(to), static_cast<int>(from));
}

// Windows 10 1703 and later would scale a dialog's layout and template font
// by themselves on a DPI change, but not the fonts, columns and picture made
// here: the window does all of it, so that nothing is scaled twice. Looked up
// by name, as older systems (and Wine) lack it.
void keepDialogFromScaling(HWND dialog) {
    using SetBehaviour =
        BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    const FARPROC found =
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior");
    if (found) {
        // Through void(*)(), the one cast between function types that says
        // the type is restored, not guessed.
        auto set = reinterpret_cast<SetBehaviour>(reinterpret_cast<void (*)()>(found));
        set(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    }
}

} // namespace

void CLookupDlg::ScaleToWindow() {
    ReleaseScaled(); // a window opened again starts from its template
    keepDialogFromScaling(m_hWnd);
    const UINT dpi = GetDpiForWindow(m_hWnd);
    m_dpi = dpi ? dpi : USER_DEFAULT_SCREEN_DPI;
    SetScaledFonts();
    SetChartPicture();
}

int CLookupDlg::DefaultColumnWidth(std::size_t i, UINT dpi) {
    return scaled(lookup::text::kColumns[i].width, dpi, USER_DEFAULT_SCREEN_DPI);
}

void CLookupDlg::OnDpiChanged(UINT dpi, const RECT& suggested) {
    const UINT old = m_dpi;
    if (dpi == 0 || dpi == old) {
        return;
    }
    // Every control keeps its place relative to the client area, scaled.
    struct Placed {
        HWND hwnd;
        RECT rect;
    };
    std::vector<Placed> children;
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        children.push_back({child, rect});
    }
    SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const Placed& child : children) {
        // Edges scaled, not sizes, so that controls that met still meet.
        const int left = scaled(child.rect.left, dpi, old);
        const int top = scaled(child.rect.top, dpi, old);
        SetWindowPos(child.hwnd, nullptr, left, top, scaled(child.rect.right, dpi, old) - left,
                     scaled(child.rect.bottom, dpi, old) - top, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    LOGFONTW face{};
    GetObjectW(DialogFont(), sizeof face, &face);
    face.lfHeight = scaled(face.lfHeight, dpi, old);
    face.lfWidth = 0;
    HFONT dialogFont = CreateFontIndirectW(&face);
    if (dialogFont) {
        for (const Placed& child : children) {
            // The list and the box get theirs from SetScaledFonts below.
            if (child.hwnd != m_list && child.hwnd != m_input) {
                SendMessageW(child.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
            }
        }
        if (m_dialogFont) {
            DeleteObject(m_dialogFont);
        }
        m_dialogFont = dialogFont;
    }
    // A width the learner dragged stays theirs, at the new scale; the others
    // are the columns' own, rounded once, not once a move.
    for (std::size_t i = 0; i < lookup::text::kColumns.size(); ++i) {
        const int column = static_cast<int>(i);
        const int width = ListView_GetColumnWidth(m_list, column);
        ListView_SetColumnWidth(m_list, column,
                                width == DefaultColumnWidth(i, old) ? DefaultColumnWidth(i, dpi)
                                                                    : scaled(width, dpi, old));
    }
    m_dpi = dpi;
    SetScaledFonts();
    SetChartPicture();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CLookupDlg::SetScaledFonts() {
    HFONT previous = m_phoneticFont;
    m_phoneticFont =
        m_fontAdded ? CreateFontW(-scaled(kPhoneticPoints, m_dpi, 72), 0, 0, 0, FW_NORMAL, FALSE,
                                  FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                  wide(lookup::text::kPhoneticFontFamily).c_str())
                    : nullptr;
    SendMessageW(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(PhoneticFont()), TRUE);
    SendMessageW(m_input, WM_SETFONT, reinterpret_cast<WPARAM>(PhoneticFont()), TRUE);
    // The headings are Chinese, like the columns drawn in the dialog font.
    SendMessageW(ListView_GetHeader(m_list), WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()),
                 TRUE);
    if (previous) {
        DeleteObject(previous); // no control draws with it any more
    }
}

void CLookupDlg::SetChartPicture() {
    // Above 100 % the chart is the picture made at twice the size, scaled
    // down: its thin strokes stay sharp, where the small one would blur.
    const bool large = m_dpi > USER_DEFAULT_SCREEN_DPI;
    auto source = static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(large ? IDB_KEYCHART_2X : IDB_KEYCHART),
        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP size{};
    if (!source || !GetObjectW(source, sizeof size, &size)) {
        return; // the template's picture stays
    }
    const UINT madeFor = large ? 2 * USER_DEFAULT_SCREEN_DPI : USER_DEFAULT_SCREEN_DPI;
    const int width = scaled(size.bmWidth, m_dpi, madeFor);
    const int height = scaled(size.bmHeight, m_dpi, madeFor);
    HBITMAP picture = source;
    if (width != size.bmWidth || height != size.bmHeight) {
        HDC screen = GetDC(nullptr);
        HDC from = CreateCompatibleDC(screen);
        HDC to = CreateCompatibleDC(screen);
        picture = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        HGDIOBJ fromOld = SelectObject(from, source);
        HGDIOBJ toOld = SelectObject(to, picture);
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
        SelectObject(from, fromOld);
        SelectObject(to, toOld);
        DeleteDC(from);
        DeleteDC(to);
        DeleteObject(source);
    }
    // The control takes the picture's size; the one it showed is given back
    // to be deleted, whether the template's or an earlier scale's.
    auto shown = reinterpret_cast<HBITMAP>(
        SendMessageW(m_chart, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
    if (shown && shown != picture) {
        DeleteObject(shown);
    }
    m_chartPicture = picture;
}

void CLookupDlg::ReleaseScaled() {
    // Called once the controls that drew with them are gone, or before new
    // ones are made.
    auto release = [](auto& made) {
        if (made) {
            DeleteObject(made);
            made = nullptr;
        }
    };
    release(m_phoneticFont);
    release(m_dialogFont);
    release(m_chartPicture);
}

HFONT CLookupDlg::PhoneticFont() const {
    // Without its face the code is shown as typed, in the dialog's font: a
    // face made up for a missing one draws nothing useful, and Wine's even
    // fails on IPA pasted into the box.
    return m_phoneticFont ? m_phoneticFont : DialogFont();
}

HFONT CLookupDlg::DialogFont() const {
    return m_dialogFont ? m_dialogFont
                        : reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
}
