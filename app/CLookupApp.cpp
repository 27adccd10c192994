#include "app/CLookupApp.h"

#include "app/CLookupDlg.h"
#include "app/DialogStyle.h"
#include "lookup/Texts.h"
#include "mirawen/Version.h"
#include "vocab/DataFolders.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <string>
#include <vector>

CLookupApp::CLookupApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The bytes as given: a folder's name need not be UTF-8.
    m_args = lookup::readWindowArgs(std::vector<std::string>(argv + 1, argv + argc));
    setApplicationName(qText(lookup::text::kAppName));
    setApplicationVersion(QStringLiteral(MIRAWEN_VERSION));
    // Lets the desktop match the window to its menu entry and icon.
    setDesktopFileName(QStringLiteral("org.example.mirawen"));
    // Message boxes and menus in the lookup window's Chinese face, rather than
    // in a Latin face that borrows its Chinese glyphs from another.
    setFont(dialogFont(kMainPointSize));
    installTranslations();
}

std::optional<int> CLookupApp::answerCommandLine() const {
    if (m_args.answer == lookup::WindowArgs::Answer::Run) {
        return std::nullopt;
    }
    if (m_args.answer == lookup::WindowArgs::Answer::UsageError) {
        std::fputs(m_args.text.c_str(), stderr);
        return m_args.exitStatus();
    }
    // A failed write is reported, not taken for an answer.
    const std::string& text = m_args.text;
    const bool written =
        std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
    if (!written) {
        std::fputs("mirawen: write error\n", stderr);
        return 1;
    }
    return m_args.exitStatus();
}

bool CLookupApp::InitInstance() {
    CLookupDlg dlg(vocab::locateData(m_args.dir, vocab::DataEnvironment::fromProcess()), nullptr,
                   m_args.dir);
    dlg.exec();
    return false;
}

void CLookupApp::installTranslations() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator; // English buttons rather than none
    }
}
