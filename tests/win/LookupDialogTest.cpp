#include "support/TempDir.h"
#include "win/CHyperLinkButton.h"
#include "win/CLookupApp.h"
#include "win/CLookupDlg.h"
#include "win/CMessageBox.h"
#include "win/resource.h"

#include "mirawen/Version.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path programFolder() {
    std::wstring self(MAX_PATH, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    return fs::path(self).parent_path();
}

std::wstring text(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

std::wstring cell(HWND list, int row, int column) {
    wchar_t buffer[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

// The key of row i of a band: two characters that no fold or removal
// touches, in ascending order.
std::string key(char band, int i) {
    const char* digits = "12345689";
    return {band, digits[i / 8], digits[i % 8]};
}

// Rows keyed a11.. (30, Band 4), then b11.. (25) and c11.. (30, Band 6), with
// Chinese meanings.
struct Lists {
    TempDir dir;
    explicit Lists(const char* band6 = "words") {
        std::string band4, words;
        for (int i = 0; i < 30; ++i) {
            band4 += key('a', i) + " [" + key('a', i) + "] n. \xBC\xD7\r\n"; // 甲
            words += key('c', i) + " [" + key('c', i) + "] n. \xB1\xFB\n";   // 丙
            if (i < 25) {
                words += key('b', i) + " [" + key('b', i) + "] n. \xD2\xD2\n"; // 乙
            }
        }
        dir.write("大学四级.txt", band4);
        if (std::string_view(band6) == "words") {
            dir.write("大学六级.txt", words);
        } else if (std::string_view(band6) == "folder") {
            fs::create_directory(dir.path() / fs::u8path("大学六级.txt"));
        }
    }
};

// Lets the window handle what was posted to it.
void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The lookup window over lists, open without a modal loop of its own.
struct Window {
    CLookupDlg dlg;
    HWND hwnd, list, input;
    explicit Window(const Lists& lists, bool font = true)
        : dlg(vocab::DataLocation{lists.dir.path(),
                                  font ? std::optional(programFolder() / "TOPhonetic.ttf")
                                       : std::nullopt}),
          hwnd(dlg.Create()), list(GetDlgItem(hwnd, IDC_LIST)), input(GetDlgItem(hwnd, IDC_INPUT)) {
    }
    void command(int id) const { SendMessageW(hwnd, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    std::vector<int> selected() const {
        std::vector<int> rows;
        for (int row = -1; (row = ListView_GetNextItem(list, row, LVNI_SELECTED)) != -1;) {
            rows.push_back(row);
            EXPECT_FALSE(ListView_GetItemState(list, row, LVIS_FOCUSED)) << row;
        }
        return rows;
    }
    void click(int row) const {
        NMITEMACTIVATE click{};
        click.hdr = {list, IDC_LIST, static_cast<UINT>(NM_CLICK)};
        click.iItem = row;
        SendMessageW(hwnd, WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&click));
    }
};

std::vector<int> range(int first, int last) {
    std::vector<int> rows;
    for (int i = first; i <= last; ++i) {
        rows.push_back(i);
    }
    return rows;
}

TEST(LookupDialog, StartsWithWhatLoadedAndNamesWhatDidNot) {
    // What was read is shown; the notices (the lookup layer's texts) come
    // first, in order.
    {
        Lists lists("folder");
        CMessageBox::setNextAnswer(IDOK);
        CMessageBox::setNextAnswer(IDOK);
        Window window(lists, false);
        EXPECT_EQ(CMessageBox::answered(),
                  (std::vector<std::wstring>{
                      L"Mirawen|没有音标字体文件:TOPhonetic.ttf|ok",
                      L"Mirawen|无法读取词库文件:大学六级.txt（Is a directory）|ok"}));
        EXPECT_EQ(ListView_GetItemCount(window.list), 30);
    }

    // The template's size, the columns, and the list's looks.
    Lists lists;
    Window window(lists);
    EXPECT_TRUE(CMessageBox::answered().empty());
    EXPECT_EQ(ListView_GetItemCount(window.list), 85);
    RECT units{0, 0, 341, 374}, client;
    MapDialogRect(window.hwnd, &units);
    GetClientRect(window.hwnd, &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
    EXPECT_EQ(text(window.hwnd), L"Mirawen 1.0");

    // The version record: the project's version, in Chinese (PRC) and UTF-16.
    HRSRC version = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    ASSERT_NE(version, nullptr);
    const void* record = LockResource(LoadResource(nullptr, version));
    void* value = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(record, L"\\StringFileInfo\\080404b0\\FileVersion", &value, &size));
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), L"" MIRAWEN_VERSION);
    const int widths[] = {120, 120, 260, 50};
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(ListView_GetColumnWidth(window.list, column), widths[column]);
    }
    EXPECT_EQ(ListView_GetExtendedListViewStyle(window.list), 0x131u);
    EXPECT_EQ(cell(window.list, 30, 0) + cell(window.list, 30, 1) + cell(window.list, 30, 2) +
                  cell(window.list, 30, 3),
              L"b11b11n. 乙⑥");

    // The transcription in the phonetic face, the Chinese columns in the
    // dialog's, with no help from font linking.
    HDC dc = CreateCompatibleDC(nullptr);
    for (int column = 0; column < 4; ++column) {
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr = {window.list, IDC_LIST, static_cast<UINT>(NM_CUSTOMDRAW)};
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
        draw.nmcd.hdc = dc;
        draw.iSubItem = column;
        SendMessageW(window.hwnd, WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&draw));
        EXPECT_EQ(GetWindowLongPtrW(window.hwnd, DWLP_MSGRESULT), CDRF_NEWFONT);
        LOGFONTW font{};
        GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
        EXPECT_STREQ(font.lfFaceName, column == 1 ? L"TOPhonetic" : L"宋体") << column;
    }
    DeleteDC(dc);
}

TEST(LookupDialog, OkSelectsAndScrollsClickCopiesTheKey) {
    Lists lists;
    Window window(lists);
    const int page = ListView_GetCountPerPage(window.list);
    ASSERT_GT(page, 5);
    ASSERT_LT(page, 30);
    const struct {
        const wchar_t* input;
        std::vector<int> rows;
        int top; // -1: as it was
        bool listFocused;
    } cases[] = {
        {L"b2", range(38, 45), 46 - page, true}, // the last match shown, with those above it
        {L"a1", range(0, 7), 0, true},
        {L"b", {30}, 31 - page, true}, // one byte: the first match only
        // A lone surrogate is searched, as U+FFFD: it clears, and its four
        // GB18030 bytes are longer than every key here.
        {L"\xD800", {}, -1, false},
        {L"b111", {}, -1, false}, // longer than every key
    };
    for (const auto& c : cases) {
        const int top = ListView_GetTopIndex(window.list);
        SetFocus(window.input);
        SetWindowTextW(window.input, c.input);
        window.command(IDOK);
        EXPECT_EQ(window.selected(), c.rows) << c.input;
        EXPECT_EQ(ListView_GetTopIndex(window.list), c.top == -1 ? top : c.top) << c.input;
        EXPECT_EQ(GetFocus(), c.listFocused ? window.list : window.input) << c.input;
        EXPECT_EQ(text(window.input), c.input);
    }

    // An empty box keeps the selection; a click copies the row's key, and a
    // click on no row changes nothing.
    SetWindowTextW(window.input, L"b1");
    window.command(IDOK);
    SetWindowTextW(window.input, L"");
    window.command(IDOK);
    EXPECT_EQ(window.selected(), range(30, 37));
    window.click(57);
    EXPECT_EQ(text(window.input), L"c13");
    window.click(-1);
    EXPECT_EQ(text(window.input), L"c13");
}

// Notes each dialog that opens over the lookup window, with its texts, and
// closes it with OK.
HHOOK g_hook;
std::vector<std::wstring> g_opened;

LRESULT CALLBACK onActivate(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        auto* box = reinterpret_cast<HWND>(wParam);
        if (GetWindow(box, GW_OWNER)) {
            std::wstring seen = text(box);
            for (HWND child = GetWindow(box, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
                    seen += L"|" + text(child);
                }
            }
            g_opened.push_back(seen);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST(LookupDialog, SystemMenuAboutAndClosing) {
    Lists lists;
    Window window(lists);
    HMENU menu = GetSystemMenu(window.hwnd, FALSE);
    const int count = GetMenuItemCount(menu);
    wchar_t entry[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(count - 1), entry, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(entry), L"关于 Mirawen(&A)...");
    EXPECT_EQ(GetMenuItemID(menu, count - 1), UINT{IDM_ABOUTBOX});
    EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR,
              UINT{MF_SEPARATOR});

    SetWindowTextW(window.input, L"b2");
    window.command(IDOK);
    g_hook = SetWindowsHookExW(WH_CBT, onActivate, nullptr, GetCurrentThreadId());
    SendMessageW(window.hwnd, WM_SYSCOMMAND, IDM_ABOUTBOX | 0xF, 0); // low bits do not count
    UnhookWindowsHookEx(g_hook);
    EXPECT_EQ(g_opened, std::vector<std::wstring>{L"关于 Mirawen|Mirawen 1.0 版|Copyright (C) 2026 "
                                                  L"Mirawen|确定|mirawen.example.org"});
    EXPECT_EQ(text(window.input), L"b2");
    EXPECT_EQ(window.selected(), range(38, 45));

    // Closing asks; No leaves the window as it was, Yes closes it.
    CMessageBox::setNextAnswer(IDNO);
    SendMessageW(window.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    pump(); // the close command comes back as a posted Exit
    EXPECT_TRUE(IsWindow(window.hwnd));
    EXPECT_EQ(window.selected(), range(38, 45));
    CMessageBox::setNextAnswer(IDYES);
    window.command(IDCANCEL);
    EXPECT_FALSE(IsWindow(window.hwnd));
    EXPECT_EQ(CMessageBox::answered(), (std::vector<std::wstring>{L"确定|是否退出?|yesno|owned",
                                                                  L"确定|是否退出?|yesno|owned"}));
}

TEST(LookupDialog, LinkOpensWebAddressesOnClickAndEnterRelease) {
    const struct {
        const wchar_t* caption;
        const wchar_t* address; // nullptr: refused
    } addresses[] = {
        {L"mirawen.example.org", L"http://mirawen.example.org"},
        {L"HTTPS://a.example/x?y#z", L"HTTPS://a.example/x?y#z"},
        {L"a.example:8080/x", nullptr}, // a scheme of its own
        {L"file:///C:/Windows/notepad.exe", nullptr},
        {L"javascript:alert(1)", nullptr},
        {L"http:///x", nullptr},
        {L"a.example \"x", nullptr},
        {L"C:\\Windows", nullptr},
    };
    for (const auto& a : addresses) {
        EXPECT_EQ(CHyperLinkButton::WebAddress(a.caption),
                  a.address ? std::optional<std::wstring>(a.address) : std::nullopt)
            << testing::PrintToString(std::wstring(a.caption));
    }

    Lists lists;
    Window window(lists);
    HWND link = GetDlgItem(window.hwnd, IDC_LINK);
    EXPECT_EQ(GetWindowLongPtrW(link, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    std::vector<std::wstring> opened;
    const auto open = CHyperLinkButton::s_openAddress;
    CHyperLinkButton::s_openAddress = [&](const std::wstring& address) {
        opened.push_back(address);
        return true;
    };
    // Keys as the dialog's own loop hands them on, with the OK button's
    // search ready to select rows if Enter reached it.
    SetWindowTextW(window.input, L"b2");
    SetFocus(link);
    auto send = [&](UINT message, WPARAM key) {
        MSG msg{link, message, key, 0, 0, {}};
        if (!IsDialogMessageW(window.hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        pump();
    };
    send(WM_KEYDOWN, VK_RETURN);
    send(WM_KEYDOWN, VK_RETURN); // held down: nothing yet
    EXPECT_TRUE(opened.empty());
    send(WM_KEYUP, VK_RETURN);
    send(WM_KEYDOWN, VK_SPACE);
    send(WM_KEYUP, VK_SPACE); // Space opens nothing
    send(WM_MOUSEMOVE, 0);
    send(WM_KEYUP, VK_RETURN); // not armed: the mouse moved since
    EXPECT_EQ(opened, std::vector<std::wstring>{L"http://mirawen.example.org"});
    SendMessageW(link, BM_CLICK, 0, 0);
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_TRUE(window.selected().empty()) << "OK did not run";
    CHyperLinkButton::s_openAddress = open;
}

TEST(LookupApp, AnswersItsCommandLineWithoutAWindow) {
    const struct {
        std::vector<std::wstring> args;
        std::wstring notice; // how the one box begins
        int status;
    } cases[] = {
        // The reading is the lookup layer's; here the answers are shown.
        {{L"--version"}, L"Mirawen|mirawen " MIRAWEN_VERSION L"|ok", 0},
        {{L"--dir=\xD55C", L"-y"}, L"Mirawen|mirawen: 未知的选项“-y”。\n", 1},
    };
    for (const auto& c : cases) {
        CMessageBox::setNextAnswer(IDOK);
        CLookupApp app(c.args);
        EXPECT_FALSE(app.InitInstance());
        const std::vector<std::wstring> boxes = CMessageBox::answered();
        ASSERT_EQ(boxes.size(), 1u) << testing::PrintToString(c.args);
        EXPECT_TRUE(boxes[0].starts_with(c.notice)) << testing::PrintToString(boxes[0]);
        EXPECT_EQ(app.ExitCode(), c.status);
    }
}

} // namespace
