#pragma once

#include <optional>
#include <string>
#include <vector>
#include <windows.h>

// Every file dialog of the program goes through here, so that tests can
// answer one without a window, as CMessageBox's boxes are answered.
class CFileDialog {
public:
    struct Filter {
        std::wstring name;
        std::wstring pattern;
    };
    // The file chosen to open; nothing when the learner cancelled.
    static std::optional<std::wstring> Open(HWND owner, const std::wstring& title,
                                            const std::vector<Filter>& filters);

    // The next dialog is noted instead of shown and answers this; nothing
    // stands for Cancel.
    static void setNextAnswer(std::optional<std::wstring> answer);
    // "title|name|pattern|name|pattern" of each dialog answered since the
    // last call, with "|owned" when it had an owner; unused answers are dropped.
    static std::vector<std::wstring> answered();
};
