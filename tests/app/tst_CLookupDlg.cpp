#include "LookupFixture.h"
#include "app/CLookupApp.h"
#include "controls/CHyperLinkButton.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>

using namespace fixture;

class tst_CLookupDlg : public QObject {
    Q_OBJECT

    // Opens the window on a fresh folder holding the lists and the font asked
    // for (see fill).
    std::unique_ptr<CLookupDlg> open(bool font = true, bool list4 = true,
                                     const QByteArray& band6 = kBand6) {
        m_folder = std::make_unique<QTemporaryDir>();
        const bool filled = fill(m_folder->path(), font, list4, band6);
        auto dlg = openWindow(m_folder->path(), &m_notices);
        m_ready = filled && QTest::qWaitForWindowActive(dlg.get());
        return dlg;
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    QStringList m_notices;
    bool m_ready = false;

private slots:
    void initTestCase() { CLookupApp::installTranslations(); }
    void cleanup() { m_folder.reset(); }

    // Whatever was read is shown, sorted; the notices come first, through the
    // message box, in order (their texts are the lookup layer's to test).
    void startsWithWhatIsThere_data() {
        QTest::addColumn<bool>("font");
        QTest::addColumn<bool>("list4");
        QTest::addColumn<QByteArray>("band6");
        QTest::addColumn<QStringList>("notices");
        QTest::addColumn<QString>("firstWord");
        const QString fontMissing = "Mirawen|没有音标字体文件:TOPhonetic.ttf|OK";
        QTest::newRow("all there") << true << true << kBand6 << QStringList{} << "f00";
        QTest::newRow("no band 4, band 6 a folder")
            << false << false << QByteArray("folder")
            << QStringList{fontMissing, "Mirawen|没有词库文件:大学四级.txt|OK",
                           "Mirawen|无法读取词库文件:大学六级.txt（这是文件夹，不是文件）|OK"}
            << QString();
        QTest::newRow("no band 4")
            << true << false << kBand6 << QStringList{"Mirawen|没有词库文件:大学四级.txt|OK"}
            << "shipment";
    }
    void startsWithWhatIsThere() {
        QFETCH(bool, font);
        QFETCH(bool, list4);
        QFETCH(QByteArray, band6);
        QFETCH(QStringList, notices);
        QFETCH(QString, firstWord);
        auto dlg = open(font, list4, band6);
        QVERIFY(m_ready);
        QCOMPARE(m_notices, notices); // no icon and no owner: shown before the window
        QCOMPARE(dlg->list()->model()->index(0, 0).data().toString(), firstWord);
        QCOMPARE(dlg->list()->font().family(), QStringLiteral("TOPhonetic"));
        QCOMPARE(dlg->input()->font().pointSize(), 16);
        QCOMPARE(QApplication::focusWidget(), dlg->input());
        search(*dlg, QStringLiteral("si6"));
        QCOMPARE(selectedWords(*dlg).size(), int(list4) + int(band6 == kBand6));
    }

    // Every match ends up in view, wherever the list was scrolled, as
    // scrolling each match into view in turn leaves it; none becomes current,
    // and the arrow keys then start from the first match.
    void enterSelectsEveryMatchAndShowsThem_data() {
        QTest::addColumn<int>("topRow");
        QTest::addColumn<bool>("lastMatchAtBottom");
        QTest::newRow("list at the top") << 0 << true;
        QTest::newRow("list at the bottom") << int(RowCount) << false;
        QTest::newRow("list in the middle of the matches") << int(Shipping) << false;
    }
    void enterSelectsEveryMatchAndShowsThem() {
        QFETCH(int, topRow);
        QFETCH(bool, lastMatchAtBottom);
        auto dlg = open();
        QVERIFY(m_ready);
        QTableView* list = dlg->list();
        list->verticalScrollBar()->setValue(topRow);
        search(*dlg, QStringLiteral("5ip"));
        QVERIFY2(dlg->isVisible(), "Enter searches; it does not close the window");
        QCOMPARE(selectedWords(*dlg), (QStringList{"sheep", "ship", "shipping", "shipment"}));
        QCOMPARE(QApplication::focusWidget(), list);
        QCOMPARE(dlg->input()->text(), QStringLiteral("5ip"));
        const QRect view = list->viewport()->rect();
        for (int row = Sheep; row <= Shipment; ++row) {
            QVERIFY2(view.contains(list->visualRect(list->model()->index(row, 0))),
                     qPrintable(QString::number(row)));
        }
        if (lastMatchAtBottom) {
            QVERIFY(!view.contains(list->visualRect(list->model()->index(Shipment + 1, 0))));
        } else {
            QCOMPARE(list->rowAt(0), int(Sheep));
        }
        QVERIFY2(!list->currentIndex().isValid(), "selected, not current");
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentIndex().row(), int(Sheep));
        QVERIFY(view.contains(list->visualRect(list->model()->index(Shipment, 0))));
    }

    // A cell draws the beginning of a long text; a left click on a row copies
    // its whole key, other clicks nothing.
    void clickCopiesTheWholeKey() {
        const QByteArray key(40000, 'b');
        auto dlg = open(true, false, "long [" + key + "] " + QByteArray(1 << 20, 'm') + "\n");
        QVERIFY(m_ready);
        QTableView* list = dlg->list();
        QCOMPARE(list->model()->index(0, 2).data().toString().size(), 1001);
        const QPoint at = list->visualRect(list->model()->index(0, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(dlg->input()->text(), QString(key));
        dlg->input()->setText(QStringLiteral("typed"));
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(5, list->viewport()->height() - 3));
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(dlg->input()->text(), QStringLiteral("typed"));
    }

    // What OK does to the selection and the focus (which rows match is the
    // lookup layer's to test).
    void searchEdgeCases_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<bool>("listFocused");
        QTest::newRow("empty: nothing changes") << "" << QStringList{"night"} << false;
        QTest::newRow("longer than every key") << "5ipm4nt5ipm4nt" << QStringList{} << false;
        QTest::newRow("a lone surrogate, as U+FFFD")
            << QString(QChar(0xD800)) << QStringList{} << true;
    }
    void searchEdgeCases() {
        QFETCH(QString, input);
        QFETCH(QStringList, selected);
        QFETCH(bool, listFocused);
        auto dlg = open();
        QVERIFY(m_ready);
        search(*dlg, QStringLiteral("nai"));
        dlg->input()->setFocus();
        dlg->input()->setText(input); // as typed, or through an input method
        QTest::keyClick(dlg->input(), Qt::Key_Return);
        QCOMPARE(selectedWords(*dlg), selected);
        QCOMPARE(QApplication::focusWidget(),
                 listFocused ? static_cast<QWidget*>(dlg->list()) : dlg->input());
    }

    void closingAsksFirst_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close button") << "close";
        QTest::newRow("退出") << "退出";
    }
    void closingAsksFirst() {
        QFETCH(QString, how);
        auto dlg = open();
        QVERIFY(m_ready);
        search(*dlg, QStringLiteral("si6"));
        const int scroll = dlg->list()->verticalScrollBar()->value();
        MessageBox::setNextAnswer(QMessageBox::No);
        closeBy(*dlg, how);
        QCOMPARE(MessageBox::answered(), QStringList{"确定|是否退出?|Yes No|owned"});
        QVERIFY(dlg->isVisible());
        QCOMPARE(dlg->input()->text(), QStringLiteral("si6"));
        QCOMPARE(selectedWords(*dlg), (QStringList{"think", "sink"}));
        QVERIFY(scroll > 0);
        QCOMPARE(dlg->list()->verticalScrollBar()->value(), scroll);
        MessageBox::setNextAnswer(QMessageBox::Yes);
        closeBy(*dlg, how);
        QCOMPARE(MessageBox::answered().size(), 1);
        QTRY_VERIFY(!dlg->isVisible());
    }

    // What a layout can get wrong; the pixels are the smoke test's to see.
    void layoutHoldsTogether() {
        auto dlg = open();
        QVERIFY(m_ready);
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Mirawen 1.0"));
        QVERIFY(
            dlg->minimumSize() == dlg->maximumSize() &&
            !(dlg->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(misplaced(*dlg, dlg->findChild<QGroupBox*>()), QStringList{});
        QCOMPARE(dlg->childAt(dlg->input()->geometry().center()), dlg->input());
        for (const QLabel* label : dlg->findChildren<QLabel*>()) {
            QVERIFY2(label->sizeHint().width() <= label->width() + 1, qPrintable(label->text()));
        }
        for (const QPushButton* b : dlg->findChildren<QPushButton*>()) {
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) < b->width(),
                     qPrintable(b->text()));
        }
        QStringList columns;
        for (int column = 0; column < dlg->list()->model()->columnCount(); ++column) {
            columns << dlg->list()->model()->headerData(column, Qt::Horizontal).toString();
        }
        QCOMPARE(columns, (QStringList{"英文", "音标", "中文", "级"}));

        QStringList tabOrder;
        QWidget* w = dlg->input();
        do {
            if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() == dlg.get()) {
                tabOrder << w->metaObject()->className() +
                                (qobject_cast<QPushButton*>(w)
                                     ? QStringLiteral(" ") + static_cast<QPushButton*>(w)->text()
                                     : QString());
            }
            w = w->nextInFocusChain();
        } while (w != dlg->input());
        QCOMPARE(tabOrder,
                 (QStringList{"QLineEdit", "QPushButton 确定", "EntryListView", "QPushButton 退出",
                              "CHyperLinkButton mirawen.example.org"}));
        QVERIFY(button(*dlg, QStringLiteral("确定"))->isDefault());
        const QPoint offCentre =
            dlg->frameGeometry().center() - dlg->screen()->availableGeometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 2, "centred on the screen");
    }
};

QTEST_MAIN(tst_CLookupDlg)
#include "tst_CLookupDlg.moc"
