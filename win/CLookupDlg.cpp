#include "win/CLookupDlg.h"

#include "lookup/Cells.h"
#include "lookup/Notices.h"
#include "lookup/Search.h"
#include "lookup/Texts.h"
#include "lookup/TypedText.h"
#include "win/CAboutDlg.h"
#include "win/CFileDialog.h"
#include "win/CMessageBox.h"
#include "win/CPopupMenu.h"
#include "win/CentreWindow.h"
#include "win/SapiSpeech.h"
#include "win/Text.h"
#include "win/resource.h"

#include <algorithm>
#include <optional>
#include <vector>
#include <windowsx.h>

std::function<std::unique_ptr<lookup::SpeechEngine>()> CLookupDlg::s_makeSpeech = [] {
    return std::make_unique<SapiSpeech>();
};
std::wstring CLookupDlg::s_settingsKey = L"Software\\Mirawen";
unsigned CLookupDlg::s_progressDelayMs = 500;

CLookupDlg::CLookupDlg(vocab::DataLocation location, std::optional<std::filesystem::path> dir)
    : m_location(std::move(location)), m_dir(std::move(dir)),
      m_hIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {
    m_lists.begin(m_location.listFolder);
    RegisterPhoneticFont();
}

CLookupDlg::~CLookupDlg() {
    if (m_hWnd && IsWindow(m_hWnd)) {
        DestroyWindow(m_hWnd);
    }
    m_progress.Destroy();
    m_import.reset(); // cancels, and waits for its thread
    m_speech.reset(); // silences the voice
    ReleaseScaled();
}

namespace {

void registerControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
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
    m_fontAdded = added;
    if (const std::optional<std::string> notice = lookup::fontNotice(added)) {
        CMessageBox::Show(nullptr, wide(*notice), wide(lookup::text::kAppName), MB_OK);
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
        return OnCommand(wParam);
    case WM_DRAWITEM:
        if (wParam == IDC_LINK) {
            m_link.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_SETCURSOR:
        // The chart is a keyboard: a hand says its symbols can be clicked.
        if (reinterpret_cast<HWND>(wParam) == m_chart && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            SetResult(TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_TIMER:
        if (wParam == kImportTimer) {
            OnImportTimer();
            return TRUE;
        }
        return FALSE;
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam));
    case WM_PAINT:
        return OnPaint();
    case WM_CONTEXTMENU:
        // The list's menu from the keyboard (Shift+F10, the menu key), for
        // its current row; a click's came as NM_RCLICK.
        if (reinterpret_cast<HWND>(wParam) == m_list && GET_X_LPARAM(lParam) == -1 &&
            GET_Y_LPARAM(lParam) == -1) {
            NMITEMACTIVATE atRow{};
            atRow.iItem = CurrentRow();
            RECT row{};
            if (atRow.iItem >= 0 && ListView_GetItemRect(m_list, atRow.iItem, &row, LVIR_LABEL)) {
                atRow.ptAction = {row.left, row.bottom};
            }
            OnListMenu(atRow);
            return TRUE;
        }
        return FALSE;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        SetResult(0);
        return TRUE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(m_hIcon);
    case WM_DESTROY:
        KillTimer(m_hWnd, kImportTimer);
        RemoveWindowSubclass(m_input, InputProc, kInputSubclass);
        if (m_speech) {
            m_speech->stop();
        }
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL CLookupDlg::OnCommand(WPARAM wParam) {
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
    case IDC_INPUT:
        if (HIWORD(wParam) == EN_CHANGE) {
            OnInputChange();
        }
        return TRUE;
    case IDC_CHART:
        if (HIWORD(wParam) == STN_CLICKED) {
            OnChartClicked();
        }
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CLookupDlg::OnNotify(NMHDR& header) {
    if (header.idFrom != IDC_LIST) {
        return FALSE;
    }
    switch (header.code) {
    case NM_CLICK:
        OnClickList(reinterpret_cast<NMITEMACTIVATE&>(header));
        SetResult(0);
        return TRUE;
    case NM_DBLCLK:
        SpeakRow(reinterpret_cast<NMITEMACTIVATE&>(header).iItem);
        SetResult(0);
        return TRUE;
    case NM_RCLICK:
        OnListMenu(reinterpret_cast<NMITEMACTIVATE&>(header));
        SetResult(1); // the menu was shown
        return TRUE;
    case LVN_KEYDOWN:
        OnListKey(reinterpret_cast<NMLVKEYDOWN&>(header));
        SetResult(0);
        return TRUE;
    case NM_CUSTOMDRAW:
        SetResult(OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header)));
        return TRUE;
    case LVN_GETDISPINFOW:
        OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
        return TRUE;
    case LVN_GETINFOTIPW:
        OnGetInfoTip(reinterpret_cast<NMLVGETINFOTIPW&>(header));
        return TRUE;
    case LVN_ODFINDITEMW:
        SetResult(OnFindItem(reinterpret_cast<const NMLVFINDITEMW&>(header)));
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CLookupDlg::OnInitDialog() {
    m_list = GetDlgItem(m_hWnd, IDC_LIST);
    m_input = GetDlgItem(m_hWnd, IDC_INPUT);
    m_chart = GetDlgItem(m_hWnd, IDC_CHART);
    m_link.SubclassDlgItem(IDC_LINK, m_hWnd);
    SetWindowSubclass(m_input, InputProc, kInputSubclass, reinterpret_cast<DWORD_PTR>(this));
    AddEntriesToSystemMenu();
    AddChartTip();
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    ScaleToWindow();
    for (std::size_t i = 0; i < lookup::text::kColumns.size(); ++i) {
        std::wstring heading = wide(lookup::text::kColumns[i].heading);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = DefaultColumnWidth(i, m_dpi);
        column.pszText = heading.data();
        column.iSubItem = static_cast<int>(i);
        SendMessageW(m_list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB |
                     // A cut word shows whole over its cell, a row's whole text over the row.
                     LVS_EX_LABELTIP | LVS_EX_INFOTIP);

    const vocab::LoadResult loaded = LoadLists();

    CentreWindow(m_hWnd, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    ShowLoadFailures(loaded, nullptr);
    return TRUE;
}

vocab::LoadResult CLookupDlg::LoadLists() {
    // A virtual list: its rows are the store's entries by index, their text
    // asked for as they are drawn, so a million entries cost no more than a
    // few thousand. No row is left to ask for an entry of the old store, nor
    // selected or current: those belonged to it.
    ListView_SetItemCountEx(m_list, 0, 0);
    m_entries = vocab::EntryStore();
    lookup::LoadedLists lists = m_lists.take(m_location.listFolder);
    m_entries = std::move(lists.entries);
    ListView_SetItemCountEx(m_list, static_cast<int>(m_entries.size()), 0);
    return lists.result;
}

void CLookupDlg::ShowLoadFailures(const vocab::LoadResult& loaded, HWND owner) const {
    // Each failure named with its reason.
    for (const std::string& notice : lookup::listNotices(loaded)) {
        CMessageBox::Show(owner, wide(notice), wide(lookup::text::kAppName), MB_OK);
    }
}

void CLookupDlg::OnGetDispInfo(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    const auto row = static_cast<std::size_t>(item.iItem);
    if (!(item.mask & LVIF_TEXT) || row >= m_entries.size() || item.cchTextMax <= 0) {
        return;
    }
    // Cut before it is converted: a megabyte meaning costs nothing to draw.
    const std::u16string cell =
        lookup::cellText(m_entries, row, static_cast<std::size_t>(item.iSubItem));
    const std::size_t n = std::min(cell.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    std::copy_n(cell.begin(), n, item.pszText);
    item.pszText[n] = L'\0';
}

LRESULT CLookupDlg::OnFindItem(const NMLVFINDITEMW& find) const {
    // Letters typed on the list go to the word they begin, as in a list
    // that holds its rows.
    const LVFINDINFOW& info = find.lvfi;
    if (!(info.flags & (LVFI_STRING | LVFI_PARTIAL)) || !info.psz) {
        return -1;
    }
    const std::optional<std::size_t> row = lookup::rowOfWord(
        m_entries, utf16(info.psz), static_cast<std::size_t>(std::max(find.iStart, 0)),
        (info.flags & LVFI_PARTIAL) != 0, (info.flags & LVFI_WRAP) != 0);
    return row ? static_cast<LRESULT>(*row) : -1;
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
        HFONT font =
            draw.iSubItem == static_cast<int>(lookup::Phonetic) ? PhoneticFont() : DialogFont();
        SelectObject(draw.nmcd.hdc, font);
        return CDRF_NEWFONT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void CLookupDlg::OnOK() {
    m_strInput = windowText(m_input);
    const lookup::SearchOutcome outcome = lookup::search(m_entries, utf16(m_strInput));
    if (!outcome.act) {
        return;
    }
    // The old selection goes, and the current row stops being current if it
    // was selected or is selected now: no row of the new selection is current.
    const int current = ListView_GetNextItem(m_list, -1, LVNI_FOCUSED);
    const bool stays =
        current != -1 && ListView_GetItemState(m_list, current, LVIS_SELECTED) == 0 &&
        std::none_of(outcome.rows.begin(), outcome.rows.end(), [&](const lookup::RowRange& range) {
            return static_cast<std::size_t>(current) >= range.first &&
                   static_cast<std::size_t>(current) <= range.last;
        });
    // Nothing is drawn while tens of thousands of rows change.
    SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
    ClearSelection(stays ? current : -1);
    if (outcome.focusList) {
        SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_list), TRUE);
    }
    // The list tells of every row it selects, twice; the window does
    // nothing with that news, and a dialog takes longer to pass it on than
    // the list takes to select the row. So while they change, the list's
    // news of its rows stops short of the dialog.
    m_dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RowNewsProc)));
    for (const lookup::RowRange& range : outcome.rows) {
        for (std::size_t row = range.first; row <= range.last; ++row) {
            ListView_SetItemState(m_list, static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_dialogProc));
    SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
    for (std::size_t row : outcome.scrollTo) {
        ListView_EnsureVisible(m_list, static_cast<int>(row), FALSE);
    }
    InvalidateRect(m_list, nullptr, FALSE);
}

LRESULT CALLBACK CLookupDlg::RowNewsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* dlg = reinterpret_cast<const CLookupDlg*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (message == WM_NOTIFY) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom == dlg->m_list &&
            (header.code == LVN_ITEMCHANGING || header.code == LVN_ITEMCHANGED)) {
            return 0; // the change may go ahead
        }
    }
    return CallWindowProcW(dlg->m_dialogProc, hwnd, message, wParam, lParam);
}

void CLookupDlg::ClearSelection(int current) {
    // Row by row, the list would tell this window of every row it clears,
    // which for tens of thousands takes seconds. Emptied and filled again
    // it clears them all at once; what it showed is then put back: the rows
    // in view, the current row and the anchor of a Shift+click.
    const int top = ListView_GetTopIndex(m_list);
    const int left = GetScrollPos(m_list, SB_HORZ);
    const int anchor = ListView_GetSelectionMark(m_list);
    ListView_SetItemCountEx(m_list, 0, LVSICF_NOSCROLL);
    ListView_SetItemCountEx(m_list, static_cast<int>(m_entries.size()), LVSICF_NOSCROLL);
    // Scrolled by whole rows: a row's height times the rows to go.
    RECT row;
    const int rows = top - ListView_GetTopIndex(m_list);
    if (rows != 0 && ListView_GetItemRect(m_list, 0, &row, LVIR_BOUNDS)) {
        ListView_Scroll(m_list, 0, rows * (row.bottom - row.top));
    }
    if (const int pixels = left - GetScrollPos(m_list, SB_HORZ); pixels != 0) {
        ListView_Scroll(m_list, pixels, 0);
    }
    if (current != -1) {
        ListView_SetItemState(m_list, current, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    ListView_SetSelectionMark(m_list, anchor);
}

void CLookupDlg::OnClickList(const NMITEMACTIVATE& click) {
    if (click.iItem < 0 || static_cast<std::size_t>(click.iItem) >= m_entries.size()) {
        return;
    }
    m_strInput = wide(lookup::keyText(m_entries, static_cast<std::size_t>(click.iItem)));
    SetWindowTextW(m_input, m_strInput.c_str());
}

void CLookupDlg::OnCancel() {
    if (CMessageBox::Show(m_hWnd, wide(lookup::text::kAskExit), wide(lookup::text::kOk),
                          MB_YESNO) != IDYES) {
        return;
    }
    if (m_modal) {
        EndDialog(m_hWnd, IDCANCEL);
    } else {
        DestroyWindow(m_hWnd);
    }
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
