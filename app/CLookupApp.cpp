#include "app/CLookupApp.h"

#include "app/CLookupDlg.h"
#include "mirawen/Version.h"
#include "res/Resources.h"

#include <QCommandLineParser>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

CLookupApp::CLookupApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromUtf8(res::kAppTitle));
    setApplicationVersion(QStringLiteral(MIRAWEN_VERSION));
    installTranslations();
}

bool CLookupApp::InitInstance() {
    CLookupDlg dlg(dataLocation());
    dlg.exec();
    return false;
}

vocab::DataLocation CLookupApp::dataLocation() const {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Find College English Band 4 and 6 words by how they sound.\n\n"
        "Without --dir the word lists are read from the first folder that holds either\n"
        "list: the current folder; $XDG_DATA_HOME/mirawen (~/.local/share/mirawen);\n"
        "DIR/mirawen for each DIR of $XDG_DATA_DIRS (/usr/local/share:/usr/share).\n"
        "TOPhonetic.ttf is taken from the lists' folder, else from those data folders."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dirOption(QStringLiteral("dir"),
                                       QStringLiteral("Read the word lists from <DIR>."),
                                       QStringLiteral("DIR"));
    parser.addOption(dirOption);
    parser.process(arguments());
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "mirawen: unexpected argument '%s'\nTry 'mirawen --help'.\n",
                     parser.positionalArguments().constFirst().toLocal8Bit().constData());
        std::exit(EXIT_FAILURE);
    }

    std::optional<std::filesystem::path> dir;
    if (parser.isSet(dirOption)) {
        dir = std::filesystem::path(QFile::encodeName(parser.value(dirOption)).toStdString());
    }
    return vocab::locateData(dir, vocab::DataEnvironment::fromProcess());
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
