#pragma once

#include "lookup/ListsLoad.h"
#include "lookup/Speech.h"
#include "lookup/TypedText.h"
#include "lookup/WindowImport.h"
#include "vocab/DataFolders.h"
#include "vocab/EntryStore.h"
#include "vocab/LoadResult.h"
#include "win/CHyperLinkButton.h"
#include "win/CImportProgress.h"

#include <commctrl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <windows.h>

// The lookup window (template 102): the entries of both word lists in a
// report list, searched by the beginning of a transcription.
class CLookupDlg {
public:
    // Registers the phonetic font found at location.fontFile and begins
    // reading the lists of location.listFolder, which the window opens with.
    // dir is the folder the window was started with, by which the lists are
    // found again after an import.
    explicit CLookupDlg(vocab::DataLocation location,
                        std::optional<std::filesystem::path> dir = std::nullopt);
    CLookupDlg(const CLookupDlg&) = delete;
    CLookupDlg& operator=(const CLookupDlg&) = delete;
    ~CLookupDlg();

    INT_PTR DoModal(HWND parent = nullptr);
    // The same window without a modal loop of its own, for tests; closing
    // destroys it.
    HWND Create(HWND parent = nullptr);
    HWND GetSafeHwnd() const { return m_hWnd; }

    // For tests: the speech engine each window makes (SAPI's), the registry
    // key under HKEY_CURRENT_USER that keeps the accent, and how long an
    // import runs before its progress shows.
    static std::function<std::unique_ptr<lookup::SpeechEngine>()> s_makeSpeech;
    static std::wstring s_settingsKey;
    static unsigned s_progressDelayMs;

private:
    // The timer that asks a running import how far it is, and the box's
    // subclass, which passes on the keys that speak.
    static constexpr UINT_PTR kImportTimer = 1;
    static constexpr UINT_PTR kInputSubclass = 1;
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The dialog's window procedure while OK selects rows.
    static LRESULT CALLBACK RowNewsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK InputProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnCommand(WPARAM wParam);
    BOOL OnNotify(NMHDR& header);
    BOOL OnInitDialog();
    void OnOK();
    // No row selected, and none current but current (-1: none).
    void ClearSelection(int current);
    void OnCancel();
    BOOL OnSysCommand(UINT nID);
    BOOL OnPaint();
    void OnClickList(const NMITEMACTIVATE& click);
    void OnListKey(const NMLVKEYDOWN& key);
    void OnListMenu(const NMITEMACTIVATE& click);
    void OnInputChange();
    void OnInputMenu(POINT point);
    void OnChartClicked();
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;
    void OnGetDispInfo(NMLVDISPINFOW& info);
    LRESULT OnFindItem(const NMLVFINDITEMW& find) const;
    void OnGetInfoTip(NMLVGETINFOTIPW& tip) const;
    void RegisterPhoneticFont();

    // The window at its screen's scale: the phonetic font, the column widths
    // and the key chart made for its DPI, and made again, with the layout and
    // the dialog's font, when it moves to a screen of another.
    void ScaleToWindow();
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    // Column i's own width at dpi.
    static int DefaultColumnWidth(std::size_t i, UINT dpi);
    void SetScaledFonts();
    void SetChartPicture();
    void ReleaseScaled();
    HFONT PhoneticFont() const;
    HFONT DialogFont() const;
    void AddEntriesToSystemMenu();
    void AddChartTip();
    // Reads the lists from m_location into the store and the list.
    vocab::LoadResult LoadLists();
    void ShowLoadFailures(const vocab::LoadResult& loaded, HWND owner) const;
    void SetResult(LRESULT result) const;

    // Importing, polled by a timer so that the window keeps drawing.
    void OnImport();
    void OnImportTimer();

    // Speech and copying.
    void Speak(const std::optional<lookup::Utterance>& utterance);
    void SpeakRow(int row);
    void SpeakTyped();
    void SetAccent(lookup::Accent accent, bool keep);
    int CurrentRow() const;
    void CopyRows() const;

    vocab::DataLocation m_location;
    std::optional<std::filesystem::path> m_dir;
    lookup::ListsLoad m_lists;
    vocab::EntryStore m_entries;
    CHyperLinkButton m_link;
    HWND m_hWnd = nullptr;
    HWND m_list = nullptr;
    HWND m_input = nullptr;
    HWND m_chart = nullptr;
    std::wstring m_strInput;
    HICON m_hIcon;
    WNDPROC m_dialogProc = nullptr; // the dialog's own, while RowNewsProc stands in
    bool m_modal = false;
    bool m_fontAdded = false;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    // Made for m_dpi, and owned: the dialog's font only once the DPI changed
    // (until then the template's, which the dialog owns).
    HFONT m_phoneticFont = nullptr;
    HFONT m_dialogFont = nullptr;
    HBITMAP m_chartPicture = nullptr;

    std::unique_ptr<lookup::ImportTask> m_import;
    ULONGLONG m_importStart = 0;
    CImportProgress m_progress;

    std::unique_ptr<lookup::SpeechEngine> m_speech;
    lookup::SpeechNotices m_speechNotices;
    lookup::Accent m_accent = lookup::Accent::British;

    lookup::TypedIpaBox m_ipaBox; // IPA typed into the box shown as its keys
};
