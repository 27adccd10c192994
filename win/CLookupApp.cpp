#include "win/CLookupApp.h"

#include "vocab/DataFolders.h"
#include "win/CLookupDlg.h"

#include <filesystem>
#include <optional>

CLookupApp::CLookupApp(std::vector<std::wstring> args) : m_args(std::move(args)) {}

bool CLookupApp::InitInstance() {
    std::optional<std::filesystem::path> dir;
    for (std::size_t i = 0; i + 1 < m_args.size(); ++i) {
        if (m_args[i] == L"--dir") {
            dir = std::filesystem::path(m_args[i + 1]);
        }
    }
    CLookupDlg dlg(vocab::locateData(dir, vocab::DataEnvironment::fromProcess()));
    dlg.DoModal();
    return false;
}
