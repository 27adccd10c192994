#include "LookupFixture.h"
#include "app/CLookupApp.h"
#include "app/CLookupDlg.h"
#include "controls/CHyperLinkButton.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

using namespace fixture;

class tst_CLookupDlg : public QObject {
    Q_OBJECT

private:
    // A working folder with the given lists and, unless told otherwise, the font.
    void prepareFolder(bool font = true, bool list4 = true, bool list6 = true) {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        QVERIFY(QDir::setCurrent(m_folder->path()));
        QVERIFY(fill(m_folder->path(), font, list4, list6));
    }

    // Opens the window, which must show the given number of notices first.
    std::unique_ptr<CLookupDlg> open(int expectedBoxes = 0) {
        auto dlg = openWindow(&m_boxes);
        [&] {
            QCOMPARE(m_boxes.size(), expectedBoxes);
            QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
        }();
        return dlg;
    }

    void search(CLookupDlg& dlg, const QString& input) {
        dlg.input()->clear();
        QTest::keyClicks(dlg.input(), input);
        QTest::keyClick(dlg.input(), Qt::Key_Return);
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    QList<BoxAnswerer::Seen> m_boxes;

private slots:
    void initTestCase() { CLookupApp::installTranslations(); }
    void cleanup() {
        QDir::setCurrent(QDir::tempPath());
        m_folder.reset();
    }

    void startsWithOrWithoutTheFontFile_data() {
        QTest::addColumn<bool>("font");
        QTest::newRow("font present") << true;
        QTest::newRow("font missing") << false;
    }
    void startsWithOrWithoutTheFontFile() {
        QFETCH(bool, font);
        prepareFolder(font);
        auto dlg = open(font ? 0 : 1);
        if (!font) {
            const auto& box = m_boxes.front();
            QCOMPARE(box.text, QStringLiteral("没有音标字体文件:TOPhonetic.ttf"));
            QCOMPARE(box.caption, QStringLiteral("Mirawen"));
            QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(box.icon, QMessageBox::NoIcon);
            QVERIFY2(!box.owned, "shown before the window exists");
        }
        QCOMPARE(dlg->list()->model()->rowCount(), int(RowCount));
        QCOMPARE(dlg->list()->font().family(), QStringLiteral("TOPhonetic"));
        QCOMPARE(dlg->input()->font().pointSize(), 16);
        QCOMPARE(QApplication::focusWidget(), dlg->input());
    }

    // A missing list is named and whatever was read is still shown, sorted.
    void showsWhateverListsWereRead_data() {
        QTest::addColumn<bool>("list4");
        QTest::addColumn<bool>("list6");
        QTest::addColumn<QStringList>("notices");
        QTest::addColumn<QStringList>("firstWords");
        QTest::newRow("both") << true << true << QStringList{} << QStringList{"f00", "f01"};
        QTest::newRow("band 6 missing") << true << false << QStringList{"没有词库文件:大学六级.txt"}
                                        << QStringList{"f00", "f01"};
        QTest::newRow("band 4 missing") << false << true << QStringList{"没有词库文件:大学四级.txt"}
                                        << QStringList{"shipment", "sink"};
        QTest::newRow("both missing")
            << false << false
            << QStringList{"没有词库文件:大学四级.txt", "没有词库文件:大学六级.txt"}
            << QStringList{};
    }
    void showsWhateverListsWereRead() {
        QFETCH(bool, list4);
        QFETCH(bool, list6);
        QFETCH(QStringList, notices);
        QFETCH(QStringList, firstWords);
        prepareFolder(true, list4, list6);
        auto dlg = open(int(notices.size()));
        QStringList shown;
        for (const auto& box : m_boxes) {
            shown << box.text;
            QCOMPARE(box.caption, QStringLiteral("Mirawen"));
            QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(box.icon, QMessageBox::NoIcon);
        }
        QCOMPARE(shown, notices);
        QStringList first;
        for (int row = 0; row < std::min(2, dlg->list()->model()->rowCount()); ++row) {
            first << dlg->list()->model()->index(row, 0).data().toString();
        }
        QCOMPARE(first, firstWords);
        search(*dlg, QStringLiteral("si6"));
        QCOMPARE(selectedWords(*dlg).isEmpty(), !list4 && !list6);
    }

    void enterSelectsEveryMatchAndShowsTheLast() {
        prepareFolder();
        auto dlg = open();
        QCOMPARE(dlg->list()->verticalScrollBar()->value(), 0);
        search(*dlg, QStringLiteral("5ip"));
        QVERIFY2(dlg->isVisible(), "Enter searches; it does not close the window");
        QCOMPARE(selectedWords(*dlg), (QStringList{"sheep", "ship", "shipping", "shipment"}));
        QCOMPARE(QApplication::focusWidget(), dlg->list());
        QCOMPARE(dlg->input()->text(), QStringLiteral("5ip"));
        const QRect last = dlg->list()->visualRect(dlg->list()->model()->index(Shipment, 0));
        QVERIFY2(dlg->list()->viewport()->rect().contains(last),
                 "the last match is wholly in view");
        QVERIFY(!dlg->list()->selectionModel()->isSelected(dlg->list()->currentIndex()));

        // θ folds into s, so ‹7i6› and ‹si6› find the same rows.
        search(*dlg, QStringLiteral("7i6"));
        QCOMPARE(selectedWords(*dlg), (QStringList{"think", "sink"}));
        search(*dlg, QStringLiteral("nai"));
        QCOMPARE(selectedWords(*dlg), QStringList{"night"});
    }

    void emptyInputChangesNothing() {
        prepareFolder();
        auto dlg = open();
        search(*dlg, QStringLiteral("5ip"));
        dlg->input()->clear();
        QTest::mouseClick(button(*dlg, QStringLiteral("确定")), Qt::LeftButton);
        QCOMPARE(selectedWords(*dlg), (QStringList{"sheep", "ship", "shipping", "shipment"}));
        dlg->input()->setFocus();
        QTest::keyClick(dlg->input(), Qt::Key_Return);
        QCOMPARE(selectedWords(*dlg), (QStringList{"sheep", "ship", "shipping", "shipment"}));
        QCOMPARE(QApplication::focusWidget(), dlg->input());
    }

    void oneKeystrokeSelectsOneRow() {
        prepareFolder();
        auto dlg = open();
        search(*dlg, QStringLiteral("5"));
        QCOMPARE(selectedWords(*dlg), QStringList{"sheep"});
        search(*dlg, QStringLiteral("7"));
        QCOMPARE(selectedWords(*dlg), QStringList{"think"});
    }

    void inputNoKeyBeginsWith() {
        prepareFolder();
        auto dlg = open();
        search(*dlg, QStringLiteral("5ip"));
        search(*dlg, QStringLiteral("5i'p"));
        QCOMPARE(selectedWords(*dlg), QStringList{});
        // Some keys were long enough.
        QCOMPARE(QApplication::focusWidget(), dlg->list());

        dlg->input()->setFocus();
        search(*dlg, QStringLiteral("5ipm4nt5ipm4nt"));
        QCOMPARE(selectedWords(*dlg), QStringList{});
        // No key is that long.
        QCOMPARE(QApplication::focusWidget(), dlg->input());
        // Typed through an input method: a character GBK cannot hold.
        dlg->input()->setText(QStringLiteral("5ip😀"));
        QTest::keyClick(dlg->input(), Qt::Key_Return);
        QCOMPARE(selectedWords(*dlg), QStringList{});
    }

    void leftClickOnARowCopiesItsKey() {
        prepareFolder(true, false, true);
        auto dlg = open(1);
        QTableView* list = dlg->list();
        const QPoint sink = list->visualRect(list->model()->index(1, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, sink);
        QCOMPARE(dlg->input()->text(), QStringLiteral("si6k"));

        dlg->input()->setText(QStringLiteral("typed"));
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, sink);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(5, list->viewport()->height() - 3));
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(dlg->input()->text(), QStringLiteral("typed"));

        search(*dlg, QStringLiteral("si6k"));
        QCOMPARE(selectedWords(*dlg), QStringList{"sink"});
    }

    void closingAsksFirst_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close button") << "close";
        QTest::newRow("退出") << "exit";
    }
    void closingAsksFirst() {
        QFETCH(QString, how);
        prepareFolder();
        auto dlg = open();
        search(*dlg, QStringLiteral("si6"));
        const int scroll = dlg->list()->verticalScrollBar()->value();
        QVERIFY(scroll > 0);
        auto close = [&] {
            if (how == "escape") {
                QTest::keyClick(dlg->list(), Qt::Key_Escape);
            } else if (how == "close") {
                dlg->windowHandle()->close();
            } else {
                QTest::mouseClick(button(*dlg, QStringLiteral("退出")), Qt::LeftButton);
            }
        };

        BoxAnswerer no({QMessageBox::No});
        close();
        QVERIFY(no.done());
        QCOMPARE(no.seen().size(), 1);
        QCOMPARE(no.seen()[0].text, QStringLiteral("是否退出?"));
        QCOMPARE(no.seen()[0].caption, QStringLiteral("确定"));
        QCOMPARE(no.seen()[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(no.seen()[0].owned);
        QVERIFY(dlg->isVisible());
        QCOMPARE(dlg->input()->text(), QStringLiteral("si6"));
        QCOMPARE(selectedWords(*dlg), (QStringList{"think", "sink"}));
        QCOMPARE(dlg->list()->verticalScrollBar()->value(), scroll);

        BoxAnswerer yes({QMessageBox::Yes});
        close();
        QVERIFY(yes.done());
        QTRY_VERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
    }

    void layoutFollowsTheTemplate() {
        prepareFolder();
        auto dlg = open();
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Mirawen 1.0"));
        QCOMPARE(dlg->font().family(), QStringLiteral("宋体"));
        QCOMPARE(dlg->font().pointSize(), 10);
        const Qt::WindowFlags flags = dlg->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                           Qt::WindowContextHelpButtonHint)));

        // Dialog units from the font, as Windows computes them.
        const QFontMetrics metrics(dlg->font());
        const int baseX =
            (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") /
                 26 +
             1) /
            2;
        const int baseY = metrics.height();
        auto px = [](int units, int base, int div) { return (units * base + div / 2) / div; };
        auto rect = [&](int x, int y, int w, int h) {
            return QRect(px(x, baseX, 4), px(y, baseY, 8), px(w, baseX, 4), px(h, baseY, 8));
        };
        QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
        QCOMPARE(dlg->size(), rect(0, 0, 341, 374).size());

        QPushButton* ok = button(*dlg, QStringLiteral("确定"));
        QPushButton* exit = button(*dlg, QStringLiteral("退出"));
        auto* link = dlg->findChild<CHyperLinkButton*>();
        auto* group = dlg->findChild<QGroupBox*>();
        QLabel* chart = nullptr;
        QLabel* caption = nullptr;
        for (auto* label : dlg->findChildren<QLabel*>()) {
            (label->pixmap().isNull() ? caption : chart) = label;
        }
        QVERIFY(ok && exit && link && group && chart && caption);
        QVERIFY(ok->isDefault());
        QCOMPARE(group->title(), QStringLiteral("请输入音标查询（不必全部输入）"));
        QCOMPARE(caption->text(), QStringLiteral("(音标--键盘对照)"));
        QCOMPARE(link->text(), QStringLiteral("mirawen.example.org"));
        QCOMPARE(link->controlId(), 1002);
        QCOMPARE(chart->pixmap().size(), QSize(209, 59));
        QCOMPARE(chart->frameShadow(), QFrame::Sunken);

        QCOMPARE(dlg->input()->geometry(), rect(13, 22, 153, 19));
        QCOMPARE(ok->geometry(), rect(64, 50, 44, 14));
        QCOMPARE(dlg->list()->geometry(), rect(7, 77, 327, 270));
        QCOMPARE(exit->geometry(), rect(284, 353, 50, 14));
        QCOMPARE(chart->geometry().topLeft(), rect(199, 14, 0, 0).topLeft());
        QCOMPARE(caption->geometry(), rect(228, 59, 62, 8));
        QCOMPARE(link->geometry(), rect(7, 355, 179, 12));
        QCOMPARE(group->geometry(), rect(7, 7, 327, 64));
        QVERIFY2(group->childAt(rect(13, 22, 1, 1).topLeft()) == nullptr &&
                     dlg->childAt(dlg->input()->geometry().center()) == dlg->input(),
                 "the group box lies behind the input box");

        QHeaderView* header = dlg->list()->horizontalHeader();
        const QStringList headings{"英文", "音标", "中文", "级"};
        const QList<int> widths{120, 120, 260, 50};
        for (int column = 0; column < 4; ++column) {
            QCOMPARE(dlg->list()->model()->headerData(column, Qt::Horizontal).toString(),
                     headings[column]);
            QCOMPARE(header->sectionSize(column), widths[column]);
        }
        QVERIFY(header->sectionsMovable());
        QVERIFY(!header->sectionsClickable());
        QVERIFY(!dlg->list()->verticalHeader()->isVisible());
        QVERIFY(dlg->list()->showGrid());
        QCOMPARE(dlg->list()->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(dlg->list()->selectionMode(), QAbstractItemView::ExtendedSelection);

        QList<QWidget*> order{dlg->input()};
        for (QWidget* w = dlg->input()->nextInFocusChain(); w != dlg->input();
             w = w->nextInFocusChain()) {
            if (w->focusPolicy() & Qt::TabFocus && w->isVisible() &&
                w->parentWidget() == dlg.get()) {
                order << w;
            }
        }
        QCOMPARE(order, (QList<QWidget*>{dlg->input(), ok, dlg->list(), exit, link}));

        const QPoint centre = dlg->screen()->availableGeometry().center();
        QVERIFY2((dlg->frameGeometry().center() - centre).manhattanLength() <= 2,
                 "centred on the screen");
    }
};

QTEST_MAIN(tst_CLookupDlg)
#include "tst_CLookupDlg.moc"
