#include "win/CLookupDlg.h"

// The window's commands, and the menus and keys that reach them: speech,
// copying, the box's IPA, the chart, the import and the system menu.

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

constexpr UINT kImportPollMs = 50;

// The keys that speak: F5, or Ctrl+R for a learner who reads the menu's R.
bool speaksKey(WPARAM key) {
    return key == VK_F5 || (key == 'R' && GetKeyState(VK_CONTROL) < 0);
}

void appendEntry(HMENU menu, UINT id, std::string_view text, bool enabled = true) {
    AppendMenuW(menu, MF_STRING | (enabled ? 0u : MF_GRAYED), id, wide(text).c_str());
}

} // namespace

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
    const std::optional<std::filesystem::path> folder = vocab::userListFolder(env);
    if (!folder) {
        CMessageBox::Show(m_hWnd, wide(lookup::text::kNoUserFolder), caption, MB_OK);
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
    // Cancelled: no notice, and the old lists are whole.
    const lookup::ImportEnd end =
        lookup::importEnded(task->report(), m_dir, vocab::DataEnvironment::fromProcess());
    if (end.notice) {
        CMessageBox::Show(m_hWnd, wide(*end.notice), wide(lookup::text::kImportCaption), MB_OK);
    }
    if (end.reload) {
        m_location = *end.reload;
        ShowLoadFailures(LoadLists(), m_hWnd);
    }
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
    const std::optional<std::u16string> keys = m_ipaBox.edited(utf16(windowText(m_input)));
    if (!keys) {
        return;
    }
    // One step the edit can undo: the whole text replaced by its keys.
    const std::wstring shown = wide(*keys);
    SendMessageW(m_input, EM_SETSEL, 0, -1);
    SendMessageW(m_input, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(shown.c_str()));
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
    // Owned by the window, which destroys it with itself.
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tip) {
        return;
    }
    std::wstring tipText = wide(lookup::text::kChartTip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(m_chart);
    tool.lpszText = tipText.data();
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
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
    // The edit entries, each done by the box's own message.
    struct Edit {
        UINT id;
        std::string_view text;
        bool enabled;
        UINT message;
        LPARAM lParam;
    };
    const Edit edits[] = {
        {ID_EDIT_UNDO, lookup::text::kUndoMenu, SendMessageW(m_input, EM_CANUNDO, 0, 0) != 0,
         WM_UNDO, 0},
        {ID_EDIT_CUT, lookup::text::kCutMenu, selection, WM_CUT, 0},
        {ID_EDIT_COPY, lookup::text::kCopyMenu, selection, WM_COPY, 0},
        {ID_EDIT_PASTE, lookup::text::kPasteMenu,
         IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE, WM_PASTE, 0},
        {ID_EDIT_SELECT_ALL, lookup::text::kSelectAllMenu, GetWindowTextLengthW(m_input) > 0,
         EM_SETSEL, -1},
    };
    for (const Edit& edit : edits) {
        appendEntry(menu, edit.id, edit.text, edit.enabled);
    }
    const UINT command = CPopupMenu::Track(menu, m_hWnd, point);
    DestroyMenu(menu);
    if (command == ID_SPEAK_TYPED) {
        SpeakTyped();
    }
    for (const Edit& edit : edits) {
        if (edit.id == command) {
            SendMessageW(m_input, edit.message, 0, edit.lParam);
        }
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
