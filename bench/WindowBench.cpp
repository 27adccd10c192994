// Times the lookup window: from constructing it to its first paint, with
// lists of the real lists' size and with a million entries, beside an empty
// dialog's first paint and the engine's own load and sort; and the time OK
// takes for an input that selects 100,000 rows. Figures are printed, never
// judged. Runs offscreen unless a display is given.
//
//   mirawen-bench-window FONT_FILE [REAL_LISTS_DIR]

#include "SyntheticLists.h"
#include "app/CLookupDlg.h"
#include "vocab/EntryStore.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int kRuns = 3;

// Milliseconds until widget has painted once, counted from start.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* widget) { widget->installEventFilter(this); }
    bool painted() const { return m_painted; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            m_painted = true;
        }
        return false;
    }

private:
    bool m_painted = false;
};

void waitForPaint(const FirstPaint& paint) {
    while (!paint.painted()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double emptyDialogFirstPaint() {
    QElapsedTimer timer;
    timer.start();
    QDialog dialog;
    dialog.resize(600, 700);
    FirstPaint paint(&dialog);
    dialog.show();
    waitForPaint(paint);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Constructs the window in the current folder and shows it until the list
// has painted; returns the milliseconds taken.
double windowFirstPaint() {
    QElapsedTimer timer;
    timer.start();
    CLookupDlg dlg(vocab::DataLocation{std::filesystem::current_path(),
                                       std::filesystem::current_path() / "TOPhonetic.ttf"});
    FirstPaint paint(dlg.list()->viewport());
    dlg.show();
    waitForPaint(paint);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double engineLoad() {
    QElapsedTimer timer;
    timer.start();
    vocab::EntryStore store;
    (void)store.load(".");
    store.sort();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double measure(const std::function<double()>& run) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        times.push_back(run());
    }
    return median(times);
}

void enter(const QString& folder, const QString& font) {
    QDir::setCurrent(folder);
    QFile::remove(QStringLiteral("TOPhonetic.ttf"));
    QFile::copy(font, QStringLiteral("TOPhonetic.ttf"));
}

// A million lines, every tenth of whose transcriptions begins with ‹5ip›.
bench::SyntheticLists listsWithTenthMatching() {
    std::mt19937 random(5);
    const std::string alphabet = "bdfgkmprtvw1234689A";
    bench::SyntheticLists lists;
    for (int i = 0; i < 1'000'000; ++i) {
        std::string line = "w";
        line += std::to_string(i);
        line += " [";
        line += i % 10 == 0 ? "5ip" : std::string(1, alphabet[random() % alphabet.size()]);
        for (int n = 0; n < 5; ++n) {
            line += alphabet[random() % alphabet.size()];
        }
        line += "] n. \xB4\xAC\r\n";
        lists[i % 5 < 3 ? 0 : 1] += line;
    }
    return lists;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: mirawen-bench-window FONT_FILE [REAL_LISTS_DIR]\n");
        return 2;
    }
    const QString font = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QTemporaryDir realSized;
    QTemporaryDir million;
    QTemporaryDir searched;
    if (argc > 2) {
        const QDir real(QString::fromLocal8Bit(argv[2]));
        for (const char* name : {"大学四级.txt", "大学六级.txt"}) {
            QFile::copy(real.filePath(QString::fromUtf8(name)),
                        QDir(realSized.path()).filePath(QString::fromUtf8(name)));
        }
    } else {
        bench::writeSyntheticLists(realSized.path().toStdString(),
                                   bench::makeSyntheticLists({4'468, 1, true, 26}));
    }
    bench::writeSyntheticLists(million.path().toStdString(), bench::makeSyntheticLists({}));
    bench::writeSyntheticLists(searched.path().toStdString(), listsWithTenthMatching());

    std::printf("%-48s %10s\n", "median of 3 runs", "ms");
    std::printf("%-48s %10.1f\n", "empty QDialog, first paint", measure(emptyDialogFirstPaint));
    enter(realSized.path(), font);
    std::printf("%-48s %10.1f\n",
                argc > 2 ? "window, real lists: construct to first paint"
                         : "window, 4,468 entries: construct to first paint",
                measure(windowFirstPaint));
    std::printf("%-48s %10.1f\n", "  engine alone: load and sort", measure(engineLoad));
    enter(million.path(), font);
    std::printf("%-48s %10.1f\n", "window, 1,000,000 entries: construct to paint",
                measure(windowFirstPaint));
    std::printf("%-48s %10.1f\n", "  engine alone: load and sort", measure(engineLoad));

    enter(searched.path(), font);
    CLookupDlg dlg(vocab::DataLocation{std::filesystem::current_path(),
                                       std::filesystem::current_path() / "TOPhonetic.ttf"});
    dlg.show();
    FirstPaint shown(dlg.list()->viewport());
    waitForPaint(shown);
    std::vector<double> ok;
    std::vector<double> okAndPaint;
    std::size_t selected = 0;
    for (int i = 0; i < kRuns; ++i) {
        dlg.input()->setText(QStringLiteral("5ip"));
        FirstPaint repaint(dlg.list()->viewport());
        QElapsedTimer timer;
        timer.start();
        dlg.OnOK();
        ok.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        waitForPaint(repaint);
        okAndPaint.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        selected = static_cast<std::size_t>(dlg.list()->selectionModel()->selectedRows().size());
        dlg.list()->clearSelection();
    }
    std::printf("%-48s %10.1f\n", "OK selecting 100,000 of 1,000,000 rows", median(ok));
    std::printf("%-48s %10.1f\n", "  and the list's repaint", median(okAndPaint));
    std::printf("(rows selected: %zu)\n", selected);
    QDir::setCurrent(QDir::tempPath());
    return 0;
}
