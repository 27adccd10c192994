#pragma once

// Every text the lookup windows show, in UTF-8, written once. The resource
// script of the Windows window takes the macros (windres runs the C
// preprocessor, which sees nothing past RC_INVOKED); the programs take the
// constants below, made from the same macros.

#define MIRAWEN_TEXT_APP_NAME "Mirawen"
#define MIRAWEN_TEXT_CAPTION "Mirawen 1.0"
#define MIRAWEN_TEXT_OK "确定"
#define MIRAWEN_TEXT_EXIT "退出"
#define MIRAWEN_TEXT_INPUT_GROUP "请输入音标查询（不必全部输入）"
#define MIRAWEN_TEXT_CHART_CAPTION "(音标--键盘对照)"
#define MIRAWEN_TEXT_ABOUT_MENU "关于 Mirawen(&A)..."
#define MIRAWEN_TEXT_ABOUT_CAPTION "关于 Mirawen"
#define MIRAWEN_TEXT_ABOUT_VERSION "Mirawen 1.0 版"
#define MIRAWEN_TEXT_COPYRIGHT "Copyright (C) 2026 Mirawen"
// A bare host name: the link at the foot of the window and the About box.
#define MIRAWEN_TEXT_WEB_ADDRESS "mirawen.example.org"

#ifndef RC_INVOKED

#include <array>
#include <string_view>

namespace lookup::text {

// The caption of the program's notices.
inline constexpr std::string_view kAppName = MIRAWEN_TEXT_APP_NAME;
inline constexpr std::string_view kCaption = MIRAWEN_TEXT_CAPTION;
inline constexpr std::string_view kOk = MIRAWEN_TEXT_OK;
inline constexpr std::string_view kExit = MIRAWEN_TEXT_EXIT;
inline constexpr std::string_view kInputGroup = MIRAWEN_TEXT_INPUT_GROUP;
inline constexpr std::string_view kChartCaption = MIRAWEN_TEXT_CHART_CAPTION;
// "&A" makes A the entry's access key.
inline constexpr std::string_view kAboutMenu = MIRAWEN_TEXT_ABOUT_MENU;
inline constexpr std::string_view kAboutCaption = MIRAWEN_TEXT_ABOUT_CAPTION;
inline constexpr std::string_view kAboutVersion = MIRAWEN_TEXT_ABOUT_VERSION;
inline constexpr std::string_view kCopyright = MIRAWEN_TEXT_COPYRIGHT;
inline constexpr std::string_view kWebAddress = MIRAWEN_TEXT_WEB_ADDRESS;
// The Qt window's own menu, which Linux's window managers do not give it.
inline constexpr std::string_view kCloseMenu = "关闭(&C)";
// Asked before closing, with kOk as its caption.
inline constexpr std::string_view kAskExit = "是否退出?";

// Start notices: each followed by a file name; an unreadable list's reason
// goes between kReasonOpen and kReasonClose.
inline constexpr std::string_view kNoFont = "没有音标字体文件:";
inline constexpr std::string_view kNoList = "没有词库文件:";
inline constexpr std::string_view kUnreadableList = "无法读取词库文件:";
inline constexpr std::string_view kReasonOpen = "（";
inline constexpr std::string_view kReasonClose = "）";
// The reasons of the program's own; the system's come in the user's language.
inline constexpr std::string_view kIsFolder = "这是文件夹，不是文件";
inline constexpr std::string_view kNotRegularFile = "不是普通文件";
inline constexpr std::string_view kListsTooLarge = "词库合计超过 4 GiB";

// The face of the phonetic font file.
inline constexpr std::string_view kPhoneticFontFamily = "TOPhonetic";

struct Column {
    std::string_view heading;
    int width; // pixels
};
inline constexpr std::array<Column, 4> kColumns{
    {{"英文", 120}, {"音标", 120}, {"中文", 260}, {"级", 50}}};

// Ends a cell's text that was cut.
inline constexpr std::u16string_view kCut = u"…";

// The window's command line: its usage, its help's folder rules, and its
// errors, each worded like the others.
inline constexpr std::string_view kUsage = "用法：mirawen [--dir DIR]\n\n"
                                           "按读音查找大学英语四、六级单词。\n\n"
                                           "  --dir DIR   从 DIR 读取词库。\n"
                                           "  --help      显示本帮助。\n"
                                           "  --version   显示版本。\n\n";
inline constexpr std::string_view kLinuxFolders =
    "不给 --dir 时，词库从下列第一个含有任一词库的文件夹读取：\n"
    "当前文件夹；$XDG_DATA_HOME/mirawen（默认 ~/.local/share/mirawen）；\n"
    "$XDG_DATA_DIRS（默认 /usr/local/share:/usr/share）中各 DIR 的 DIR/mirawen。\n"
    "音标字体 TOPhonetic.ttf 先在词库所在的文件夹找，再在这些数据文件夹找。";
inline constexpr std::string_view kWindowsFolders =
    "不给 --dir 时，词库从下列第一个含有任一词库的文件夹读取：\n"
    "当前文件夹；%APPDATA%\\Mirawen；程序所在的文件夹。\n"
    "音标字体 TOPhonetic.ttf 先在词库所在的文件夹找，再在后两个文件夹找。";
inline constexpr std::string_view kProgram = "mirawen";
inline constexpr std::string_view kMissingValue = "选项“%”缺少值 DIR。";
inline constexpr std::string_view kUnknownOption = "未知的选项“%”。";
inline constexpr std::string_view kNoDisplay =
    "mirawen: no display to open the window on (DISPLAY is not set).\n"
    "Run it on a desktop, or in a virtual X server: xvfb-run -a ./mirawen\n";

// The key chart is a keyboard too.
inline constexpr std::string_view kChartTip = "单击音标，把它的键输入查询框";

// Importing the full lists from ECDICT's CSV, from the window's menu.
inline constexpr std::string_view kImportMenu = "导入词库(&I)...";
inline constexpr std::string_view kImportCaption = "导入词库";
// The file dialog's title says where the file comes from.
inline constexpr std::string_view kImportChoose =
    "选择 ECDICT 的 ecdict.csv（GitHub 上的开源英汉词典 ECDICT，MIT 许可）";
inline constexpr std::string_view kCsvFiles = "CSV 文件";
inline constexpr std::string_view kCsvPattern = "*.csv";
inline constexpr std::string_view kAllFiles = "所有文件";
inline constexpr std::string_view kAllPattern = "*";
inline constexpr std::string_view kAskReplace = "已有词库，是否替换?";
inline constexpr std::string_view kImporting = "正在导入词库……";
inline constexpr std::string_view kCancel = "取消";
inline constexpr std::string_view kImportFailed = "导入失败，词库没有改变：";
// After the notice of lists written where the window does not read them.
inline constexpr std::string_view kImportedElsewhere = "\n词库写在 ";
inline constexpr std::string_view kImportedElsewhereShown = "，窗口读的却是 ";
inline constexpr std::string_view kImportedElsewhereEnd =
    " 中的词库（当前文件夹里的词库，或 --dir 指定的文件夹）。";
inline constexpr std::string_view kNoUserFolder =
    "导入失败：没有存放词库的用户文件夹（HOME 或 APPDATA 不是完整的路径）。";
// The About box's line while the window shows the bundled sample lists.
inline constexpr std::string_view kSampleLists =
    "现在用的是示例词库，只有几百个词。完整的四、六级词库：窗口菜单 → 导入词库。";

// Speech: the one notice of a run in which it cannot work, saying why and
// what to install.
#if defined(_WIN32)
inline constexpr std::string_view kNoSynthesizer =
    "无法朗读：本机没有 Windows 语音合成（SAPI 5）。";
inline constexpr std::string_view kNoVoice =
    "无法朗读：本机没有英语语音。请在“设置 → 时间和语言 → 语音”中添加英语（英国或美国）语音。";
#else
inline constexpr std::string_view kNoSynthesizer =
    "无法朗读：没有找到语音合成程序 espeak-ng。请安装它，例如：sudo apt install espeak-ng";
inline constexpr std::string_view kNoVoice =
    "无法朗读：espeak-ng 没有英语语音。请安装 espeak-ng-data。";
#endif
// The Win32 box's own editing entries, beside kSpeakTypedMenu and kCopyMenu.
inline constexpr std::string_view kUndoMenu = "撤销(&U)";
inline constexpr std::string_view kCutMenu = "剪切(&T)";
inline constexpr std::string_view kPasteMenu = "粘贴(&P)";
inline constexpr std::string_view kSelectAllMenu = "全选(&A)";
inline constexpr std::string_view kNoAudioDevice = "无法朗读：没有可以播放声音的设备。";
inline constexpr std::string_view kSpeechFailed = "无法朗读：语音合成程序出错。";

// Hearing words: the list's and the box's menus, their key, and the window
// menu's choice of accent.
inline constexpr std::string_view kSpeakMenu = "朗读(&R)";
inline constexpr std::string_view kSpeakTypedMenu = "朗读音标(&S)"; // &R is the editing menu's Redo
inline constexpr std::string_view kSpeakKey = "Ctrl+R";
inline constexpr std::string_view kBritishMenu = "英式发音(&B)";
inline constexpr std::string_view kAmericanMenu = "美式发音(&M)";
// The list's copy of its selected entries.
inline constexpr std::string_view kCopyMenu = "复制(&C)";

} // namespace lookup::text

#endif // RC_INVOKED
