#include "win/CLookupDlg.h"

#include "codec/Codec.h"
#include "vocab/PrefixMatch.h"
#include "vocab/WordLists.h"
#include "win/CAboutDlg.h"
#include "win/CMessageBox.h"
#include "win/resource.h"

#include <array>
#include <optional>

namespace {

// The caption of the program's notices.
constexpr const wchar_t* kAppTitle = L"Mirawen";
constexpr int kPhoneticPoints = 16;

struct Column {
    const wchar_t* heading;
    int width;
};
constexpr std::array<Column, 4> kColumns{
    {{L"英文", 120}, {L"音标", 120}, {L"中文", 260}, {L"级", 50}}};
constexpr int kPhoneticColumn = 1;

std::wstring fromUtf8(std::string_view utf8) {
    std::wstring out(utf8.size(), L'\0');
    out.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(),
                            static_cast<int>(out.size()))));
    return out;
}

// Text typed into the box as the store's GB18030; empty when it holds a lone
// surrogate or a character GB18030 has not.
std::optional<std::string> toStoreText(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(),
                                      static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) {
        return std::nullopt;
    }
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        utf8.data(), n, nullptr, nullptr);
    return codec::fromUtf8(utf8);
}

std::wstring windowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// One face for the whole process, made when the first window opens and kept
// to the end, as every window of the process shares it.
HFONT phoneticFont() {
    static const HFONT font = [] {
        HDC screen = GetDC(nullptr);
        const int height = -MulDiv(kPhoneticPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
        return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, L"TOPhonetic");
    }();
    return font;
}

} // namespace

CLookupDlg::CLookupDlg(vocab::DataLocation location)
    : m_location(std::move(location)),
      m_hIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {
    RegisterPhoneticFont();
}

CLookupDlg::~CLookupDlg() {
    if (m_hWnd && IsWindow(m_hWnd)) {
        DestroyWindow(m_hWnd);
    }
}

namespace {

void registerControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

} // namespace

INT_PTR CLookupDlg::DoModal(HWND parent) {
    registerControls();
    m_modal = true;
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MIRAWEN_DIALOG), parent,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

HWND CLookupDlg::Create(HWND parent) {
    registerControls();
    m_modal = false;
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MIRAWEN_DIALOG),
                              parent, DialogProc, reinterpret_cast<LPARAM>(this));
}

void CLookupDlg::RegisterPhoneticFont() {
    // The face is asked for by name, so it must be known to the system; the
    // other windows are told, and need not answer.
    const bool added = m_location.fontFile && AddFontResourceW(m_location.fontFile->c_str()) != 0;
    if (!added) {
        CMessageBox::Show(nullptr, L"没有音标字体文件:" + fromUtf8(vocab::kPhoneticFontFile),
                          kAppTitle, MB_OK);
    }
    PostMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
}

INT_PTR CALLBACK CLookupDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        auto* dlg = reinterpret_cast<CLookupDlg*>(lParam);
        dlg->m_hWnd = hwnd;
        return dlg->OnInitDialog();
    }
    auto* dlg = reinterpret_cast<CLookupDlg*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!dlg) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        dlg->m_hWnd = nullptr;
        return FALSE;
    }
    return dlg->OnMessage(message, wParam, lParam);
}

void CLookupDlg::SetResult(LRESULT result) const {
    SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
}

INT_PTR CLookupDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        case IDC_LINK:
            if (HIWORD(wParam) == BN_CLICKED) {
                m_link.OnClicked();
            }
            return TRUE;
        default:
            return FALSE;
        }
    case WM_DRAWITEM:
        if (wParam == IDC_LINK) {
            m_link.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom != IDC_LIST) {
            return FALSE;
        }
        switch (header->code) {
        case NM_CLICK:
            OnClickList(*reinterpret_cast<NMITEMACTIVATE*>(lParam));
            SetResult(0);
            return TRUE;
        case NM_CUSTOMDRAW:
            SetResult(OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)));
            return TRUE;
        case LVN_GETDISPINFOW:
            OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
            return TRUE;
        default:
            return FALSE;
        }
    }
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam));
    case WM_PAINT:
        return OnPaint();
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(m_hIcon);
    default:
        return FALSE;
    }
}

BOOL CLookupDlg::OnInitDialog() {
    m_list = GetDlgItem(m_hWnd, IDC_LIST);
    m_link.SubclassDlgItem(IDC_LINK, m_hWnd);
    AddAboutToSystemMenu();
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    SendMessageW(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(phoneticFont()), TRUE);
    // The headings are Chinese, like the columns drawn in the dialog font.
    SendMessageW(ListView_GetHeader(m_list), WM_SETFONT,
                 static_cast<WPARAM>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0)), TRUE);
    SendDlgItemMessageW(m_hWnd, IDC_INPUT, WM_SETFONT, reinterpret_cast<WPARAM>(phoneticFont()),
                        TRUE);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = kColumns[i].width;
        column.pszText = const_cast<wchar_t*>(kColumns[i].heading);
        column.iSubItem = static_cast<int>(i);
        SendMessageW(m_list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);

    // What could be read is shown, whatever else failed, and each failure is
    // named with its reason.
    const vocab::LoadResult loaded = m_entries.load(m_location.listFolder);
    m_entries.sort();
    FillList();

    // Centred on the screen, as a dialog without a position of its own is.
    RECT rect;
    GetWindowRect(m_hWnd, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    SetWindowPos(m_hWnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowLoadFailures(loaded);
    return TRUE;
}

void CLookupDlg::FillList() {
    // The text is asked for when a row is drawn: the list holds no copy.
    // Nothing is drawn while the rows go in.
    SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_list, LVM_SETITEMCOUNT, m_entries.size(), LVSICF_NOINVALIDATEALL);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = LPSTR_TEXTCALLBACKW;
        const auto row = SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (int sub = 1; sub < static_cast<int>(kColumns.size()); ++sub) {
            item.iSubItem = sub;
            SendMessageW(m_list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
}

void CLookupDlg::ShowLoadFailures(const vocab::LoadResult& loaded) const {
    for (const vocab::ListFailure& failure : loaded.failures) {
        const std::wstring name = fromUtf8(failure.fileName());
        if (failure.kind == vocab::FailureKind::Missing) {
            CMessageBox::Show(nullptr, L"没有词库文件:" + name, kAppTitle, MB_OK);
        } else {
            CMessageBox::Show(
                nullptr, L"无法读取词库文件:" + name + L"（" + fromUtf8(failure.reason()) + L"）",
                kAppTitle, MB_OK);
        }
    }
}

void CLookupDlg::OnGetDispInfo(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    const auto row = static_cast<std::size_t>(item.iItem);
    if (!(item.mask & LVIF_TEXT) || row >= m_entries.size() || item.cchTextMax <= 0) {
        return;
    }
    const vocab::WordEntry entry = m_entries[row];
    const std::array<std::string_view, 4> fields{entry.word, entry.phonetic, entry.meaning,
                                                 entry.level};
    m_cellText = codec::toUtf16(fields[static_cast<std::size_t>(item.iSubItem) % fields.size()]);
    const std::size_t n =
        std::min(m_cellText.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    std::copy_n(m_cellText.begin(), n, item.pszText);
    item.pszText[n] = L'\0';
}

LRESULT CLookupDlg::OnCustomDraw(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        // Only the transcription is in the phonetic font: the other columns
        // hold Chinese, which that font cannot draw, and no system lends it
        // a face for them unless asked to.
        HFONT font = draw.iSubItem == kPhoneticColumn
                         ? phoneticFont()
                         : reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
        SelectObject(draw.nmcd.hdc, font);
        return CDRF_NEWFONT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void CLookupDlg::OnOK() {
    m_strInput = windowText(GetDlgItem(m_hWnd, IDC_INPUT));
    if (m_strInput.empty()) {
        return;
    }
    for (int row = static_cast<int>(
             SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
         row != -1;) {
        const int next = static_cast<int>(
            SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        ListView_SetItemState(m_list, row, 0, LVIS_SELECTED | LVIS_FOCUSED);
        row = next;
    }

    // The box keeps the text as typed; only the comparison folds it.
    const std::optional<std::string> input = toStoreText(m_strInput);
    if (!input) {
        return;
    }
    const vocab::MatchResult match = vocab::prefixMatch(m_entries, *input);
    if (match.anyLongEnough) {
        SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_list), TRUE);
    }
    for (std::size_t i : match.indices) {
        ListView_SetItemState(m_list, static_cast<int>(i), LVIS_SELECTED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    // Matches come in rising order, so making each one visible in turn ends
    // where making the first and then the last visible does.
    if (!match.indices.empty()) {
        ListView_EnsureVisible(m_list, static_cast<int>(match.indices.front()), FALSE);
        ListView_EnsureVisible(m_list, static_cast<int>(match.indices.back()), FALSE);
    }
}

void CLookupDlg::OnClickList(const NMITEMACTIVATE& click) {
    if (click.iItem < 0 || static_cast<std::size_t>(click.iItem) >= m_entries.size()) {
        return;
    }
    const std::u16string key = codec::toUtf16(m_entries.key(static_cast<std::size_t>(click.iItem)));
    m_strInput.assign(key.begin(), key.end());
    SetDlgItemTextW(m_hWnd, IDC_INPUT, m_strInput.c_str());
}

void CLookupDlg::OnCancel() {
    if (CMessageBox::Show(m_hWnd, L"是否退出?", L"确定", MB_YESNO) != IDYES) {
        return;
    }
    if (m_modal) {
        EndDialog(m_hWnd, IDCANCEL);
    } else {
        DestroyWindow(m_hWnd);
    }
}

void CLookupDlg::AddAboutToSystemMenu() {
    HMENU menu = GetSystemMenu(m_hWnd, FALSE);
    if (!menu) {
        return;
    }
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0) {
        return;
    }
    const std::wstring about(text, static_cast<std::size_t>(length));
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
}

BOOL CLookupDlg::OnSysCommand(UINT nID) {
    if ((nID & 0xFFF0) != IDM_ABOUTBOX) {
        return FALSE; // the system's own commands, close included
    }
    CAboutDlg dlgAbout;
    dlgAbout.DoModal(m_hWnd);
    return TRUE;
}

BOOL CLookupDlg::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        return FALSE;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(m_hWnd, &client);
    DrawIcon(dc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
             (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, m_hIcon);
    EndPaint(m_hWnd, &paint);
    return TRUE;
}
