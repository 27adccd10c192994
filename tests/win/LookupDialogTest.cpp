#include "lookup/Texts.h"
#include "support/TempDir.h"
#include "win/CFileDialog.h"
#include "win/CHyperLinkButton.h"
#include "win/CLookupApp.h"
#include "win/CLookupDlg.h"
#include "win/CMessageBox.h"
#include "win/CPopupMenu.h"
#include "win/SapiSpeech.h"
#include "win/Text.h"
#include "win/resource.h"

#include "mirawen/Version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <commctrl.h>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path programFolder() {
    std::wstring self(MAX_PATH, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    return fs::path(self).parent_path();
}

// A row's four columns, joined by '|'.
std::wstring cells(HWND list, int row) {
    std::wstring joined;
    for (int column = 0; column < 4; ++column) {
        wchar_t buffer[256] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = 256;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        joined += (column ? L"|" : L"") + std::wstring(buffer);
    }
    return joined;
}

void answer(std::initializer_list<int> answers) {
    for (int a : answers) {
        CMessageBox::setNextAnswer(a);
    }
}

// Row i's key in a band: two characters no fold or removal touches, ascending.
std::string key(char band, int i) {
    const char* digits = "12345689";
    return {band, digits[i / 8], digits[i % 8]};
}

// Rows a11.. (30, Band 4), then b11.. (25) and c11.. (30, Band 6).
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

// Pumps until done() holds, for at most ten seconds.
template <typename Done> bool pumpUntil(Done done) {
    for (int i = 0; i < 1000 && !done(); ++i) {
        pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

// The lookup window over lists, open without a modal loop of its own.
struct Window {
    CLookupDlg dlg;
    HWND hwnd, list, input;
    explicit Window(const Lists& lists, bool font = true) : Window(lists.dir.path(), font) {}
    explicit Window(const fs::path& folder, bool font = true)
        : dlg(vocab::DataLocation{folder, font ? std::optional(programFolder() / "TOPhonetic.ttf")
                                               : std::nullopt}),
          hwnd(dlg.Create()), list(GetDlgItem(hwnd, IDC_LIST)), input(GetDlgItem(hwnd, IDC_INPUT)) {
    }
    void notify(UINT code, int row = -1, WPARAM key = 0) const {
        NMLVKEYDOWN keyDown{{list, IDC_LIST, code}, static_cast<WORD>(key), 0};
        NMITEMACTIVATE item{{list, IDC_LIST, code}, row, 0, 0, 0, 0, {}, 0, 0};
        const bool isKey = code == static_cast<UINT>(LVN_KEYDOWN);
        SendMessageW(hwnd, WM_NOTIFY, IDC_LIST,
                     isKey ? reinterpret_cast<LPARAM>(&keyDown) : reinterpret_cast<LPARAM>(&item));
    }
    void select(std::vector<int> rows) const {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows) {
            ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    void command(int id) const { SendMessageW(hwnd, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    void sysCommand(UINT id) const { SendMessageW(hwnd, WM_SYSCOMMAND, id, 0); }
    void search(const wchar_t* typed) const {
        SetWindowTextW(input, typed);
        command(IDOK);
    }
    std::vector<int> selected() const {
        std::vector<int> rows;
        for (int row = -1; (row = ListView_GetNextItem(list, row, LVNI_SELECTED)) != -1;) {
            rows.push_back(row);
            EXPECT_FALSE(ListView_GetItemState(list, row, LVIS_FOCUSED)) << row;
        }
        return rows;
    }
    void click(int row) const { notify(static_cast<UINT>(NM_CLICK), row); }
};

std::vector<int> range(int first, int last) {
    std::vector<int> rows(static_cast<size_t>(last - first + 1));
    std::iota(rows.begin(), rows.end(), first);
    return rows;
}

constexpr int kWidths[] = {120, 120, 260, 50};

int atDpi(int pixels, UINT dpi) {
    return MulDiv(pixels, static_cast<int>(dpi), 96);
}

TEST(LookupDialog, StartsWithWhatLoadedAndNamesWhatDidNot) {
    { // what was read is shown, the notices (the lookup layer's texts) first, in order
        Lists lists("folder");
        answer({IDOK, IDOK});
        Window window(lists, false);
        EXPECT_EQ(CMessageBox::answered(),
                  (std::vector<std::wstring>{
                      L"Mirawen|没有音标字体文件:TOPhonetic.ttf|ok",
                      L"Mirawen|无法读取词库文件:大学六级.txt（这是文件夹，不是文件）|ok"}));
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
    EXPECT_EQ(windowText(window.hwnd), L"Mirawen 1.0");

    // The version record, in Chinese (PRC) and UTF-16.
    HRSRC version = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    ASSERT_NE(version, nullptr);
    const void* record = LockResource(LoadResource(nullptr, version));
    void* value = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(record, L"\\StringFileInfo\\080404b0\\FileVersion", &value, &size));
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), L"" MIRAWEN_VERSION);
    // Grid, header dragging, full rows, flat bars, and the label and info tips.
    EXPECT_EQ(ListView_GetExtendedListViewStyle(window.list), 0x4531u);
    EXPECT_EQ(cells(window.list, 30), L"b11|b11|n. 乙|⑥");

    // The widths (pixels at 100 %); the transcription in the phonetic face,
    // the Chinese columns in the dialog's, with no help from font linking.
    HDC dc = CreateCompatibleDC(nullptr);
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(ListView_GetColumnWidth(window.list, column),
                  atDpi(kWidths[column], GetDpiForWindow(window.hwnd)));
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

// What the window made for its DPI, read back from its controls.
struct Scale {
    int columns[4];
    LONG listFont, dialogFont, linkFont; // heights
    BITMAP chart;
};

LONG fontHeight(HWND hwnd) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

Scale scaleOf(const Window& window) {
    Scale scale{{},
                fontHeight(window.list),
                fontHeight(ListView_GetHeader(window.list)),
                fontHeight(GetDlgItem(window.hwnd, IDC_LINK)),
                {}};
    for (int column = 0; column < 4; ++column) {
        scale.columns[column] = ListView_GetColumnWidth(window.list, column);
    }
    GetObjectW(reinterpret_cast<HBITMAP>(
                   SendDlgItemMessageW(window.hwnd, IDC_CHART, STM_GETIMAGE, IMAGE_BITMAP, 0)),
               sizeof scale.chart, &scale.chart);
    return scale;
}

TEST(LookupDialog, ScalesToItsScreensDpiAndAgainWhenMoved) {
    Lists lists;
    Window window(lists);
    const UINT dpi = GetDpiForWindow(window.hwnd);
    const char* display = std::getenv("MIRAWEN_TEST_DPI"); // set by the runs at 120 and 144
    ASSERT_EQ(dpi, display ? std::stoul(display) : dpi) << "the display's setting was not taken";
    const LONG dialogFont = scaleOf(window).dialogFont;
    // Moved to screens of other scales, and back: the suggested rectangle
    // taken, everything made again for the new DPI.
    UINT previous = dpi;
    for (const UINT now : {dpi, 144u, 120u, 192u, dpi}) {
        if (now != previous) {
            RECT rect;
            GetWindowRect(window.hwnd, &rect);
            RECT suggested{rect.left + 8, rect.top + 8,
                           rect.left + 8 + MulDiv(rect.right - rect.left, now, previous),
                           rect.top + 8 + MulDiv(rect.bottom - rect.top, now, previous)};
            SendMessageW(window.hwnd, WM_DPICHANGED, MAKEWPARAM(now, now),
                         reinterpret_cast<LPARAM>(&suggested));
            GetWindowRect(window.hwnd, &rect);
            EXPECT_TRUE(EqualRect(&rect, &suggested));
            previous = now;
        }
        const Scale scale = scaleOf(window);
        for (int column = 0; column < 4; ++column) {
            EXPECT_EQ(scale.columns[column], atDpi(kWidths[column], now)) << column;
        }
        EXPECT_EQ(scale.listFont, -MulDiv(16, static_cast<int>(now), 72)) << now;
        EXPECT_EQ(fontHeight(window.input), scale.listFont);
        EXPECT_EQ(scale.chart.bmWidth, atDpi(209, now));
        EXPECT_EQ(scale.chart.bmHeight, atDpi(59, now));
        EXPECT_NEAR(scale.dialogFont, MulDiv(dialogFont, now, dpi), 1);
        EXPECT_EQ(scale.linkFont, scale.dialogFont);
    }
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
        window.search(c.input);
        EXPECT_EQ(window.selected(), c.rows) << c.input;
        EXPECT_EQ(ListView_GetTopIndex(window.list), c.top == -1 ? top : c.top) << c.input;
        EXPECT_EQ(GetFocus(), c.listFocused ? window.list : window.input) << c.input;
        EXPECT_EQ(windowText(window.input), c.input);
    }

    // An empty box keeps the selection; a click copies the row's key, one on no row nothing.
    window.search(L"b1");
    window.search(L"");
    EXPECT_EQ(window.selected(), range(30, 37));
    window.click(57);
    EXPECT_EQ(windowText(window.input), L"c13");
    window.click(-1);
    EXPECT_EQ(windowText(window.input), L"c13");
    // A letter typed on the list goes to the first word it begins, either case.
    SetFocus(window.list);
    SendMessageW(window.list, WM_CHAR, 'C', 1);
    EXPECT_EQ(ListView_GetNextItem(window.list, -1, LVNI_FOCUSED), 55);
}

// Notes each dialog that opens over the lookup window, with its texts, and closes it with OK.
HHOOK g_hook;
std::vector<std::wstring> g_opened;

LRESULT CALLBACK onActivate(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        auto* box = reinterpret_cast<HWND>(wParam);
        if (GetWindow(box, GW_OWNER)) {
            std::wstring seen = windowText(box);
            for (HWND child = GetWindow(box, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
                    seen += L"|" + windowText(child);
                }
            }
            g_opened.push_back(seen);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

// The dialogs that the system command id opens over window.
std::vector<std::wstring> dialogsOpenedBy(const Window& window, UINT id) {
    g_opened.clear();
    g_hook = SetWindowsHookExW(WH_CBT, onActivate, nullptr, GetCurrentThreadId());
    window.sysCommand(id);
    UnhookWindowsHookEx(g_hook);
    return g_opened;
}

TEST(LookupDialog, SystemMenuAboutAndClosing) {
    Lists lists;
    Window window(lists);
    // The window's own entries end the menu, About last.
    HMENU menu = GetSystemMenu(window.hwnd, FALSE);
    std::wstring entries; // "-": a separator
    std::vector<UINT> ids;
    for (int i = GetMenuItemCount(menu) - 6; i < GetMenuItemCount(menu); ++i) {
        wchar_t entry[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), entry, 64, MF_BYPOSITION);
        const bool separator =
            GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR;
        entries += separator ? L"-|" : std::wstring(entry) + L"|";
        if (!separator) {
            ids.push_back(GetMenuItemID(menu, i));
        }
    }
    EXPECT_EQ(entries, L"-|英式发音(&B)|美式发音(&M)|导入词库(&I)...|-|关于 Mirawen(&A)...|");
    EXPECT_EQ(ids, (std::vector<UINT>{IDM_BRITISH, IDM_AMERICAN, IDM_IMPORT, IDM_ABOUTBOX}));

    window.search(L"b2");
    EXPECT_EQ(
        dialogsOpenedBy(window, IDM_ABOUTBOX | 0xF), // low bits do not count
        std::vector<std::wstring>{
            L"关于 Mirawen|Mirawen 1.0 版|Copyright (C) 2026 Mirawen|确定|mirawen.example.org"});
    EXPECT_EQ(windowText(window.input), L"b2");
    EXPECT_EQ(window.selected(), range(38, 45));
    { // over the program's own folder, the system's, the About box tells of the samples
        answer({IDOK, IDOK});
        Window samples(programFolder());
        CMessageBox::answered(); // the folder here holds no lists
        const auto opened = dialogsOpenedBy(samples, IDM_ABOUTBOX);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_TRUE(opened[0].ends_with(L"|mirawen.example.org|现在用的是示例词库，只有几百个词。"
                                        L"完整的四、六级词库：窗口菜单 → 导入词库。"))
            << testing::PrintToString(opened[0]);
    }

    // Closing asks; No leaves the window as it was, Yes closes it.
    answer({IDNO});
    window.sysCommand(SC_CLOSE);
    pump(); // the close command comes back as a posted Exit
    EXPECT_TRUE(IsWindow(window.hwnd));
    EXPECT_EQ(window.selected(), range(38, 45));
    answer({IDYES});
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
    // Keys as the dialog's loop hands them on; OK's search would select rows if Enter reached it.
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

// Holds Ctrl down or lets it go, as the thread's keyboard state tells the window.
void holdCtrl(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// %APPDATA% for a test, as the C runtime reads it, restored after.
struct AppDataVariable {
    std::wstring old = _wgetenv(L"APPDATA") ? _wgetenv(L"APPDATA") : L"";
    static void set(const std::wstring& value) { _wputenv_s(L"APPDATA", value.c_str()); }
    ~AppDataVariable() { set(old); }
};

// The user's Band 4 list in folder, an old one written or read back.
const fs::path kBand4 = fs::u8path("大学四级.txt");
void writeOldLists(const fs::path& folder) {
    fs::create_directories(folder);
    std::ofstream(folder / kBand4, std::ios::binary) << "old [old]\n";
}
std::string fileText(const fs::path& file) {
    std::string text;
    std::getline(std::ifstream(file, std::ios::binary), text, '\0');
    return text;
}

const char* const kEcdictCsv = "word,phonetic,translation,tag\n"
                               "ship,ʃɪp,n. 船,cet4 cet6\n" // one list: the first
                               "sink,sɪŋk,v. 沉,cet6\n";

// The window's menu imports ECDICT's CSV into %APPDATA%\Mirawen and shows
// what it found there; every other ending leaves the rows as they were.
TEST(LookupDialog, ImportsFromTheSystemMenu) {
    TempDir appData;
    const fs::path target = appData.path() / "Mirawen";
    appData.write("ecdict.csv", kEcdictCsv);
    appData.write("bad.csv", "word,phonetic\n");
    const std::wstring dialog = L"选择 ECDICT 的 ecdict.csv（GitHub 上的开源英汉词典 ECDICT，MIT "
                                L"许可）|CSV 文件|*.csv|所有文件|*|owned";
    const std::wstring asked = L"导入词库|已有词库，是否替换?|yesno|owned";
    const std::wstring noFolder = L"导入词库|导入失败：没有存放词库的用户文件夹（HOME 或 APPDATA "
                                  L"不是完整的路径）。|ok|owned";
    const std::wstring badFile = L"导入词库|导入失败，词库没有改变：the header row has no column "
                                 L"\"translation\", \"tag\"|ok|owned";
    const std::wstring done = L"导入词库|词库已导入：大学四级.txt 1 个词，大学六级.txt 1 个词，"
                              L"跳过 0 行（共读了 2 行）。|ok|owned";
    const struct {
        const char* csv; // the file chosen; nullptr: cancelled; "": no user folder
        bool listsThere;
        int replaceAnswer; // 0: not asked
        std::vector<std::wstring> boxes;
        int rows; // after it
    } cases[] = {
        {"", false, 0, {noFolder}, 85},
        {nullptr, false, 0, {}, 85},
        {"ecdict.csv", true, IDNO, {asked}, 85},
        {"bad.csv", false, 0, {badFile}, 85},
        {"ecdict.csv", true, IDYES, {asked, done}, 2},
    };
    AppDataVariable variable;
    for (const auto& c : cases) {
        const std::string name = c.csv ? c.csv : "cancelled";
        AppDataVariable::set(c.csv && !*c.csv ? L"relative" : appData.path().wstring());
        std::error_code ec;
        fs::remove_all(target, ec);
        if (c.listsThere) {
            writeOldLists(target);
        }
        Lists lists;
        Window window(lists);
        window.select({3, 4});
        CFileDialog::setNextAnswer(c.csv ? std::optional((appData.path() / c.csv).wstring())
                                         : std::nullopt);
        answer({c.replaceAnswer ? c.replaceAnswer : IDOK, IDOK});
        window.sysCommand(IDM_IMPORT);
        EXPECT_TRUE(pumpUntil([&] { return IsWindowEnabled(window.hwnd) != FALSE; })) << name;
        EXPECT_EQ(CFileDialog::answered(),
                  c.csv && !*c.csv ? std::vector<std::wstring>{} : std::vector{dialog})
            << name;
        EXPECT_EQ(CMessageBox::answered(), c.boxes) << name;
        EXPECT_EQ(ListView_GetItemCount(window.list), c.rows) << name;
        if (c.rows == 2) {
            // The lists found again: those just written, the selection gone.
            EXPECT_TRUE(window.selected().empty());
            EXPECT_EQ(cells(window.list, 0), L"ship|5ip|n. 船|④");
            EXPECT_EQ(cells(window.list, 1), L"sink|si6k|v. 沉|⑥");
        } else {
            EXPECT_EQ(window.selected(), (std::vector<int>{3, 4})) << name;
            if (c.listsThere) {
                EXPECT_EQ(fileText(target / kBand4), "old [old]\n");
            }
        }
    }
}

// A long import shows its progress over the disabled window; Cancel stops
// it with the old lists whole and no notice.
TEST(LookupDialog, ImportShowsItsProgressAndCancels) {
    TempDir appData;
    AppDataVariable variable;
    AppDataVariable::set(appData.path().wstring());
    const fs::path target = appData.path() / "Mirawen";
    writeOldLists(target);
    std::ofstream csv(appData.path() / "ecdict.csv", std::ios::binary);
    csv << "word,phonetic,translation,tag\n";
    for (int i = 0; i < 1500000; ++i) {
        csv << "w" << i << ",ʃɪp,n. 船,cet4\n";
    }
    csv.close();
    CLookupDlg::s_progressDelayMs = 0; // at once
    Lists lists;
    Window window(lists);
    CFileDialog::setNextAnswer((appData.path() / "ecdict.csv").wstring());
    answer({IDYES});
    window.sysCommand(IDM_IMPORT);
    EXPECT_FALSE(IsWindowEnabled(window.hwnd));
    HWND progress = nullptr;
    ASSERT_TRUE(
        pumpUntil([&] { return (progress = FindWindowW(L"#32770", L"导入词库")) != nullptr; }));
    EXPECT_EQ(GetWindow(progress, GW_OWNER), window.hwnd);
    EXPECT_EQ(windowText(GetDlgItem(progress, IDC_IMPORTING)), L"正在导入词库……");
    EXPECT_EQ(windowText(GetDlgItem(progress, IDCANCEL)), L"取消");
    SendDlgItemMessageW(progress, IDCANCEL, BM_CLICK, 0, 0);
    EXPECT_TRUE(pumpUntil([&] { return IsWindowEnabled(window.hwnd) != FALSE; }));
    EXPECT_FALSE(IsWindow(progress));
    CLookupDlg::s_progressDelayMs = 500;
    EXPECT_EQ(CMessageBox::answered(),
              std::vector<std::wstring>{L"导入词库|已有词库，是否替换?|yesno|owned"});
    EXPECT_EQ(ListView_GetItemCount(window.list), 85);
    EXPECT_EQ(fileText(target / kBand4), "old [old]\n");
}

// The clipboard's text, which it then no longer holds.
std::wstring clipboardText(HWND owner) {
    std::wstring copied;
    if (OpenClipboard(owner)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            copied = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        EmptyClipboard();
        CloseClipboard();
    }
    return copied;
}

// Records what the window asks to hear, and fails as told.
struct FakeSpeech : lookup::SpeechEngine {
    static inline std::vector<lookup::Utterance> heard;
    static inline std::optional<lookup::SpeechFailure> failure;
    static inline int stopped = 0;
    void speak(const lookup::Utterance& utterance) override {
        heard.push_back(utterance);
        if (failure) {
            onFailure(*failure);
        }
    }
    void stop() override { ++stopped; }
};

// A temporary registry key for the accent, removed at the end.
struct SettingsKey {
    std::wstring old = CLookupDlg::s_settingsKey;
    SettingsKey() {
        CLookupDlg::s_settingsKey =
            L"Software\\Mirawen-test-" + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, CLookupDlg::s_settingsKey.c_str()); // a crashed run's
    }
    ~SettingsKey() {
        RegDeleteTreeW(HKEY_CURRENT_USER, CLookupDlg::s_settingsKey.c_str());
        CLookupDlg::s_settingsKey = old;
    }
    std::wstring accent() const {
        wchar_t value[32] = {};
        DWORD size = sizeof value;
        RegGetValueW(HKEY_CURRENT_USER, CLookupDlg::s_settingsKey.c_str(), L"speech/accent",
                     RRF_RT_REG_SZ, nullptr, value, &size);
        return value;
    }
};

TEST(LookupDialog, SpeaksRowsAndTheBoxInTheAccentChosenAndTellsOnce) {
    using lookup::Accent;
    using Kind = lookup::Utterance::Kind;
    SettingsKey settings;
    const auto make = CLookupDlg::s_makeSpeech;
    CLookupDlg::s_makeSpeech = [] { return std::make_unique<FakeSpeech>(); };
    FakeSpeech::heard.clear();
    FakeSpeech::failure.reset();
    Lists lists;
    auto window = std::make_unique<Window>(lists);
    auto checked = [&] { // British, American
        HMENU menu = GetSystemMenu(window->hwnd, FALSE);
        return std::pair((GetMenuState(menu, IDM_BRITISH, MF_BYCOMMAND) & MF_CHECKED) != 0,
                         (GetMenuState(menu, IDM_AMERICAN, MF_BYCOMMAND) & MF_CHECKED) != 0);
    };
    EXPECT_EQ(checked(), std::pair(true, false));

    // Each way of asking, and what it asks for.
    enum Ask { DoubleClick, ListKey, ListMenu, ListKeyMenu, BoxKey, BoxMenu };
    const wchar_t* const boxMenu =
        L"朗读音标(&S)|-|撤销(&U)(off)|剪切(&T)(off)|复制(&C)(off)|粘贴(&P)(off)|全选(&A)";
    const struct {
        Ask ask;
        int row;
        UINT key; // or the menu's answer
        bool ctrl;
        const wchar_t* box;
        const char* heard; // nullptr: nothing
        const wchar_t* menu;
    } cases[] = {
        {DoubleClick, 30, 0, false, L"", "b11", nullptr},
        {DoubleClick, -1, 0, false, L"", nullptr, nullptr},
        {ListKey, 31, VK_F5, false, L"", "b12", nullptr},
        {ListKey, 32, 'R', true, L"", "b13", nullptr},
        {ListKey, 32, 'R', false, L"", nullptr, nullptr},
        {ListMenu, 2, ID_SPEAK_ROW, false, L"", "a13", L"朗读(&R)|复制(&C)(off)"},
        {ListKeyMenu, 3, ID_SPEAK_ROW, false, L"", "a14", L"朗读(&R)|复制(&C)(off)"},
        {BoxKey, 0, VK_F5, false, L"/ˈʃɪp/", "5ip", nullptr},
        {BoxKey, 0, 'R', true, L"5i:", "5i:", nullptr},
        {BoxMenu, 0, ID_SPEAK_TYPED, false, L"'5i:p", "'5i:p", boxMenu},
        {BoxKey, 0, VK_F5, false, L"", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        FakeSpeech::heard.clear();
        clipboardText(window->hwnd); // the box's Paste is offered for text only
        SetWindowTextW(window->input, c.box);
        window->select({});
        ListView_SetItemState(window->list, c.row, LVIS_FOCUSED, LVIS_FOCUSED);
        holdCtrl(c.ctrl);
        CPopupMenu::setNextAnswer(c.menu ? c.key : 0);
        if (c.ask == BoxKey) {
            SendMessageW(window->input, WM_KEYDOWN, c.key, 0);
        } else if (c.ask == BoxMenu || c.ask == ListKeyMenu) { // Shift+F10
            HWND on = c.ask == BoxMenu ? window->input : window->list;
            SendMessageW(on, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(on), MAKELPARAM(-1, -1));
        } else {
            window->notify(c.ask == DoubleClick ? NM_DBLCLK
                           : c.ask == ListKey   ? LVN_KEYDOWN
                                                : NM_RCLICK,
                           c.row, c.key);
        }
        holdCtrl(false);
        const Kind kind = c.ask == BoxKey || c.ask == BoxMenu ? Kind::Sounds : Kind::Word;
        using Heard = std::vector<lookup::Utterance>;
        EXPECT_EQ(FakeSpeech::heard, (c.heard ? Heard{{kind, c.heard, Accent::British}} : Heard{}))
            << c.row << " " << c.key;
        using Menus = std::vector<std::wstring>;
        EXPECT_EQ(CPopupMenu::answered(), c.menu ? Menus{c.menu} : Menus{}) << c.row;
    }

    // American, kept for the next window; a failure is told once.
    window->sysCommand(IDM_AMERICAN);
    EXPECT_EQ(checked(), std::pair(false, true));
    EXPECT_EQ(settings.accent(), L"american");
    window = std::make_unique<Window>(lists);
    EXPECT_EQ(checked(), std::pair(false, true));
    FakeSpeech::heard.clear();
    FakeSpeech::failure = lookup::SpeechFailure::NoVoice;
    answer({IDOK});
    window->notify(NM_DBLCLK, 0);
    window->notify(NM_DBLCLK, 1);
    EXPECT_EQ(FakeSpeech::heard,
              (std::vector<lookup::Utterance>{{Kind::Word, "a11", Accent::American},
                                              {Kind::Word, "a12", Accent::American}}));
    EXPECT_EQ(CMessageBox::answered(),
              std::vector<std::wstring>{L"Mirawen|" + wide(lookup::text::kNoVoice) + L"|ok|owned"});
    const int stopped = FakeSpeech::stopped;
    window->sysCommand(IDM_BRITISH);
    EXPECT_EQ(settings.accent(), L"british");
    window.reset();
    EXPECT_EQ(FakeSpeech::stopped, stopped + 1) << "closing silences it";

    // SAPI itself: under Wine it cannot speak, which is told once, and the
    // window goes on; where it can, nothing is told.
    CLookupDlg::s_makeSpeech = make;
    int failures = 0;
    {
        SapiSpeech speech;
        speech.onFailure = [&](lookup::SpeechFailure) { ++failures; };
        speech.speak({Kind::Word, "ship", Accent::British});
        speech.speak({Kind::Sounds, "'5ip", Accent::American});
    }
    EXPECT_TRUE(failures == 0 || failures == 2) << failures;
    window = std::make_unique<Window>(lists);
    answer({IDOK});
    window->notify(NM_DBLCLK, 30);
    window->notify(NM_DBLCLK, 31);
    EXPECT_EQ(CMessageBox::answered().size(), failures ? 1u : 0u);
    window->search(L"b2");
    EXPECT_EQ(window->selected(), range(38, 45)) << "still usable";
}

// Keys a11.. as the real lists' transcriptions: ə, ʃɪp, laɪkɪŋ, sɪŋk.
struct SoundLists {
    TempDir dir;
    SoundLists() {
        dir.write("大学四级.txt", "a [4]\nship [5ip] n. \xB4\xAC\nliking [laiki6]\n"
                                  "sink [si6k]\nsinking [si6ki6]\n");
        dir.write("大学六级.txt", "zoo [zu:]\n");
    }
};

TEST(LookupDialog, BoxTakesIpaAsItsKeysTheChartTypesAndRowsCopyWhole) {
    SoundLists lists;
    Window window(lists.dir.path());
    const struct {
        const wchar_t* typed;
        const wchar_t* shown;
        std::vector<int> rows;
    } cases[] = {
        {L"/ˈʃɪp/", L"5ip", {1}},      // a dictionary's slashes
        {L"[sɪŋk]", L"si6k", {3, 4}},  // and brackets
        {L"ˈlaɪ.kɪŋ", L"laiki6", {2}}, // syllable dots
        {L"ә", L"4", {0}},             // ECDICT's ә
        {L"5i'p", L"5i'p", {}},        // keyboard code keeps its mark, which finds nothing
        {L"ʃ☃p", L"5☃p", {}},          // an unknown symbol stays
        {L"si6", L"si6", {3, 4}},
    };
    for (const auto& c : cases) {
        SetWindowTextW(window.input, c.typed);
        EXPECT_EQ(windowText(window.input), c.shown);
        window.command(IDOK);
        EXPECT_EQ(window.selected(), c.rows) << testing::PrintToString(std::wstring(c.typed));
    }

    // Pasted IPA becomes its keys in one step that one undo takes back.
    SetWindowTextW(window.input, L"");
    SendMessageW(window.input, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"/ʃɪp/"));
    EXPECT_EQ(windowText(window.input), L"5ip");
    SendMessageW(window.input, EM_UNDO, 0, 0);
    EXPECT_EQ(windowText(window.input), L"/ʃɪp/");

    // The chart: a hand, a tip, and a click that types the key at the caret.
    HWND chart = GetDlgItem(window.hwnd, IDC_CHART);
    EXPECT_TRUE(GetWindowLongPtrW(chart, GWL_STYLE) & SS_NOTIFY);
    SendMessageW(window.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(chart), HTCLIENT);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    HWND tip = nullptr;
    for (HWND popup = nullptr; (popup = FindWindowExW(nullptr, popup, TOOLTIPS_CLASSW, nullptr));) {
        if (GetWindow(popup, GW_OWNER) == window.hwnd) {
            tip = popup;
        }
    }
    ASSERT_NE(tip, nullptr);
    wchar_t tipText[128] = {};
    const auto id = reinterpret_cast<UINT_PTR>(chart);
    TTTOOLINFOW tool{sizeof tool, 0, window.hwnd, id, {}, nullptr, tipText, 0, nullptr};
    SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(tipText), L"单击音标，把它的键输入查询框");

    SetWindowTextW(window.input, L"sp");
    SendMessageW(window.input, EM_SETSEL, 1, 1);
    SetFocus(window.list);
    RECT client;
    GetClientRect(chart, &client);
    POINT at{client.right * 9 / 22, client.bottom / 2}; // the middle of the fifth of 11 columns
    ClientToScreen(chart, &at);
    SetCursorPos(at.x, at.y);
    SendMessageW(window.hwnd, WM_COMMAND, MAKEWPARAM(IDC_CHART, STN_CLICKED),
                 reinterpret_cast<LPARAM>(chart));
    EXPECT_EQ(windowText(window.input), L"s5p");
    EXPECT_EQ(GetFocus(), window.input);

    // Ctrl+C and the list's menu copy the rows chosen.
    window.select({3, 1});
    holdCtrl(true);
    window.notify(LVN_KEYDOWN, -1, 'C');
    holdCtrl(false);
    EXPECT_EQ(clipboardText(window.hwnd), L"ship [ʃip] n. 船\r\nsink [siŋk]\r\n");
    window.notify(LVN_KEYDOWN, -1, 'C'); // C alone copies nothing
    EXPECT_EQ(clipboardText(window.hwnd), L"");
    window.select({4});
    CPopupMenu::setNextAnswer(ID_COPY_ROWS);
    window.notify(NM_RCLICK, 4);
    EXPECT_EQ(clipboardText(window.hwnd), L"sinking [siŋkiŋ]\r\n");
    EXPECT_EQ(CPopupMenu::answered(), std::vector<std::wstring>{L"朗读(&R)|复制(&C)"});

    // The tip over a row: its whole text, as far as the tip has room.
    for (const int room : {128, 6}) {
        wchar_t buffer[128] = {};
        NMLVGETINFOTIPW info{
            {window.list, IDC_LIST, static_cast<UINT>(LVN_GETINFOTIPW)}, 0, buffer, room, 1, 0, 0};
        SendMessageW(window.hwnd, WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(std::wstring(buffer), std::wstring(L"ship [ʃip] n. 船").substr(0, room - 1));
    }
}

} // namespace
