// Times speech in the lookup window: from a double click on a row to the
// first samples of its word written to the sound device (the engine's
// sounding signal), for the first 20 rows, each said to its end before the
// next. The median and the spread are printed, never judged. Runs offscreen;
// tools/bench-speech.sh gives it a null sink to play to.
//
//   mirawen-bench-speech LISTS_DIR

#include "app/CLookupDlg.h"
#include "app/EspeakSpeech.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWords = 20;
constexpr int kGiveUpMs = 10000;

// Waits for signal of sender, at most kGiveUpMs; whether it came.
template <typename Signal> bool waitFor(const EspeakSpeech* sender, Signal signal) {
    QEventLoop loop;
    QTimer::singleShot(kGiveUpMs, &loop, [&loop] { loop.exit(1); });
    QObject::connect(sender, signal, &loop, [&loop] { loop.exit(0); });
    return loop.exec() == 0;
}

// A double click on the row as the platform reports one: a press, then the
// double click.
void doubleClick(QTableView* list, int row) {
    list->scrollTo(list->model()->index(row, 0));
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    const QPoint global = list->viewport()->mapToGlobal(at);
    for (QEvent::Type type :
         {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, global, Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        QApplication::sendEvent(list->viewport(), &event);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: mirawen-bench-speech LISTS_DIR\n");
        return 2;
    }
    const std::filesystem::path lists = argv[1];
    CLookupDlg dlg(vocab::DataLocation{lists, lists / "TOPhonetic.ttf"});
    dlg.show();
    const auto* engine = dlg.findChild<EspeakSpeech*>();
    const int rows = std::min(kWords, dlg.list()->model()->rowCount());
    std::vector<double> times;
    for (int row = 0; row < rows; ++row) {
        QElapsedTimer timer;
        bool sounded = false;
        const QMetaObject::Connection first =
            QObject::connect(engine, &EspeakSpeech::sounding, [&] {
                times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
                sounded = true;
            });
        timer.start();
        doubleClick(dlg.list(), row);
        if (!sounded && !waitFor(engine, &EspeakSpeech::sounding)) {
            std::fprintf(stderr, "row %d: no sound within %d ms\n", row, kGiveUpMs);
            return 1;
        }
        QObject::disconnect(first);
        (void)waitFor(engine, &EspeakSpeech::finished);
    }
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    std::printf("double click to first sample on the device, %zu words: median %.1f ms "
                "(min %.1f, max %.1f)\n",
                sorted.size(), sorted[sorted.size() / 2], sorted.front(), sorted.back());
    return 0;
}
