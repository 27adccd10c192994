#include "app/CLookupApp.h"

#include "app/CLookupDlg.h"
#include "app/DialogStyle.h"
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
    // Lets the desktop match the window to its menu entry and icon.
    setDesktopFileName(QStringLiteral("org.example.mirawen"));
    // Message boxes and menus in the lookup window's Chinese face, rather than
    // in a Latin face that borrows its Chinese glyphs from another.
    setFont(dialogFont(kMainPointSize));
    installTranslations();
}

bool CLookupApp::InitInstance() {
    CLookupDlg dlg(dataLocation());
    dlg.exec();
    return false;
}

vocab::DataLocation CLookupApp::dataLocation() const {
    QCommandLineParser parser;
    // Qt's own lines of the help are in Chinese too (installTranslations).
    parser.setApplicationDescription(QStringLiteral(
        "按读音查找大学英语四、六级单词。\n\n"
        "不给 --dir 时，词库从下列第一个含有任一词库的文件夹读取：\n"
        "当前文件夹；$XDG_DATA_HOME/mirawen（默认 ~/.local/share/mirawen）；\n"
        "$XDG_DATA_DIRS（默认 /usr/local/share:/usr/share）中各 DIR 的 DIR/mirawen。\n"
        "音标字体 TOPhonetic.ttf 先在词库所在的文件夹找，再在这些数据文件夹找。"));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption dirOption(QStringLiteral("dir"), QStringLiteral("从 <DIR> 读取词库。"),
                                       QStringLiteral("DIR"));
    parser.addOption(dirOption);
    if (!parser.parse(arguments())) {
        std::fputs(
            (applicationName() + QStringLiteral(": ") + parser.errorText() + QLatin1Char('\n'))
                .toLocal8Bit()
                .constData(),
            stderr);
        std::exit(EXIT_FAILURE);
    }
    // Answered here rather than by Qt, so that a failed write is reported.
    if (parser.isSet(helpOption) || parser.isSet(versionOption)) {
        const QString text =
            parser.isSet(helpOption)
                ? parser.helpText()
                : applicationName() + QLatin1Char(' ') + applicationVersion() + QLatin1Char('\n');
        const QByteArray bytes = text.toLocal8Bit();
        const bool written =
            std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) ==
                static_cast<std::size_t>(bytes.size()) &&
            std::fflush(stdout) == 0;
        if (!written) {
            std::fputs("mirawen: write error\n", stderr);
        }
        std::exit(written ? EXIT_SUCCESS : EXIT_FAILURE);
    }
    if (!parser.positionalArguments().isEmpty()) {
        // Worded like QCommandLineParser's own errors.
        const QString message = applicationName() + QStringLiteral(": 多余的参数“") +
                                parser.positionalArguments().constFirst() + QStringLiteral("”。\n");
        std::fputs(message.toLocal8Bit().constData(), stderr);
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
