#include "win/CLookupApp.h"

#include "mirawen/Version.h"
#include "vocab/DataFolders.h"
#include "win/CLookupDlg.h"
#include "win/CMessageBox.h"

#include <filesystem>
#include <optional>

namespace {

constexpr const wchar_t* kHelp =
    L"用法：mirawen [--dir DIR]\n\n"
    L"按读音查找大学英语四、六级单词。\n\n"
    L"  --dir DIR   从 DIR 读取词库。\n"
    L"  --help      显示本帮助。\n"
    L"  --version   显示版本。\n\n"
    L"不给 --dir 时，词库从下列第一个含有任一词库的文件夹读取：\n"
    L"当前文件夹；%APPDATA%\\Mirawen；程序所在的文件夹。\n"
    L"音标字体 TOPhonetic.ttf 先在词库所在的文件夹找，再在后两个文件夹找。";

std::wstring widen(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

} // namespace

CLookupApp::CLookupApp(std::vector<std::wstring> args) : m_args(std::move(args)) {}

bool CLookupApp::InitInstance() {
    std::optional<std::filesystem::path> dir;
    std::wstring error;
    for (std::size_t i = 0; i < m_args.size() && error.empty(); ++i) {
        const std::wstring& arg = m_args[i];
        if (arg == L"-h" || arg == L"--help" || arg == L"-v" || arg == L"--version") {
            const bool help = arg == L"-h" || arg == L"--help";
            CMessageBox::Show(nullptr, help ? kHelp : L"mirawen " + widen(MIRAWEN_VERSION),
                              L"Mirawen", MB_OK);
            return false;
        }
        if (arg.starts_with(L"--dir=")) {
            dir = std::filesystem::path(arg.substr(6));
        } else if (arg == L"--dir" && i + 1 < m_args.size()) {
            dir = std::filesystem::path(m_args[++i]);
        } else if (arg == L"--dir") {
            error = L"选项“--dir”缺少值 DIR。";
        } else if (arg.starts_with(L"-")) {
            error = L"未知的选项“" + arg + L"”。";
        } else {
            error = L"多余的参数“" + arg + L"”。";
        }
    }
    if (!error.empty()) {
        CMessageBox::Show(nullptr, L"mirawen: " + error + L"\n\n" + kHelp, L"Mirawen", MB_OK);
        m_exitCode = 1;
        return false;
    }
    CLookupDlg dlg(vocab::locateData(dir, vocab::DataEnvironment::fromProcess()));
    dlg.DoModal();
    return false;
}
