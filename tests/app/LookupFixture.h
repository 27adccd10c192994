#pragma once

#include "app/CLookupDlg.h"
#include "app/MessageBox.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
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
    QByteArray first, last;
    const char* const letters = "abcdefgh"; // none that folds
    for (int i = 0; i < 40; ++i) {
        const QByteArray n = QByteArray::number(i).rightJustified(2, '0');
        first += "f" + n + " [1b" + letters[i / 8] + letters[i % 8] + "] n. x\r\n";
        last += "g" + n + " [zz" + QByteArray::number(i) + "] n. x\r\n";
    }
    return first +
           "sheep [5i:p] n. \xD1\xF2\r\nship [5ip] n. \xB4\xAC\r\nshipping ['5ipi6] n. "
           "\xBA\xBD\xD4\xCB\r\n"
           "think [7i6k] v. \xCF\xEB\r\nnight [nait] n. \xD2\xB9\r\n" +
           last;
}

inline const QByteArray kBand6 =
    "shipment ['5ipm4nt] n. \xD7\xB0\xD4\xCB\nsink [si6k] v. \xCF\xC2\xB3\xC1\n";

enum Row { Sheep = 40, Ship, Shipping, Shipment, Night, Think, Sink, RowCount = Sink + 41 };

// Fills folder with the lists and the font asked for; a band6 of "folder"
// puts a folder where the Band 6 list belongs, an empty one leaves it out.
inline bool fill(const QString& folder, bool font = true, bool list4 = true,
                 const QByteArray& band6 = kBand6) {
    const QDir dir(folder);
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    const QString band6Name = QStringLiteral("大学六级.txt");
    return (!list4 || write(QStringLiteral("大学四级.txt"), band4())) &&
           (band6.isEmpty() ||
            (band6 == "folder" ? dir.mkdir(band6Name) : write(band6Name, band6))) &&
           (!font ||
            QFile::copy(QStringLiteral(MIRAWEN_FONT_FILE), dir.filePath("TOPhonetic.ttf")));
}

// Opens the window on the lists and the font in folder, as the program does;
// the notices it shows on the way are answered with OK and kept in notices.
inline std::unique_ptr<CLookupDlg> openWindow(const QString& folder,
                                              QStringList* notices = nullptr) {
    const std::filesystem::path path = QFile::encodeName(folder).toStdString();
    vocab::DataLocation location{path, path / "TOPhonetic.ttf"};
    if (!std::filesystem::exists(*location.fontFile)) {
        location.fontFile.reset();
    }
    for (int i = 0; i < 3; ++i) {
        MessageBox::setNextAnswer(QMessageBox::Ok);
    }
    auto dlg = std::make_unique<CLookupDlg>(location);
    const QStringList shown = MessageBox::answered();
    if (notices) {
        *notices = shown;
    }
    dlg->show();
    return dlg;
}

// Runs act once the modal window or menu that the caller opens next is up:
// a modal loop runs the timers queued before it.
inline void whenModal(const std::function<void(QWidget*)>& act) {
    QTimer::singleShot(0, [act] {
        QWidget* top = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                         : QApplication::activeModalWidget();
        act(top);
    });
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

// The window menu from the keyboard, on OK, which has no menu of its own.
// (A right click would leave its button held down while the menu and what it
// opens run, and no click could reach them.)
inline void openWindowMenu(QWidget& window) {
    QWidget* ok = button(window, QStringLiteral("确定"));
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_F10, Qt::ShiftModifier);
}

// Closes a window the way a user would: "escape" presses Escape where the
// focus is, "close" uses the title bar's close button, "menu" the window
// menu's close entry, any other text clicks the button of that name.
inline void closeBy(QWidget& window, const QString& how) {
    if (how == QLatin1String("menu")) {
        whenModal([](QWidget* menu) { QTest::keyClick(menu, Qt::Key_C); });
        openWindowMenu(window);
    } else if (how == QLatin1String("escape")) {
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

// The widgets of window that lie outside it, or overlap one another (the
// group box, a frame behind the controls it surrounds, aside), by name.
inline QStringList misplaced(const QWidget& window, const QWidget* frame = nullptr) {
    QStringList wrong;
    const auto children = window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (const QWidget* a : children) {
        if (!window.rect().contains(a->geometry())) {
            wrong << a->metaObject()->className() + QStringLiteral(" outside");
        }
        for (const QWidget* b : children) {
            if (a < b && a != frame && b != frame && a->geometry().intersects(b->geometry())) {
                wrong << a->metaObject()->className() + QStringLiteral(" over ") +
                             b->metaObject()->className();
            }
        }
    }
    return wrong;
}

} // namespace fixture
