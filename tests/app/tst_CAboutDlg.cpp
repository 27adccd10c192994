#include "LookupFixture.h"
#include "app/CAboutDlg.h"

#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>

using namespace fixture;

namespace {

// The entries of a menu, "-" for a separator.
QStringList entries(const QWidget* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

} // namespace

class tst_CAboutDlg : public QObject {
    Q_OBJECT

    // Each menu that opens: its entries noted, then the key pressed on it.
    void whenMenu(Qt::Key key) {
        whenModal([this, key](QWidget* menu) {
            m_menus << (qobject_cast<QMenu*>(menu) ? entries(menu).join(' ') : QString());
            QTest::keyClick(menu, key);
        });
    }

    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<CLookupDlg> m_dlg;
    QStringList m_menus;

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }
    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(fill(m_folder->path()));
        m_dlg = openWindow(m_folder->path());
        QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
        m_menus.clear();
    }
    void cleanup() { m_dlg.reset(); }

    // The list and the box have menus of their own; the rest of the window is
    // background. The accent is a choice of two, kept between runs.
    void windowMenuOpensOnTheBackgroundOnly() {
        QTest::mouseClick(button(*m_dlg, QStringLiteral("确定")), Qt::RightButton);
        whenMenu(Qt::Key_Escape);
        QTest::mouseClick(m_dlg->list()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
        whenMenu(Qt::Key_Escape);
        QTest::mouseClick(m_dlg.get(), Qt::RightButton, {},
                          QPoint(m_dlg->width() - 8, 8)); // inside the group box
        whenMenu(Qt::Key_M);
        QTest::mouseClick(m_dlg.get(), Qt::RightButton, {}, QPoint(m_dlg->width() - 8, 8));
        QCOMPARE(m_dlg->accent(), lookup::Accent::American);
        m_dlg->setAboutMenuText(QString());
        whenMenu(Qt::Key_B);
        QTest::mouseClick(m_dlg.get(), Qt::RightButton, {}, QPoint(m_dlg->width() - 8, 8));
        const QString accents =
            QStringLiteral("关闭(&C) - 英式发音(&B) 美式发音(&M) - 导入词库(&I)...");
        QCOMPARE(m_menus, (QStringList{"朗读(&R) 复制(&C)", accents + " 关于 Mirawen(&A)...",
                                       accents + " 关于 Mirawen(&A)...", accents}));
        QCOMPARE(m_dlg->accent(), lookup::Accent::British);
        QSettings settings(QStringLiteral("Mirawen"), QStringLiteral("Mirawen"));
        QVERIFY2(settings.fileName().startsWith(m_settings.path()), "not the user's settings");
        QCOMPARE(settings.value(QStringLiteral("speech/accent")).toString(), "british");
        settings.setValue(QStringLiteral("speech/accent"), QStringLiteral("american"));
        QCOMPARE(openWindow(m_folder->path())->accent(), lookup::Accent::American);
    }

    void keyboardOpensTheMenuOfTheFocusedControl() {
        whenMenu(Qt::Key_Escape);
        openWindowMenu(*m_dlg);
        m_dlg->input()->setFocus();
        whenMenu(Qt::Key_Escape);
        QTest::keyClick(m_dlg->input(), Qt::Key_F10, Qt::ShiftModifier);
        QTRY_COMPARE(m_menus.size(), 2); // the box's own menu does not wait for an answer
        QVERIFY(m_menus[0].endsWith(QStringLiteral("关于 Mirawen(&A)...")));
        QVERIFY2(!m_menus[1].contains(QStringLiteral("Mirawen")),
                 "the input box keeps its editing menu");
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
        for (int time = 0; time < 2; ++time) { // and again
            QStringList seen;
            bool modalOverTheWindow = false;
            int offCentre = 0;
            auto inspectAndClose = [&] {
                auto* box = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
                if (!box) {
                    return;
                }
                seen << box->windowTitle() << QString::number(box->font().pointSize())
                     << misplaced(*box);
                for (const QLabel* label : box->findChildren<QLabel*>()) {
                    seen << label->text();
                }
                modalOverTheWindow = box->isModal() && box->parentWidget() == m_dlg.get();
                offCentre = (box->frameGeometry().center() - m_dlg->frameGeometry().center())
                                .manhattanLength();
                closeBy(*box, how);
            };
            // The box opens once the menu has closed, in a loop of its own.
            whenModal([&](QWidget* menu) {
                QTest::keyClick(menu, Qt::Key_A);
                QTimer::singleShot(0, inspectAndClose);
            });
            openWindowMenu(*m_dlg);
            QCOMPARE(seen, (QStringList{"关于 Mirawen", "9", "", "Mirawen 1.0 版",
                                        "Copyright (C) 2026 Mirawen", "mirawen.example.org"}));
            QVERIFY(modalOverTheWindow);
            QVERIFY(offCentre <= 2);
            QTRY_VERIFY(!m_dlg->findChild<CAboutDlg*>());
        }
        QCOMPARE(m_dlg->input()->text(), QStringLiteral("si6"));
        QCOMPARE(selectedWords(*m_dlg), (QStringList{"think", "sink"}));
        QCOMPARE(m_dlg->list()->verticalScrollBar()->value(), scroll);
    }

    void onlyTheAboutCommandOpensTheBox() {
        int opened = 0;
        whenModal([&opened](QWidget* box) {
            opened += qobject_cast<CAboutDlg*>(box) != nullptr;
            QTest::keyClick(box, Qt::Key_Escape);
        });
        m_dlg->OnSysCommand(CLookupDlg::IDM_ABOUTBOX | 0xF); // the lowest four bits do not count
        m_dlg->OnSysCommand(0x0020);
        QCOMPARE(opened, 1);
    }
};

QTEST_MAIN(tst_CAboutDlg)
#include "tst_CAboutDlg.moc"
