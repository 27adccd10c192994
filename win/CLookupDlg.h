#pragma once

#include "vocab/DataFolders.h"
#include "vocab/EntryStore.h"
#include "vocab/LoadResult.h"
#include "win/CHyperLinkButton.h"

#include <commctrl.h>
#include <string>
#include <windows.h>

// The lookup window (template 102): the entries of both word lists in a
// report list, searched by the beginning of a transcription.
class CLookupDlg {
public:
    // Registers the phonetic font found at location.fontFile; the lists are
    // read from location.listFolder when the window opens.
    explicit CLookupDlg(vocab::DataLocation location);
    CLookupDlg(const CLookupDlg&) = delete;
    CLookupDlg& operator=(const CLookupDlg&) = delete;
    ~CLookupDlg();

    INT_PTR DoModal(HWND parent = nullptr);
    // The same window without a modal loop of its own, for tests; closing
    // destroys it.
    HWND Create(HWND parent = nullptr);
    HWND GetSafeHwnd() const { return m_hWnd; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog();
    void OnOK();
    void OnCancel();
    BOOL OnSysCommand(UINT nID);
    BOOL OnPaint();
    void OnClickList(const NMITEMACTIVATE& click);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;
    void OnGetDispInfo(NMLVDISPINFOW& info);
    void RegisterPhoneticFont();
    void AddAboutToSystemMenu();
    void FillList();
    void ShowLoadFailures(const vocab::LoadResult& loaded) const;
    void SetResult(LRESULT result) const;

    vocab::DataLocation m_location;
    vocab::EntryStore m_entries;
    CHyperLinkButton m_link;
    HWND m_hWnd = nullptr;
    HWND m_list = nullptr;
    std::wstring m_strInput;
    HICON m_hIcon;
    bool m_modal = false;
    std::u16string m_cellText; // what the list is showing while it asks
};
