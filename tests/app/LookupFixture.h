#pragma once

#include "app/CLookupDlg.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <memory>

// Shared by the window's tests: a folder with word lists and the font, and
// ways to drive the window and answer what it shows.
namespace fixture {

// Forty filler words sort first (keys 1b.., æ), so that the matches of ‹5ip›
// lie below the first screenful, and forty sort last. Sorted rows: f00..f39,
// then Row, then g00..g39.
inline QByteArray band4() {
    QByteArray list;
    const QString letters = QStringLiteral("abcdefgh"); // none that folds
    for (int i = 0; i < 40; ++i) {
        list += QStringLiteral("f%1 [1b%2%3] n. x\r\n")
                    .arg(i, 2, 10, QLatin1Char('0'))
                    .arg(letters[i / 8])
                    .arg(letters[i % 8])
                    .toLatin1();
    }
    list += "sheep [5i:p] n. \xD1\xF2\r\nship [5ip] n. \xB4\xAC\r\nshipping ['5ipi6] n. "
            "\xBA\xBD\xD4\xCB\r\n"
            "think [7i6k] v. \xCF\xEB\r\nnight [nait] n. \xD2\xB9\r\n";
    for (int i = 0; i < 40; ++i) { // and as many that sort last (keys zz..)
        list +=
            QStringLiteral("g%1 [zz%2] n. x\r\n").arg(i, 2, 10, QLatin1Char('0')).arg(i).toLatin1();
    }
    return list;
}
inline const QByteArray kBand6 =
    "shipment ['5ipm4nt] n. \xD7\xB0\xD4\xCB\nsink [si6k] v. \xCF\xC2\xB3\xC1\n";
enum Row { Sheep = 40, Ship, Shipping, Shipment, Night, Think, Sink, RowCount };

inline bool fill(const QString& folder, bool font = true, bool list4 = true, bool list6 = true,
                 const QByteArray& band6 = kBand6) {
    const QDir dir(folder);
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    return (!list4 || write(QStringLiteral("大学四级.txt"), band4())) &&
           (!list6 || write(QStringLiteral("大学六级.txt"), band6)) &&
           (!font ||
            QFile::copy(QStringLiteral(MIRAWEN_FONT_FILE), dir.filePath("TOPhonetic.ttf")));
}

// Calls handler on each menu or modal window of type T that shows up while
// this lives. Menus and modal windows run their own event loop, in which the
// timer keeps firing.
template <class T> class WhenShown : public QObject {
public:
    explicit WhenShown(std::function<void(T*)> handler) : m_handler(std::move(handler)) {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* top = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                             : QApplication::activeModalWidget();
            auto* shown = qobject_cast<T*>(top);
            if (shown && shown->isVisible() && shown != m_last) {
                m_last = shown;
                ++m_count;
                m_handler(shown);
            }
        });
        m_timer.start(5);
    }
    int count() const { return m_count; }
    bool done() const { return m_count > 0; }

private:
    std::function<void(T*)> m_handler;
    QTimer m_timer;
    QPointer<T> m_last;
    int m_count = 0;
};

// Answers every message box by clicking answer, noting "caption|text|buttons"
// of each (with "|icon" or "|owned" where it has an icon or an owner).
class Answer : public WhenShown<QMessageBox> {
public:
    explicit Answer(QMessageBox::StandardButton answer)
        : WhenShown([this, answer](QMessageBox* box) {
              const auto buttons = box->standardButtons();
              seen << box->windowTitle() + "|" + box->text() + "|" +
                          (buttons == QMessageBox::Ok                        ? "OK"
                           : buttons == (QMessageBox::Yes | QMessageBox::No) ? "Yes No"
                                                                             : "?") +
                          (box->icon() != QMessageBox::NoIcon ? "|icon" : "") +
                          (box->parentWidget() ? "|owned" : "");
              QTest::mouseClick(box->button(answer), Qt::LeftButton);
          }) {}
    QStringList seen;
};

// The lists and the font as the tests lay them out in the current folder.
inline vocab::DataLocation here() {
    const std::filesystem::path folder = std::filesystem::current_path();
    vocab::DataLocation location{folder, folder / "TOPhonetic.ttf"};
    if (!std::filesystem::exists(*location.fontFile)) {
        location.fontFile.reset();
    }
    return location;
}

// Opens the window as the program does; the notices it shows on the way are
// answered with OK and kept in notices.
inline std::unique_ptr<CLookupDlg> openWindow(QStringList* notices = nullptr) {
    Answer ok(QMessageBox::Ok);
    auto dlg = std::make_unique<CLookupDlg>(here());
    if (notices) {
        *notices = ok.seen;
    }
    dlg->show();
    return dlg;
}

inline QPushButton* button(const QWidget& window, const QString& text) {
    const auto buttons = window.findChildren<QPushButton*>();
    const auto found =
        std::find_if(buttons.begin(), buttons.end(), [&](auto* b) { return b->text() == text; });
    return found == buttons.end() ? nullptr : *found;
}

inline QStringList selectedWords(const CLookupDlg& dlg) {
    QModelIndexList rows = dlg.list()->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    QStringList words;
    for (const QModelIndex& row : rows) {
        words << row.data().toString();
    }
    return words;
}

// Dialog units in pixels for a dialog's font, as Windows computes them.
struct Units {
    explicit Units(const QFont& font) : y(QFontMetrics(font).height()) {
        const int letters = QFontMetrics(font).horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        x = (letters / 26 + 1) / 2;
    }
    QRect operator()(int left, int top, int width, int height) const {
        return {(left * x + 2) / 4, (top * y + 4) / 8, (width * x + 2) / 4, (height * y + 4) / 8};
    }
    int x;
    int y;
};

// Closes a window the way a user would: "escape" presses Escape where the
// focus is, "close" uses the title bar's close button, any other text clicks
// the button of that name.
inline void closeBy(QWidget& window, const QString& how) {
    if (how == QLatin1String("escape")) {
        QWidget* focus = window.focusWidget();
        QTest::keyClick(focus ? focus : &window, Qt::Key_Escape);
    } else if (how == QLatin1String("close")) {
        window.windowHandle()->close();
    } else {
        QTest::mouseClick(button(window, how), Qt::LeftButton);
    }
}

// Types input into the box and presses Enter.
inline void search(CLookupDlg& dlg, const QString& input) {
    dlg.input()->clear();
    QTest::keyClicks(dlg.input(), input);
    QTest::keyClick(dlg.input(), Qt::Key_Return);
}

} // namespace fixture
