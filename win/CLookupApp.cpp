#include "win/CLookupApp.h"

#include "lookup/Texts.h"
#include "lookup/WindowArgs.h"
#include "vocab/DataFolders.h"
#include "win/CLookupDlg.h"
#include "win/CMessageBox.h"
#include "win/Text.h"

#include <string>

CLookupApp::CLookupApp(std::vector<std::wstring> args) : m_args(std::move(args)) {}

bool CLookupApp::InitInstance() {
    // UTF-8 for the reader; --dir's UTF-8 becomes the same UTF-16 path again.
    std::vector<std::string> args;
    for (const std::wstring& arg : m_args) {
        args.push_back(codec::utf16ToUtf8(utf16(arg)));
    }
    const lookup::WindowArgs read = lookup::readWindowArgs(args);
    if (read.answer != lookup::WindowArgs::Answer::Run) {
        CMessageBox::Show(nullptr, wide(read.text), wide(lookup::text::kAppName), MB_OK);
        m_exitCode = read.exitStatus();
        return false;
    }
    CLookupDlg dlg(vocab::locateData(read.dir, vocab::DataEnvironment::fromProcess()), read.dir);
    dlg.DoModal();
    return false;
}
