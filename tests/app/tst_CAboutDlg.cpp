#include "LookupFixture.h"
#include "app/CAboutDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

using namespace fixture;

namespace {

// What the window menu held when it showed: action texts, "-" for a separator.
QStringList entries(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

} // namespace

class tst_CAboutDlg : public QObject {
    Q_OBJECT

private:
    void openWindowInFolder() {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(m_folder->path()));
        QVERIFY(fill(m_folder->path()));
        m_dlg = openWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
    }

    // A right click on the window's background, inside the group box's frame
    // but on none of its controls.
    void rightClickBackground() {
        QTest::mouseClick(m_dlg.get(), Qt::RightButton, {}, QPoint(m_dlg->width() - 8, 8));
    }

    // Opens the About box from the window menu, reached with Shift+F10 on the
    // list, and its access key; lets check look at it, and closes it the given
    // way. (Opened with a right click, the box would be tested while the
    // click's button is still held down, so that no click could reach it.)
    void viaAboutBox(const QString& closeBy, const std::function<void(CAboutDlg*)>& check = {}) {
        WhenShown<QMenu> menu([](QMenu* m) { QTest::keyClick(m, Qt::Key_A); });
        WhenShown<CAboutDlg> about([&](CAboutDlg* box) {
            if (check) {
                check(box);
            }
            if (closeBy == "ok") {
                QTest::mouseClick(button(*box, QStringLiteral("确定")), Qt::LeftButton);
            } else if (closeBy == "escape") {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                box->windowHandle()->close();
            }
        });
        m_dlg->list()->setFocus();
        QTest::keyClick(m_dlg->list(), Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(menu.done());
        QVERIFY(about.done());
        QTRY_VERIFY(!m_dlg->findChild<CAboutDlg*>());
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<CLookupDlg> m_dlg;

private slots:
    void init() { openWindowInFolder(); }
    void cleanup() {
        m_dlg.reset();
        QDir::setCurrent(QDir::tempPath());
        m_folder.reset();
    }

    void windowMenuEndsWithTheAboutEntry() {
        QStringList shown;
        WhenShown<QMenu> menu([&](QMenu* m) {
            shown = entries(m);
            QTest::keyClick(m, Qt::Key_Escape);
        });
        rightClickBackground();
        QVERIFY(menu.done());
        QCOMPARE(shown, (QStringList{"关闭(&C)", "-", "关于 Mirawen(&A)..."}));
    }

    void rightClickOnAControlOpensNoWindowMenu() {
        WhenShown<QMenu> menu([](QMenu* m) { QTest::keyClick(m, Qt::Key_Escape); });
        QTest::mouseClick(button(*m_dlg, QStringLiteral("确定")), Qt::RightButton);
        QTest::mouseClick(m_dlg->list()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
        QTest::mouseClick(m_dlg.get(), Qt::LeftButton, {}, QPoint(m_dlg->width() - 8, 8));
        QCoreApplication::processEvents();
        QVERIFY(!menu.done());
    }

    void keyboardOpensTheMenuOfTheFocusedControl() {
        // Shift+F10 on a button, which has no menu of its own: the window menu.
        QStringList shown;
        WhenShown<QMenu> windowMenu([&](QMenu* m) {
            shown = entries(m);
            QTest::keyClick(m, Qt::Key_Escape);
        });
        button(*m_dlg, QStringLiteral("确定"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(windowMenu.done());
        QCOMPARE(shown.last(), QStringLiteral("关于 Mirawen(&A)..."));

        // In the input box: the box's own editing menu.
        WhenShown<QMenu> editMenu([&](QMenu* m) {
            shown = entries(m);
            QTest::keyClick(m, Qt::Key_Escape);
        });
        m_dlg->input()->setFocus();
        QTest::keyClick(m_dlg->input(), Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(editMenu.done()); // the box's menu does not wait for an answer
        QVERIFY(!shown.contains(QStringLiteral("关于 Mirawen(&A)...")));
    }

    void aboutBoxLeavesTheWindowAsItWas_data() {
        QTest::addColumn<QString>("closeBy");
        QTest::newRow("确定") << "ok";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close button") << "close";
    }
    void aboutBoxLeavesTheWindowAsItWas() {
        QFETCH(QString, closeBy);
        m_dlg->input()->setText(QStringLiteral("si6"));
        QTest::keyClick(m_dlg->input(), Qt::Key_Return);
        const int scroll = m_dlg->list()->verticalScrollBar()->value();
        QVERIFY(scroll > 0);

        QStringList texts;
        bool modal = false;
        viaAboutBox(closeBy, [&](CAboutDlg* box) {
            texts << box->windowTitle();
            for (const QLabel* label : box->findChildren<QLabel*>()) {
                if (!label->text().isEmpty()) {
                    texts << label->text();
                }
            }
            modal = box->isModal() && QApplication::activeModalWidget() == box &&
                    box->parentWidget() == m_dlg.get();
        });
        QCOMPARE(texts, (QStringList{"关于 Mirawen", "Mirawen 1.0 版", "Copyright (C) 2026 Mirawen",
                                     "mirawen.example.org"}));
        QVERIFY2(modal, "the window cannot be used while the box is open");
        QVERIFY(m_dlg->isVisible());
        QCOMPARE(m_dlg->input()->text(), QStringLiteral("si6"));
        QCOMPARE(selectedWords(*m_dlg), (QStringList{"think", "sink"}));
        QCOMPARE(m_dlg->list()->verticalScrollBar()->value(), scroll);

        viaAboutBox(closeBy); // and again
    }

    void aboutBoxFollowsItsTemplate() {
        viaAboutBox("escape", [&](CAboutDlg* box) {
            QCOMPARE(box->font().pointSize(), 9);
            const QFontMetrics metrics(box->font());
            const int baseX =
                (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") /
                     26 +
                 1) /
                2;
            const int baseY = metrics.height();
            auto rect = [&](int x, int y, int w, int h) {
                return QRect((x * baseX + 2) / 4, (y * baseY + 4) / 8, (w * baseX + 2) / 4,
                             (h * baseY + 4) / 8);
            };
            QCOMPARE(box->size(), rect(0, 0, 235, 82).size());
            QCOMPARE(box->minimumSize(), box->maximumSize());
            QList<QWidget*> controls;
            for (QObject* child : box->children()) {
                if (auto* widget = qobject_cast<QWidget*>(child)) {
                    controls << widget;
                }
            }
            QCOMPARE(controls.size(), 5);
            QCOMPARE(controls[0]->geometry(), QRect(rect(11, 17, 0, 0).topLeft(), QSize(32, 32)));
            QCOMPARE(controls[1]->geometry(), rect(40, 10, 119, 8));
            QCOMPARE(controls[2]->geometry(), rect(40, 25, 119, 8));
            QCOMPARE(controls[3]->geometry(), rect(178, 7, 50, 14));
            QCOMPARE(controls[4]->geometry(), rect(39, 41, 119, 8));
            QVERIFY(qobject_cast<QPushButton*>(controls[3])->isDefault());
            QCOMPARE(qobject_cast<QLabel*>(controls[4])->textInteractionFlags(),
                     Qt::NoTextInteraction);
            const QPoint offset = box->frameGeometry().center() - m_dlg->frameGeometry().center();
            QVERIFY2(offset.manhattanLength() <= 2, "centred over the window");
        });
    }

    void emptyEntryTextLeavesEntryAndSeparatorOut() {
        m_dlg->setAboutMenuText(QString());
        QStringList shown;
        WhenShown<QMenu> menu([&](QMenu* m) {
            shown = entries(m);
            QTest::keyClick(m, Qt::Key_Escape);
        });
        rightClickBackground();
        QVERIFY(menu.done());
        QCOMPARE(shown, QStringList{"关闭(&C)"});
    }

    void closeEntryAsksFirst() {
        m_dlg->list()->setFocus();
        WhenShown<QMenu> menu([](QMenu* m) { QTest::keyClick(m, Qt::Key_C); });
        BoxAnswerer no({QMessageBox::No});
        QTest::keyClick(m_dlg->list(), Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(menu.done());
        QVERIFY(no.done());
        QCOMPARE(no.seen().front().text, QStringLiteral("是否退出?"));
        QVERIFY(m_dlg->isVisible());

        WhenShown<QMenu> again([](QMenu* m) { QTest::keyClick(m, Qt::Key_C); });
        BoxAnswerer yes({QMessageBox::Yes});
        QTest::keyClick(m_dlg->list(), Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(yes.done());
        QTRY_VERIFY(!m_dlg->isVisible());
    }

    void onlyTheAboutCommandOpensTheBox() {
        // The lowest four bits of a command do not count; other commands do.
        WhenShown<CAboutDlg> about([](CAboutDlg* box) { QTest::keyClick(box, Qt::Key_Escape); });
        m_dlg->OnSysCommand(CLookupDlg::IDM_ABOUTBOX | 0xF);
        QVERIFY(about.done());
        WhenShown<CAboutDlg> none([](CAboutDlg* box) { QTest::keyClick(box, Qt::Key_Escape); });
        m_dlg->OnSysCommand(0x0020);
        QCoreApplication::processEvents();
        QVERIFY(!none.done());
    }
};

QTEST_MAIN(tst_CAboutDlg)
#include "tst_CAboutDlg.moc"
