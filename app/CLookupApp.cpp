#include "app/CLookupApp.h"

#include "app/CLookupDlg.h"
#include "res/Resources.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

CLookupApp::CLookupApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromUtf8(res::kAppTitle));
    setApplicationVersion(QStringLiteral("1.0.0.1"));
    installTranslations();
}

bool CLookupApp::InitInstance() {
    CLookupDlg dlg(vocab::locateData(std::nullopt, vocab::DataEnvironment::fromProcess()));
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
