#include "LookupFixture.h"
#include "app/CAboutDlg.h"

#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>

using namespace fixture;

namespace {

// The entries of a menu, "-" for a separator.
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

    // The window menu from the keyboard, on the list, which has no menu of its
    // own. (A right click would leave its button held down while the menu and
    // what it opens run, and no click could reach them.)
    void openWindowMenu() {
        m_dlg->list()->setFocus();
        QTest::keyClick(m_dlg->list(), Qt::Key_F10, Qt::ShiftModifier);
    }

    // Opens the About box through the menu's access key, lets check look at
    // it, and closes it the given way.
    void viaAboutBox(const QString& how, const std::function<void(CAboutDlg*)>& check = {}) {
        WhenShown<QMenu> menu([](QMenu* m) { QTest::keyClick(m, Qt::Key_A); });
        WhenShown<CAboutDlg> about([&](CAboutDlg* box) {
            if (check) {
                check(box);
            }
            closeBy(*box, how);
        });
        openWindowMenu();
        QVERIFY(about.done());
        QTRY_VERIFY(!m_dlg->findChild<CAboutDlg*>());
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<CLookupDlg> m_dlg;

private slots:
    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(m_folder->path()) && fill(m_folder->path()));
        m_dlg = openWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
    }
    void cleanup() {
        m_dlg.reset();
        QDir::setCurrent(QDir::tempPath());
    }

    void windowMenuOpensOnTheBackgroundOnly() {
        QStringList shown;
        WhenShown<QMenu> menu([&](QMenu* m) {
            shown << entries(m).join(' ');
            QTest::keyClick(m, Qt::Key_Escape);
        });
        QTest::mouseClick(button(*m_dlg, QStringLiteral("确定")), Qt::RightButton);
        QTest::mouseClick(m_dlg->list()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
        QTest::mouseClick(m_dlg.get(), Qt::RightButton, {},
                          QPoint(m_dlg->width() - 8, 8)); // inside the group box
        m_dlg->setAboutMenuText(QString());
        QTest::mouseClick(m_dlg.get(), Qt::RightButton, {}, QPoint(m_dlg->width() - 8, 8));
        QCOMPARE(shown, (QStringList{"关闭(&C) - 关于 Mirawen(&A)...", "关闭(&C)"}));
    }

    void keyboardOpensTheMenuOfTheFocusedControl() {
        QStringList shown;
        WhenShown<QMenu> menu([&](QMenu* m) {
            shown << entries(m).last();
            QTest::keyClick(m, Qt::Key_Escape);
        });
        openWindowMenu();
        m_dlg->input()->setFocus();
        QTest::keyClick(m_dlg->input(), Qt::Key_F10, Qt::ShiftModifier);
        QTRY_COMPARE(shown.size(), 2); // the box's own menu does not wait for an answer
        QCOMPARE(shown[0], QStringLiteral("关于 Mirawen(&A)..."));
        QVERIFY2(shown[1] != shown[0], "the input box keeps its editing menu");
    }

    void aboutBoxLeavesTheWindowAsItWas_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("确定") << "确定";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close button") << "close";
    }
    void aboutBoxLeavesTheWindowAsItWas() {
        QFETCH(QString, how);
        search(*m_dlg, QStringLiteral("si6"));
        const int scroll = m_dlg->list()->verticalScrollBar()->value();
        QStringList texts;
        viaAboutBox(how, [&](CAboutDlg* box) {
            texts << box->windowTitle();
            for (const QLabel* label : box->findChildren<QLabel*>()) {
                texts << label->text();
            }
            const Units rect(box->font());
            QCOMPARE(box->font().pointSize(), 9);
            QCOMPARE(box->maximumSize(), rect(0, 0, 235, 82).size());
            QCOMPARE(box->minimumSize(), box->maximumSize());
            const QList<QRect> placed{QRect(rect(11, 17, 0, 0).topLeft(), QSize(32, 32)),
                                      rect(40, 10, 119, 8), rect(40, 25, 119, 8),
                                      rect(178, 7, 50, 14), rect(39, 41, 119, 8)};
            QList<QRect> actual;
            for (const QWidget* child :
                 box->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                actual << child->geometry();
            }
            QCOMPARE(actual, placed);
            QCOMPARE(box->findChildren<QLabel*>().last()->textInteractionFlags(),
                     Qt::NoTextInteraction);
            QVERIFY((box->frameGeometry().center() - m_dlg->frameGeometry().center())
                        .manhattanLength() <= 2);
            QVERIFY(box->isModal() && QApplication::activeModalWidget() == box &&
                    box->parentWidget() == m_dlg.get());
        });
        QCOMPARE(texts, (QStringList{"关于 Mirawen", "", "Mirawen 1.0 版",
                                     "Copyright (C) 2026 Mirawen", "mirawen.example.org"}));
        QCOMPARE(m_dlg->input()->text(), QStringLiteral("si6"));
        QCOMPARE(selectedWords(*m_dlg), (QStringList{"think", "sink"}));
        QCOMPARE(m_dlg->list()->verticalScrollBar()->value(), scroll);
        viaAboutBox(how); // and again
    }

    void closeEntryAsksFirst() {
        WhenShown<QMenu> menu([](QMenu* m) { QTest::keyClick(m, Qt::Key_C); });
        {
            Answer no(QMessageBox::No);
            openWindowMenu();
            QCOMPARE(no.seen, QStringList{"确定|是否退出?|Yes No|owned"});
            QVERIFY(m_dlg->isVisible());
        }
        Answer yes(QMessageBox::Yes);
        openWindowMenu();
        QTRY_VERIFY(!m_dlg->isVisible());
    }

    void onlyTheAboutCommandOpensTheBox() {
        WhenShown<CAboutDlg> about([](CAboutDlg* box) { QTest::keyClick(box, Qt::Key_Escape); });
        m_dlg->OnSysCommand(CLookupDlg::IDM_ABOUTBOX | 0xF); // the lowest four bits do not count
        m_dlg->OnSysCommand(0x0020);
        QCoreApplication::processEvents();
        QCOMPARE(about.count(), 1);
    }
};

QTEST_MAIN(tst_CAboutDlg)
#include "tst_CAboutDlg.moc"
