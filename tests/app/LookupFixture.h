#pragma once

#include "BoxAnswerer.h"
#include "app/CLookupDlg.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

// Shared by the window's tests: a working folder with word lists and the
// font, and ways to look at and drive the window.
namespace fixture {

// Forty filler words sort first (their keys begin with 1, æ), so that the
// matches of ‹5ip› lie below the first screenful.
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
            "\xBA\xBD\xD4\xCB\r\nthink [7i6k] v. \xCF\xEB\r\nnight [nait] n. \xD2\xB9\r\n";
    return list;
}
inline const QByteArray kBand6 =
    "shipment ['5ipm4nt] n. \xD7\xB0\xD4\xCB\nsink [si6k] v. \xCF\xC2\xB3\xC1\n";

// Rows once sorted: f00..f39, then these.
enum Row { Sheep = 40, Ship, Shipping, Shipment, Night, Think, Sink, RowCount };

// Fills folder with the lists asked for and, unless told otherwise, the font.
inline bool fill(const QString& folder, bool font = true, bool list4 = true, bool list6 = true) {
    const QDir dir(folder);
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    return (!list4 || write(QStringLiteral("大学四级.txt"), band4())) &&
           (!list6 || write(QStringLiteral("大学六级.txt"), kBand6)) &&
           (!font ||
            QFile::copy(QStringLiteral(MIRAWEN_FONT_FILE), dir.filePath("TOPhonetic.ttf")));
}

// Opens the window as the program does, answering each notice it shows on
// the way with OK; the notices are kept in notices.
inline std::unique_ptr<CLookupDlg> openWindow(QList<BoxAnswerer::Seen>* notices = nullptr) {
    BoxAnswerer answerer(std::deque<QMessageBox::StandardButton>(3, QMessageBox::Ok));
    auto dlg = std::make_unique<CLookupDlg>();
    if (notices) {
        *notices = answerer.seen();
    }
    dlg->show();
    return dlg;
}

inline QPushButton* button(const QWidget& window, const QString& text) {
    for (auto* button : window.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

inline QStringList selectedWords(const CLookupDlg& dlg) {
    QModelIndexList rows = dlg.list()->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    QStringList words;
    for (const QModelIndex& row : rows) {
        words << dlg.list()->model()->index(row.row(), 0).data().toString();
    }
    return words;
}

// Runs handler on the next menu or modal window of type T to show up. Menus
// and modal windows run their own event loop, in which this timer fires.
template <class T> class WhenShown : public QObject {
public:
    explicit WhenShown(std::function<void(T*)> handler) : m_handler(std::move(handler)) {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* shown = QApplication::activePopupWidget();
            if (!shown) {
                shown = QApplication::activeModalWidget();
            }
            auto* widget = qobject_cast<T*>(shown);
            if (widget && widget->isVisible() && !m_done) {
                m_done = true;
                m_timer.stop();
                m_handler(widget);
            }
        });
        m_timer.start(5);
    }

    bool done() const { return m_done; }

private:
    std::function<void(T*)> m_handler;
    QTimer m_timer;
    bool m_done = false;
};

} // namespace fixture
