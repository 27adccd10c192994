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
#include "win/SapiSpeech.h"
#include "win/Text.h"
#include "win/resource.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr int kPhoneticPoints = 16;
constexpr UINT_PTR kImportTimer = 1;
constexpr UINT kImportPollMs = 50;
constexpr UINT_PTR kInputSubclass = 1;

// The keys that speak: F5, or Ctrl+R for a learner who reads the menu's R.
bool speaksKey(WPARAM key) {
    return key == VK_F5 || (key == 'R' && GetKeyState(VK_CONTROL) < 0);
}

void appendEntry(HMENU menu, UINT id, std::string_view text, bool enabled = true) {
    AppendMenuW(menu, MF_STRING | (enabled ? 0u : MF_GRAYED), id, wide(text).c_str());
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
                           DEFAULT_PITCH | FF_DONTCARE,
                           wide(lookup::text::kPhoneticFontFamily).c_str());
    }();
    return font;
}

} // namespace

std::function<std::unique_ptr<lookup::SpeechEngine>()> CLookupDlg::s_makeSpeech = [] {
    return std::make_unique<SapiSpeech>();
};
std::wstring CLookupDlg::s_settingsKey = L"Software\\Mirawen";
unsigned CLookupDlg::s_progressDelayMs = 500;

CLookupDlg::CLookupDlg(vocab::DataLocation location, std::optional<std::filesystem::path> dir)
    : m_location(std::move(location)), m_dir(std::move(dir)),
      m_hIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {
    RegisterPhoneticFont();
}

CLookupDlg::~CLookupDlg() {
    if (m_hWnd && IsWindow(m_hWnd)) {
        DestroyWindow(m_hWnd);
    }
    m_progress.Destroy();
    m_import.reset(); // cancels, and waits for its thread
    m_speech.reset(); // silences the voice
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

HFONT CLookupDlg::PhoneticFont() const {
    // Without its face the code is shown as typed, in the dialog's font: a
    // face made up for a missing one draws nothing useful, and Wine's even
    // fails on IPA pasted into the box.
    return m_fontAdded ? phoneticFont()
                       : reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
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

    SendMessageW(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(PhoneticFont()), TRUE);
    // The headings are Chinese, like the columns drawn in the dialog font.
    SendMessageW(ListView_GetHeader(m_list), WM_SETFONT,
                 static_cast<WPARAM>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0)), TRUE);
    SendDlgItemMessageW(m_hWnd, IDC_INPUT, WM_SETFONT, reinterpret_cast<WPARAM>(PhoneticFont()),
                        TRUE);
    for (std::size_t i = 0; i < lookup::text::kColumns.size(); ++i) {
        std::wstring heading = wide(lookup::text::kColumns[i].heading);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = lookup::text::kColumns[i].width;
        column.pszText = heading.data();
        column.iSubItem = static_cast<int>(i);
        SendMessageW(m_list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB |
                     // A cut word shows whole over its cell, a row's whole text over the row.
                     LVS_EX_LABELTIP | LVS_EX_INFOTIP);

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
        for (int sub = 1; sub < static_cast<int>(lookup::ColumnCount); ++sub) {
            item.iSubItem = sub;
            SendMessageW(m_list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
}

void CLookupDlg::ShowLoadFailures(const vocab::LoadResult& loaded) const {
    for (const std::string& notice : lookup::listNotices(loaded)) {
        CMessageBox::Show(nullptr, wide(notice), wide(lookup::text::kAppName), MB_OK);
    }
}

void CLookupDlg::OnGetDispInfo(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    const auto row = static_cast<std::size_t>(item.iItem);
    if (!(item.mask & LVIF_TEXT) || row >= m_entries.size() || item.cchTextMax <= 0) {
        return;
    }
    // Cut before it is converted: a megabyte meaning costs nothing to draw.
    m_cellText = lookup::cellText(m_entries, row, static_cast<std::size_t>(item.iSubItem));
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
        HFONT font = draw.iSubItem == static_cast<int>(lookup::Phonetic)
                         ? PhoneticFont()
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
    const lookup::SearchOutcome outcome = lookup::search(m_entries, utf16(m_strInput));
    if (!outcome.act) {
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
    if (outcome.focusList) {
        SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_list), TRUE);
    }
    for (const lookup::RowRange& range : outcome.rows) {
        for (std::size_t row = range.first; row <= range.last; ++row) {
            ListView_SetItemState(m_list, static_cast<int>(row), LVIS_SELECTED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        }
    }
    for (std::size_t row : outcome.scrollTo) {
        ListView_EnsureVisible(m_list, static_cast<int>(row), FALSE);
    }
}

void CLookupDlg::OnClickList(const NMITEMACTIVATE& click) {
    if (click.iItem < 0 || static_cast<std::size_t>(click.iItem) >= m_entries.size()) {
        return;
    }
    m_strInput = wide(lookup::keyText(m_entries, static_cast<std::size_t>(click.iItem)));
    SetDlgItemTextW(m_hWnd, IDC_INPUT, m_strInput.c_str());
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

void CLookupDlg::AddEntriesToSystemMenu() {
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
    appendEntry(menu, IDM_BRITISH, lookup::text::kBritishMenu);
    appendEntry(menu, IDM_AMERICAN, lookup::text::kAmericanMenu);
    appendEntry(menu, IDM_IMPORT, lookup::text::kImportMenu);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());

    // The accent chosen last time, checked.
    wchar_t name[32] = {};
    DWORD size = sizeof name;
    const std::wstring value = wide(lookup::kAccentSetting);
    const bool kept = RegGetValueW(HKEY_CURRENT_USER, s_settingsKey.c_str(), value.c_str(),
                                   RRF_RT_REG_SZ, nullptr, name, &size) == ERROR_SUCCESS;
    SetAccent(lookup::accentNamed(kept ? codec::utf16ToUtf8(utf16(name)) : ""), false);
}

void CLookupDlg::SetAccent(lookup::Accent accent, bool keep) {
    m_accent = accent;
    CheckMenuRadioItem(GetSystemMenu(m_hWnd, FALSE), IDM_BRITISH, IDM_AMERICAN,
                       accent == lookup::Accent::American ? IDM_AMERICAN : IDM_BRITISH,
                       MF_BYCOMMAND);
    if (!keep) {
        return;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, s_settingsKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return; // the choice holds for this run
    }
    const std::wstring name = wide(lookup::accentName(accent));
    RegSetValueExW(key, wide(lookup::kAccentSetting).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

BOOL CLookupDlg::OnSysCommand(UINT nID) {
    switch (nID & 0xFFF0) {
    case IDM_ABOUTBOX: {
        const bool samples =
            lookup::showsSampleLists(m_location.listFolder, vocab::DataEnvironment::fromProcess());
        CAboutDlg dlgAbout(samples ? wide(lookup::text::kSampleLists) : std::wstring());
        dlgAbout.DoModal(m_hWnd);
        return TRUE;
    }
    case IDM_IMPORT:
        OnImport();
        return TRUE;
    case IDM_BRITISH:
        SetAccent(lookup::Accent::British, true);
        return TRUE;
    case IDM_AMERICAN:
        SetAccent(lookup::Accent::American, true);
        return TRUE;
    default:
        return FALSE; // the system's own commands, close included
    }
}

void CLookupDlg::OnImport() {
    if (m_import) {
        return;
    }
    const vocab::DataEnvironment env = vocab::DataEnvironment::fromProcess();
    const std::wstring caption = wide(lookup::text::kImportCaption);
    const std::optional<std::filesystem::path> folder = lookup::importFolder(env);
    if (!folder) {
        CMessageBox::Show(m_hWnd, wide(lookup::noUserFolderNotice()), caption, MB_OK);
        return;
    }
    const std::optional<std::wstring> csv =
        CFileDialog::Open(m_hWnd, wide(lookup::text::kImportChoose),
                          {{wide(lookup::text::kCsvFiles), wide(lookup::text::kCsvPattern)},
                           {wide(lookup::text::kAllFiles), wide(lookup::text::kAllPattern)}});
    if (!csv) {
        return;
    }
    const bool replace = lookup::holdsLists(*folder);
    if (replace && CMessageBox::Show(m_hWnd, wide(lookup::text::kAskReplace), caption,
                                     MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    m_import = std::make_unique<lookup::ImportTask>(
        importer::ImportRequest{std::filesystem::path(*csv), *folder, replace});
    m_importStart = GetTickCount64();
    EnableWindow(m_hWnd, FALSE);
    SetTimer(m_hWnd, kImportTimer, kImportPollMs, nullptr);
}

void CLookupDlg::OnImportTimer() {
    if (!m_import) {
        KillTimer(m_hWnd, kImportTimer);
        return;
    }
    if (m_progress.Cancelled()) {
        m_import->cancel();
    }
    if (!m_import->done()) {
        // A quick import shows no window that would only flash.
        if (!m_progress.IsOpen() && GetTickCount64() - m_importStart >= s_progressDelayMs) {
            m_progress.Create(m_hWnd);
        }
        m_progress.SetProgress(m_import->progress());
        return;
    }
    KillTimer(m_hWnd, kImportTimer);
    const std::unique_ptr<lookup::ImportTask> task = std::move(m_import);
    EnableWindow(m_hWnd, TRUE);
    m_progress.Destroy();
    SetActiveWindow(m_hWnd);
    const importer::ImportReport& report = task->report();
    if (report.status == importer::ImportReport::Status::Stopped) {
        return; // cancelled: the old lists are whole, and the learner knows
    }
    CMessageBox::Show(m_hWnd, wide(lookup::importNotice(report)),
                      wide(lookup::text::kImportCaption), MB_OK);
    if (report.status == importer::ImportReport::Status::Written) {
        ReloadLists();
    }
}

void CLookupDlg::ReloadLists() {
    m_location = vocab::locateData(m_dir, vocab::DataEnvironment::fromProcess());
    m_entries = vocab::EntryStore();
    SendMessageW(m_list, LVM_DELETEALLITEMS, 0, 0);
    const vocab::LoadResult loaded = m_entries.load(m_location.listFolder);
    m_entries.sort();
    FillList();
    InvalidateRect(m_list, nullptr, TRUE);
    ShowLoadFailures(loaded);
}

void CLookupDlg::Speak(const std::optional<lookup::Utterance>& utterance) {
    if (!utterance) {
        return;
    }
    if (!m_speech) {
        m_speech = s_makeSpeech();
        m_speech->onFailure = [this](lookup::SpeechFailure failure) {
            if (const std::optional<std::string> notice = m_speechNotices.notice(failure)) {
                CMessageBox::Show(m_hWnd, wide(*notice), wide(lookup::text::kAppName), MB_OK);
            }
        };
    }
    m_speech->speak(*utterance);
}

void CLookupDlg::SpeakRow(int row) {
    if (row >= 0) {
        Speak(lookup::rowUtterance(m_entries, static_cast<std::size_t>(row), m_accent));
    }
}

void CLookupDlg::SpeakTyped() {
    Speak(lookup::typedUtterance(utf16(windowText(m_input)), m_accent));
}

int CLookupDlg::CurrentRow() const {
    const int focused = ListView_GetNextItem(m_list, -1, LVNI_FOCUSED);
    return focused != -1 ? focused : ListView_GetNextItem(m_list, -1, LVNI_SELECTED);
}

void CLookupDlg::OnListKey(const NMLVKEYDOWN& key) {
    if (speaksKey(key.wVKey)) {
        SpeakRow(CurrentRow());
    } else if (key.wVKey == 'C' && GetKeyState(VK_CONTROL) < 0) {
        CopyRows();
    }
}

void CLookupDlg::OnListMenu(const NMITEMACTIVATE& click) {
    HMENU menu = CreatePopupMenu();
    const bool onRow = click.iItem >= 0 && static_cast<std::size_t>(click.iItem) < m_entries.size();
    appendEntry(menu, ID_SPEAK_ROW, lookup::text::kSpeakMenu, onRow);
    appendEntry(menu, ID_COPY_ROWS, lookup::text::kCopyMenu, ListView_GetSelectedCount(m_list) > 0);
    POINT point = click.ptAction;
    ClientToScreen(m_list, &point);
    const UINT command = CPopupMenu::Track(menu, m_hWnd, point);
    DestroyMenu(menu);
    if (command == ID_SPEAK_ROW) {
        SpeakRow(click.iItem);
    } else if (command == ID_COPY_ROWS) {
        CopyRows();
    }
}

void CLookupDlg::CopyRows() const {
    std::vector<std::size_t> rows;
    for (int row = -1; (row = ListView_GetNextItem(m_list, row, LVNI_SELECTED)) != -1;) {
        rows.push_back(static_cast<std::size_t>(row));
    }
    if (rows.empty()) {
        return;
    }
    // The clipboard's text ends its lines as Windows does.
    std::wstring text;
    for (char16_t c : lookup::copiedText(m_entries, std::move(rows))) {
        if (c == u'\n') {
            text += L'\r';
        }
        text += static_cast<wchar_t>(c);
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (!memory) {
        return;
    }
    std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    if (!OpenClipboard(m_hWnd)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, memory)) {
        GlobalFree(memory);
    }
    CloseClipboard();
}

void CLookupDlg::OnGetInfoTip(NMLVGETINFOTIPW& tip) const {
    if (tip.iItem < 0 || static_cast<std::size_t>(tip.iItem) >= m_entries.size() ||
        tip.cchTextMax <= 1) {
        return;
    }
    // The row's whole text, with its transcription in IPA, cut to the room
    // the tip has.
    std::u16string line = lookup::copiedText(m_entries, {static_cast<std::size_t>(tip.iItem)});
    if (!line.empty() && line.back() == u'\n') {
        line.pop_back();
    }
    const std::size_t n = std::min(line.size(), static_cast<std::size_t>(tip.cchTextMax - 1));
    std::copy_n(line.begin(), n, tip.pszText);
    tip.pszText[n] = L'\0';
}

void CLookupDlg::OnInputChange() {
    const std::wstring text = windowText(m_input);
    if (text == m_boxText) {
        return; // told again (Wine tells twice of an undo)
    }
    // Undoing a conversion brings back what was pasted, which stays.
    const bool undone = text == m_convertedFrom && m_boxText == m_convertedTo;
    m_boxText = text;
    if (undone) {
        return;
    }
    const std::optional<std::u16string> keys = lookup::keysOfTypedIpa(utf16(text));
    if (!keys || utf16(text) == *keys) {
        return;
    }
    m_convertedFrom = text;
    m_convertedTo = wide(*keys);
    // One step the edit can undo: the whole text replaced by its keys.
    SendMessageW(m_input, EM_SETSEL, 0, -1);
    SendMessageW(m_input, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(m_convertedTo.c_str()));
    m_boxText = m_convertedTo; // an edit need not tell of a change made while it tells of one
}

void CLookupDlg::OnChartClicked() {
    POINT point;
    RECT client;
    if (!GetCursorPos(&point) || !ScreenToClient(m_chart, &point) ||
        !GetClientRect(m_chart, &client)) {
        return;
    }
    const std::optional<char16_t> key = lookup::chartKeyAt(point.x, client.right);
    if (!key) {
        return;
    }
    const wchar_t typed[] = {static_cast<wchar_t>(*key), L'\0'};
    SendMessageW(m_input, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(typed));
    SetFocus(m_input); // not WM_NEXTDLGCTL, which would select the whole text
}

void CLookupDlg::AddChartTip() {
    m_chartTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!m_chartTip) {
        return;
    }
    std::wstring tipText = wide(lookup::text::kChartTip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(m_chart);
    tool.lpszText = tipText.data();
    SendMessageW(m_chartTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CLookupDlg::OnInputMenu(POINT point) {
    if (point.x == -1 && point.y == -1) { // from the keyboard: under the box
        RECT box;
        GetWindowRect(m_input, &box);
        point = {box.left, box.bottom};
    }
    DWORD first = 0, last = 0;
    SendMessageW(m_input, EM_GETSEL, reinterpret_cast<WPARAM>(&first),
                 reinterpret_cast<LPARAM>(&last));
    const bool selection = first != last;
    HMENU menu = CreatePopupMenu();
    appendEntry(menu, ID_SPEAK_TYPED, lookup::text::kSpeakTypedMenu,
                lookup::typedUtterance(utf16(windowText(m_input)), m_accent).has_value());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    appendEntry(menu, ID_EDIT_UNDO, lookup::text::kUndoMenu,
                SendMessageW(m_input, EM_CANUNDO, 0, 0) != 0);
    appendEntry(menu, ID_EDIT_CUT, lookup::text::kCutMenu, selection);
    appendEntry(menu, ID_EDIT_COPY, lookup::text::kCopyMenu, selection);
    appendEntry(menu, ID_EDIT_PASTE, lookup::text::kPasteMenu,
                IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE);
    appendEntry(menu, ID_EDIT_SELECT_ALL, lookup::text::kSelectAllMenu,
                GetWindowTextLengthW(m_input) > 0);
    const UINT command = CPopupMenu::Track(menu, m_hWnd, point);
    DestroyMenu(menu);
    switch (command) {
    case ID_SPEAK_TYPED:
        SpeakTyped();
        break;
    case ID_EDIT_UNDO:
        SendMessageW(m_input, WM_UNDO, 0, 0);
        break;
    case ID_EDIT_CUT:
        SendMessageW(m_input, WM_CUT, 0, 0);
        break;
    case ID_EDIT_COPY:
        SendMessageW(m_input, WM_COPY, 0, 0);
        break;
    case ID_EDIT_PASTE:
        SendMessageW(m_input, WM_PASTE, 0, 0);
        break;
    case ID_EDIT_SELECT_ALL:
        SendMessageW(m_input, EM_SETSEL, 0, -1);
        break;
    default:
        break;
    }
}

LRESULT CALLBACK CLookupDlg::InputProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
    auto* dlg = reinterpret_cast<CLookupDlg*>(self);
    switch (message) {
    case WM_KEYDOWN:
        if (speaksKey(wParam)) {
            dlg->SpeakTyped();
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == 'R' - '@') { // Ctrl+R's character: spoken above, not typed
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        dlg->OnInputMenu({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
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
