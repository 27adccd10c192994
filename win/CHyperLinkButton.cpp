#include "win/CHyperLinkButton.h"

#include <algorithm>
#include <commctrl.h>
#include <cwctype>
#include <shellapi.h>

const UINT CHyperLinkButton::WM_LINK_CLICKED = RegisterWindowMessageW(L"WM_LINK_CLICKED");

std::function<bool(const std::wstring&)> CHyperLinkButton::s_openAddress =
    [](const std::wstring& address) {
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        return result > 32;
    };

namespace {

constexpr UINT_PTR kSubclassId = 1;

bool isEnterOrSpace(WPARAM key) {
    return key == VK_RETURN || key == VK_SPACE;
}

} // namespace

CHyperLinkButton::CHyperLinkButton()
    : m_crNormal(GetSysColor(COLOR_HIGHLIGHT)), m_crHover(RGB(0, 0, 255)),
      m_crDisabled(GetSysColor(COLOR_GRAYTEXT)) {}

CHyperLinkButton::~CHyperLinkButton() {
    if (m_hWnd && IsWindow(m_hWnd)) {
        RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
    }
    if (m_hBoldFont) {
        DeleteObject(m_hBoldFont);
    }
}

void CHyperLinkButton::SubclassDlgItem(int id, HWND parent) {
    m_hWnd = GetDlgItem(parent, id);
    if (!m_hWnd) {
        return;
    }
    // Owner-drawn from now on, and never the default button.
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~DWORD{BS_TYPEMASK}) | BS_OWNERDRAW);
    SetWindowSubclass(m_hWnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

std::wstring CHyperLinkButton::caption() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void CHyperLinkButton::Invalidate() const {
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

std::optional<std::wstring> CHyperLinkButton::WebAddress(std::wstring_view caption) {
    // No spaces, quotes, backslashes or control characters: nothing that a
    // shell could read as more than one address, or as a path.
    const bool plain = std::all_of(caption.begin(), caption.end(), [](wchar_t c) {
        return c > L' ' && c != 0x7F && c != L'"' && c != L'\\' && c != L'<' && c != L'>';
    });
    if (caption.empty() || !plain) {
        return std::nullopt;
    }
    std::wstring address(caption);
    const std::size_t colon = address.find(L':');
    const std::size_t slash = address.find_first_of(L"/?#");
    if (colon == std::wstring::npos || (slash != std::wstring::npos && slash < colon)) {
        address = L"http://" + address;
    }
    std::wstring scheme = address.substr(0, address.find(L':'));
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    const std::size_t hostStart = scheme.size() + 3;
    if ((scheme != L"http" && scheme != L"https") ||
        address.compare(scheme.size(), 3, L"://") != 0 || hostStart >= address.size() ||
        std::wstring_view(L"/?#:@").find(address[hostStart]) != std::wstring_view::npos) {
        return std::nullopt;
    }
    return address;
}

void CHyperLinkButton::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    if (!m_hBoldFont) {
        LOGFONTW font{};
        auto current = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
        GetObjectW(current ? current : GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
        font.lfWeight = FW_SEMIBOLD;
        m_hBoldFont = CreateFontIndirectW(&font);
    }
    RECT rect = item.rcItem;
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE)); // the text of the old look goes
    HGDIOBJ oldFont = nullptr;
    COLORREF colour = m_crNormal;
    if (!IsWindowEnabled(m_hWnd)) {
        colour = m_crDisabled;
    } else if (m_bHover) {
        colour = m_crHover;
        if (m_hBoldFont) {
            oldFont = SelectObject(dc, m_hBoldFont);
        }
    }
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    const std::wstring text = caption();
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    // The keyboard user sees where the focus is.
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        DrawFocusRect(dc, &item.rcItem);
    }
    if (oldFont) {
        SelectObject(dc, oldFont);
    }
}

void CHyperLinkButton::OnClicked() {
    if (!IsWindowEnabled(m_hWnd)) {
        return;
    }
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const std::optional<std::wstring> address = WebAddress(caption());
    if (!address || !s_openAddress(*address)) {
        if (HWND parent = GetParent(m_hWnd)) {
            SendMessageW(parent, WM_LINK_CLICKED, static_cast<WPARAM>(GetDlgCtrlID(m_hWnd)), 0);
        }
    }
    m_bHover = FALSE;
    Invalidate();
    SetCursor(previous);
}

LRESULT CALLBACK CHyperLinkButton::SubclassProc(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* link = reinterpret_cast<CHyperLinkButton*>(self);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        link->m_hWnd = nullptr;
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    return link->WindowProc(message, wParam, lParam);
}

LRESULT CHyperLinkButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE: {
        // Enter and Space on the focused link are the link's, not the dialog's.
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = DefSubclassProc(m_hWnd, message, wParam, lParam);
        if (msg &&
            (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP || msg->message == WM_CHAR) &&
            (isEnterOrSpace(msg->wParam) || msg->wParam == L'\r')) {
            return code | DLGC_WANTMESSAGE;
        }
        return code & ~LRESULT{DLGC_DEFPUSHBUTTON};
    }
    case WM_KEYDOWN:
        if (isEnterOrSpace(wParam)) {
            m_bKeyArmed = TRUE; // held back until Enter is released
            return 0;
        }
        m_bKeyArmed = FALSE;
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            return 0;
        }
        if (wParam == VK_RETURN && m_bKeyArmed) {
            m_bKeyArmed = FALSE;
            OnClicked();
            return 0;
        }
        m_bKeyArmed = FALSE;
        break;
    case WM_CHAR:
        if (wParam == L'\r' || wParam == L' ') {
            return 0; // the characters of the keys above
        }
        m_bKeyArmed = FALSE;
        break;
    case WM_SETFONT:
        // The hover face is the control's own made semi-bold: a new font (a
        // new DPI) makes it again at the next draw.
        if (m_hBoldFont) {
            DeleteObject(m_hBoldFont);
            m_hBoldFont = nullptr;
        }
        break;
    case WM_MOUSEMOVE:
        m_bKeyArmed = FALSE;
        if (!m_bTracking) {
            TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, m_hWnd, 1};
            m_bTracking = TrackMouseEvent(&track);
        }
        break;
    case WM_MOUSEHOVER:
        m_bHover = TRUE;
        Invalidate();
        return 0;
    case WM_MOUSELEAVE:
        m_bTracking = FALSE;
        m_bHover = FALSE;
        Invalidate();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        m_bKeyArmed = FALSE;
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_KILLFOCUS: {
        const LRESULT result = DefSubclassProc(m_hWnd, message, wParam, lParam);
        Invalidate();
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(m_hWnd, message, wParam, lParam);
}
