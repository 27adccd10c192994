#include "win/CFileDialog.h"

#include "win/TestAnswers.h"

#include <commdlg.h>

namespace {

TestAnswers<std::optional<std::wstring>>& answers() {
    static TestAnswers<std::optional<std::wstring>> given;
    return given;
}

} // namespace

std::optional<std::wstring> CFileDialog::Open(HWND owner, const std::wstring& title,
                                              const std::vector<Filter>& filters) {
    if (auto answer = answers().take([&] {
            std::wstring seen = title;
            for (const Filter& filter : filters) {
                seen += L"|" + filter.name + L"|" + filter.pattern;
            }
            return seen + (owner ? L"|owned" : L"");
        })) {
        return *answer;
    }
    // Pairs of NUL-ended strings, the list ended by one more NUL.
    std::wstring filter;
    for (const Filter& f : filters) {
        filter += f.name + L" (" + f.pattern + L")" + L'\0' + f.pattern + L'\0';
    }
    filter += L'\0';
    std::wstring file(32768, L'\0'); // room for a long path
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog)) {
        return std::nullopt;
    }
    file.resize(file.find(L'\0'));
    return file;
}

void CFileDialog::setNextAnswer(std::optional<std::wstring> answer) {
    answers().push(std::move(answer));
}

std::vector<std::wstring> CFileDialog::answered() {
    return answers().answered();
}
