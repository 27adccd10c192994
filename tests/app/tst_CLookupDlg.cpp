#include "LookupFixture.h"
#include "app/CAboutDlg.h"
#include "app/CLookupApp.h"
#include "app/DialogStyle.h"
#include "app/FileDialog.h"
#include "controls/CHyperLinkButton.h"
#include "lookup/Cells.h"
#include "lookup/Texts.h"
#include "lookup/TypedText.h"

#include <QClipboard>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QToolTip>

using namespace fixture;

// The rows of the data-driven tests below, one struct a test.
struct Import {
    QString csv; // empty: the file dialog cancelled
    bool userLists;
    QStringList answers, boxes, words;
};
struct Paste {
    QString pasted, shown;
    QStringList selected;
};
struct Start {
    bool font, list4;
    QByteArray band6;
    QStringList notices;
    QString firstWord;
};
struct Typed {
    QString input;
    QStringList selected;
    bool listFocused;
};
Q_DECLARE_METATYPE(Import)
Q_DECLARE_METATYPE(Paste)
Q_DECLARE_METATYPE(Start)
Q_DECLARE_METATYPE(Typed)

class tst_CLookupDlg : public QObject {
    Q_OBJECT

    // Opens the window on a fresh folder holding the lists and the font asked
    // for (see fill), as m_dlg; false unless all is there and the window active.
    bool open(bool font = true, bool list4 = true, const QByteArray& band6 = kBand6) {
        m_folder = std::make_unique<QTemporaryDir>();
        const bool filled = fill(m_folder->path(), font, list4, band6);
        m_dlg = openWindow(m_folder->path(), &m_notices);
        return filled && QTest::qWaitForWindowActive(m_dlg.get());
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<CLookupDlg> m_dlg;
    QStringList m_notices;

    // The texts of the About box that opens next, read and the box closed.
    static QStringList aboutTexts(CLookupDlg& dlg) {
        QStringList texts;
        whenModal([&texts](QWidget* box) {
            for (const QLabel* label : box->findChildren<QLabel*>()) {
                texts << label->text();
            }
            QTest::keyClick(box, Qt::Key_Escape);
        });
        dlg.OnSysCommand(CLookupDlg::IDM_ABOUTBOX);
        return texts;
    }

    // The middle of a cell, and the word of a row.
    static QPoint centre(const QTableView* list, int row, int column = 0) {
        return list->visualRect(list->model()->index(row, column)).center();
    }
    static QString word(const CLookupDlg& dlg, int row) {
        return dlg.list()->model()->index(row, 0).data().toString();
    }

    QTemporaryDir m_settings;

private slots:
    void initTestCase() {
        CLookupApp::installTranslations();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        qputenv("MIRAWEN_ESPEAK", "/nonexistent/espeak-ng");
    }
    void cleanup() {
        QDir::setCurrent(QDir::tempPath());
        m_dlg.reset();
        m_folder.reset();
    }

    // From the window menu, with the sample lists in a system data folder:
    // the CSV chosen, the user's lists replaced only when the learner says
    // so, one notice, and the window then shows the user's lists.
    void importsFromTheWindowMenu_data() {
        QTest::addColumn<Import>("c");
        const QString ask = "导入词库|已有词库，是否替换?|Yes No|owned";
        const QString imported =
            "导入词库|词库已导入：大学四级.txt 1 个词，大学六级.txt 1 个词，跳过 "
            "1 行（共读了 3 行）。|OK|owned";
        const QStringList sample{"f00", "f01"}, fresh{"ship", "sink"};
        const QString failed = "导入词库|导入失败，词库没有改变：…|OK|owned";
        QTest::newRow("first import") << Import{"ecdict.csv", false, {"OK"}, {imported}, fresh};
        QTest::newRow("replace: yes")
            << Import{"ecdict.csv", true, {"Yes", "OK"}, {ask, imported}, fresh};
        QTest::newRow("replace: no") << Import{"ecdict.csv", true, {"No"}, {ask}, sample};
        QTest::newRow("unreadable CSV") << Import{"missing.csv", false, {"OK"}, {failed}, sample};
        QTest::newRow("dialog cancelled") << Import{"", true, {}, {}, sample};
    }
    void importsFromTheWindowMenu() {
        QFETCH(Import, c);
        m_folder = std::make_unique<QTemporaryDir>();
        const QDir root(m_folder->path());
        QVERIFY(root.mkpath("system/mirawen") && root.mkpath("home/mirawen"));
        QVERIFY(fill(root.filePath("system/mirawen"), false));
        QVERIFY(!c.userLists || fill(root.filePath("home/mirawen"), false, false));
        QFile file(root.filePath("ecdict.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "word,phonetic,translation,tag\nship,ʃɪp,n. 船,cet4\nsink,sɪŋk,,cet6\n,ʃ,,cet4\n");
        file.close();
        QVERIFY(QDir::setCurrent(root.path()));
        qputenv("HOME", root.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", root.filePath("home").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", root.filePath("system").toLocal8Bit());
        auto dlg = openWindow(root.filePath("system/mirawen"));
        QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
        QVERIFY(aboutTexts(*dlg).contains(qText(lookup::text::kSampleLists)));
        search(*dlg, QStringLiteral("5ip"));

        FileDialog::setNextAnswer(c.csv.isEmpty() ? c.csv : root.filePath(c.csv));
        for (const QString& answer : c.answers) {
            MessageBox::setNextAnswer(answer == "Yes"  ? QMessageBox::Yes
                                      : answer == "No" ? QMessageBox::No
                                                       : QMessageBox::Ok);
        }
        // While it runs, before its progress shows, the window takes no input
        // and no close; the progress may still cancel.
        QList<bool> during; // shown, enabled, progress enabled
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] {
            if (auto* progress = dlg->findChild<QProgressDialog*>(); progress && during.isEmpty()) {
                closeBy(*dlg, QStringLiteral("close"));
                closeBy(*dlg, QStringLiteral("escape"));
                during = {dlg->isVisible(), dlg->isEnabled(), progress->isEnabled()};
            }
        });
        probe.start(0);
        whenModal([](QWidget* menu) { QTest::keyClick(menu, Qt::Key_I); });
        openWindowMenu(*dlg);
        QTRY_COMPARE(MessageBox::unanswered(), 0);
        const bool ran = !c.csv.isEmpty() && !c.answers.contains("No");
        QCOMPARE(during, (ran ? QList<bool>{true, false, true} : QList<bool>{}));
        QVERIFY(dlg->isEnabled());
        QCOMPARE(dlg->focusWidget(), button(*dlg, QStringLiteral("确定"))); // where it was
        QCOMPARE(FileDialog::answered(), QStringList{qText(lookup::text::kImportChoose) +
                                                     "|CSV 文件 (*.csv);;所有文件 (*)"});
        QStringList shown = MessageBox::answered();
        for (QString& box : shown) { // the system's own words for why
            box.replace(QRegularExpression("改变：.*\\|OK"), "改变：…|OK");
        }
        QCOMPARE(shown, c.boxes);
        QCOMPARE((QStringList{word(*dlg, 0), word(*dlg, 1)}), c.words);
        const bool reloaded = c.words.first() == "ship";
        QCOMPARE(dlg->list()->model()->rowCount(), reloaded ? 2 : int(RowCount));
        QCOMPARE(selectedWords(*dlg).isEmpty(), reloaded);
        QCOMPARE(dlg->list()->font().family(), QStringLiteral("TOPhonetic"));
        QCOMPARE(aboutTexts(*dlg).contains(qText(lookup::text::kSampleLists)), !reloaded);
    }

    // Pasted IPA shows as its keys, which Enter then looks up; one Ctrl+Z
    // brings back what was pasted. The keyboard code is kept as it is.
    void pastedIpaBecomesKeys_data() {
        QTest::addColumn<Paste>("c");
        const QStringList ship{"sheep", "ship", "shipping", "shipment"};
        QTest::newRow("slashes") << Paste{"/ˈʃɪp/", "5ip", ship};
        QTest::newRow("brackets") << Paste{"[ʃɪp]", "5ip", ship};
        QTest::newRow("syllable dots") << Paste{"ˈʃɪ.pɪŋ", "5ipi6", {"shipping"}};
        QTest::newRow("ECDICT's ә") << Paste{"ʃɪpmәnt", "5ipm4nt", {"shipment"}};
        QTest::newRow("code with '") << Paste{"'5ip", "'5ip", {}};
        QTest::newRow("unknown symbol") << Paste{"ʃɪʘ", "5iʘ", {}};
    }
    void pastedIpaBecomesKeys() {
        QFETCH(Paste, c);
        QVERIFY(open());
        QGuiApplication::clipboard()->setText(c.pasted);
        QTest::keyClick(m_dlg->input(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_dlg->input()->text(), c.shown);
        QTest::keyClick(m_dlg->input(), Qt::Key_Return);
        QCOMPARE(selectedWords(*m_dlg), c.selected);
        m_dlg->input()->setFocus();
        QTest::keyClick(m_dlg->input(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_dlg->input()->text(), c.shown == c.pasted ? QString() : c.pasted);
    }

    // The chart types the key of the symbol clicked where the cursor is; a
    // cut cell shows its text as a tooltip; Ctrl+C and the list's menu copy
    // the chosen entries, while the box's Ctrl+C copies its own text.
    void chartCellsAndCopy() {
        const QByteArray meaning(300, 'm');
        QVERIFY(open(true, false, "long [5ip] " + meaning + "\nship [5ip] n. x\n"));
        QLabel* chart = m_dlg->chart();
        QCOMPARE(chart->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(chart->toolTip(), qText(lookup::text::kChartTip));
        const QRect picture = chart->contentsRect();
        // The picture drawn for the screen's ratio, pixel for pixel, at its 1x size.
        const qreal ratio = chart->devicePixelRatioF();
        const QImage drawn = chart->grab(picture).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), QSize(209, 59));
        QCOMPARE(chart->pixmap().devicePixelRatio(), ratio > 1 ? 2.0 : 1.0);
        QCOMPARE(drawn.size(), QSize(209, 59) * ratio);
        if (ratio == 1 || ratio == 2) {
            QCOMPARE(drawn,
                     QImage(ratio == 1 ? kKeyChart : kKeyChart2x).convertToFormat(drawn.format()));
        }
        m_dlg->input()->setText(QStringLiteral("ip"));
        m_dlg->input()->setCursorPosition(0);
        m_dlg->list()->setFocus();
        QTest::mouseClick(chart, Qt::LeftButton, {},
                          QPoint(picture.left() + picture.width() * 9 / 22, picture.center().y()));
        QCOMPARE(m_dlg->input()->text(), QStringLiteral("5ip"));
        QCOMPARE(QApplication::focusWidget(), m_dlg->input());

        QTableView* list = m_dlg->list();
        auto tipOver = [list](int row, int column) {
            const QPoint at = centre(list, row, column);
            QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
            QApplication::sendEvent(list->viewport(), &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(tipOver(0, lookup::Word), QString()); // fits
        QCOMPARE(tipOver(0, lookup::Meaning),
                 Qt::convertFromPlainText(qText(lookup::cellText(m_dlg->entries(), 0, 2)),
                                          Qt::WhiteSpaceNormal));
        list->horizontalHeader()->moveSection(lookup::Meaning, 0); // dragging still works
        QCOMPARE(list->horizontalHeader()->visualIndex(lookup::Meaning), 0);

        search(*m_dlg, QStringLiteral("5ip"));
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 "long [ʃip] " + meaning + "\nship [ʃip] n. x\n");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre(list, 1));
        whenModal([](QWidget* menu) { QTest::keyClick(menu, Qt::Key_C); });
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, centre(list, 1));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ship [ʃip] n. x\n"));
        m_dlg->input()->setFocus();
        m_dlg->input()->selectAll();
        QTest::keyClick(m_dlg->input(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("5ip"));
    }

    // Without a synthesizer: one notice for the requests of a window, however
    // made, and the window stays usable.
    void speechFailureIsToldOnce_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"double click", "Ctrl+R on the list", "the list's menu",
                                "Ctrl+R in the box", "the box's menu"}) {
            QTest::newRow(how) << how;
        }
    }
    void speechFailureIsToldOnce() {
        QFETCH(QString, how);
        QVERIFY(open());
        search(*m_dlg, QStringLiteral("5ip"));
        QTableView* list = m_dlg->list();
        const QPoint row = centre(list, Ship);
        auto request = [&] {
            m_dlg->input()->setText(QStringLiteral("/ʃɪp/"));
            if (how.endsWith("menu")) {
                whenModal([&how](QWidget* m) {
                    QTest::keyClick(m, how.contains("box") ? Qt::Key_S : Qt::Key_R);
                });
            }
            if (how == "double click") {
                // A press, then the double click as the platform reports it.
                QTest::mousePress(list->viewport(), Qt::LeftButton, {}, row);
                QMouseEvent twice(QEvent::MouseButtonDblClick, row,
                                  list->viewport()->mapToGlobal(row), Qt::LeftButton,
                                  Qt::LeftButton, {});
                QApplication::sendEvent(list->viewport(), &twice);
                QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, row);
            } else if (how == "the list's menu") {
                QTest::mouseClick(list->viewport(), Qt::RightButton, {}, row);
            } else if (how == "the box's menu") {
                QContextMenuEvent ask(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                      m_dlg->input()->mapToGlobal(QPoint(5, 5)));
                QApplication::sendEvent(m_dlg->input(), &ask);
            } else { // Ctrl+R, on the list or in the box
                QTest::keyClick(how.contains("list") ? static_cast<QWidget*>(list) : m_dlg->input(),
                                Qt::Key_R, Qt::ControlModifier);
            }
        };
        MessageBox::setNextAnswer(QMessageBox::Ok);
        MessageBox::setNextAnswer(QMessageBox::Ok);
        request();
        QTRY_COMPARE(MessageBox::unanswered(), 1);
        request();
        QTest::qWait(200);
        QCOMPARE(MessageBox::answered(),
                 QStringList{"Mirawen|" + qText(lookup::text::kNoSynthesizer) + "|OK|owned"});
        search(*m_dlg, QStringLiteral("si6"));
        QCOMPARE(selectedWords(*m_dlg), (QStringList{"think", "sink"}));
    }

    // Whatever was read is shown, sorted; the notices come first, through the
    // message box, in order (their texts are the lookup layer's to test).
    void startsWithWhatIsThere_data() {
        QTest::addColumn<Start>("c");
        const QString noBand4 = "Mirawen|没有词库文件:大学四级.txt|OK";
        QTest::newRow("all there") << Start{true, true, kBand6, {}, "f00"};
        QTest::newRow("no band 4, band 6 a folder")
            << Start{false,
                     false,
                     "folder",
                     {"Mirawen|没有音标字体文件:TOPhonetic.ttf|OK", noBand4,
                      "Mirawen|无法读取词库文件:大学六级.txt（这是文件夹，不是文件）|OK"},
                     {}};
        QTest::newRow("no band 4") << Start{true, false, kBand6, {noBand4}, "shipment"};
    }
    void startsWithWhatIsThere() {
        QFETCH(Start, c);
        QVERIFY(open(c.font, c.list4, c.band6));
        QCOMPARE(m_notices, c.notices); // no icon and no owner: shown before the window
        QCOMPARE(word(*m_dlg, 0), c.firstWord);
        QCOMPARE(m_dlg->list()->font().family(), QStringLiteral("TOPhonetic"));
        QCOMPARE(m_dlg->input()->font().pointSize(), 16);
        QCOMPARE(QApplication::focusWidget(), m_dlg->input());
        search(*m_dlg, QStringLiteral("si6"));
        QCOMPARE(selectedWords(*m_dlg).size(), int(c.list4) + int(c.band6 == kBand6));
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
        QVERIFY(open());
        QTableView* list = m_dlg->list();
        list->verticalScrollBar()->setValue(topRow);
        search(*m_dlg, QStringLiteral("5ip"));
        QVERIFY2(m_dlg->isVisible(), "Enter searches; it does not close the window");
        QCOMPARE(selectedWords(*m_dlg), (QStringList{"sheep", "ship", "shipping", "shipment"}));
        QCOMPARE(QApplication::focusWidget(), list);
        QCOMPARE(m_dlg->input()->text(), QStringLiteral("5ip"));
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
        QVERIFY(open(true, false, "long [" + key + "] " + QByteArray(1 << 20, 'm') + "\n"));
        QTableView* list = m_dlg->list();
        QCOMPARE(list->model()->index(0, 2).data().toString().size(), 1001);
        const QPoint at = centre(list, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(m_dlg->input()->text(), QString(key));
        m_dlg->input()->setText(QStringLiteral("typed"));
        whenModal([](QWidget* menu) { QTest::keyClick(menu, Qt::Key_Escape); });
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at); // the list's own menu
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(5, list->viewport()->height() - 3));
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(m_dlg->input()->text(), QStringLiteral("typed"));
    }

    // What OK does to the selection and the focus (which rows match is the
    // lookup layer's to test).
    void searchEdgeCases_data() {
        QTest::addColumn<Typed>("c");
        QTest::newRow("empty: nothing changes") << Typed{"", {"night"}, false};
        QTest::newRow("longer than every key") << Typed{"5ipm4nt5ipm4nt", {}, false};
        QTest::newRow("a lone surrogate, as U+FFFD") << Typed{QString(QChar(0xD800)), {}, true};
    }
    void searchEdgeCases() {
        QFETCH(Typed, c);
        QVERIFY(open());
        search(*m_dlg, QStringLiteral("nai"));
        m_dlg->input()->setFocus();
        m_dlg->input()->setText(c.input); // as typed, or through an input method
        QTest::keyClick(m_dlg->input(), Qt::Key_Return);
        QCOMPARE(selectedWords(*m_dlg), c.selected);
        QCOMPARE(QApplication::focusWidget(),
                 c.listFocused ? static_cast<QWidget*>(m_dlg->list()) : m_dlg->input());
    }

    void closingAsksFirst_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close button") << "close";
        QTest::newRow("退出") << "退出";
        QTest::newRow("window menu") << "menu";
    }
    void closingAsksFirst() {
        QFETCH(QString, how);
        QVERIFY(open());
        search(*m_dlg, QStringLiteral("si6"));
        const int scroll = m_dlg->list()->verticalScrollBar()->value();
        MessageBox::setNextAnswer(QMessageBox::No);
        closeBy(*m_dlg, how);
        QCOMPARE(MessageBox::answered(), QStringList{"确定|是否退出?|Yes No|owned"});
        QVERIFY(m_dlg->isVisible());
        QCOMPARE(m_dlg->input()->text(), QStringLiteral("si6"));
        QCOMPARE(selectedWords(*m_dlg), (QStringList{"think", "sink"}));
        QVERIFY(scroll > 0);
        QCOMPARE(m_dlg->list()->verticalScrollBar()->value(), scroll);
        MessageBox::setNextAnswer(QMessageBox::Yes);
        closeBy(*m_dlg, how);
        QCOMPARE(MessageBox::answered().size(), 1);
        QTRY_VERIFY(!m_dlg->isVisible());
    }

    // What a layout can get wrong; the pixels are the smoke test's to see.
    void layoutHoldsTogether() {
        QVERIFY(open());
        QCOMPARE(m_dlg->windowTitle(), QStringLiteral("Mirawen 1.0"));
        QVERIFY(m_dlg->minimumSize() == m_dlg->maximumSize() &&
                !(m_dlg->windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(misplaced(*m_dlg, m_dlg->findChild<QGroupBox*>()), QStringList{});
        QCOMPARE(m_dlg->childAt(m_dlg->input()->geometry().center()), m_dlg->input());
        // Rows as tall as the phonetic face drawn at the screen's scale: ‹'5ipi6›,
        // from the stress mark to ŋ's tail, leaves its cell's top and bottom bare.
        QTableView* list = m_dlg->list();
        const QModelIndex shipping = list->model()->index(Shipping, lookup::Phonetic);
        list->scrollTo(shipping);
        const QImage cell = list->viewport()->grab(list->visualRect(shipping)).toImage();
        QImage paper = cell.copy(0, 0, cell.width(), 1);
        paper.fill(cell.pixel(0, 0));
        QVERIFY2(cell.copy(0, 0, cell.width(), 1) == paper &&
                     cell.copy(0, cell.height() - 1, cell.width(), 1) == paper,
                 "a glyph cut at the row's edge");
        for (const QLabel* label : m_dlg->findChildren<QLabel*>()) {
            QVERIFY2(label->sizeHint().width() <= label->width() + 1, qPrintable(label->text()));
        }
        for (const QPushButton* b : m_dlg->findChildren<QPushButton*>()) {
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) < b->width(),
                     qPrintable(b->text()));
        }
        QStringList columns;
        for (int column = 0; column < m_dlg->list()->model()->columnCount(); ++column) {
            columns << m_dlg->list()->model()->headerData(column, Qt::Horizontal).toString();
        }
        QCOMPARE(columns, (QStringList{"英文", "音标", "中文", "级"}));

        QStringList tabOrder;
        QWidget* w = m_dlg->input();
        do {
            const auto* b = qobject_cast<QPushButton*>(w);
            if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() == m_dlg.get()) {
                tabOrder << w->metaObject()->className() + (b ? " " + b->text() : QString());
            }
            w = w->nextInFocusChain();
        } while (w != m_dlg->input());
        QCOMPARE(tabOrder,
                 (QStringList{"QLineEdit", "QPushButton 确定", "EntryListView", "QPushButton 退出",
                              "CHyperLinkButton mirawen.example.org"}));
        QVERIFY(button(*m_dlg, QStringLiteral("确定"))->isDefault());
        const QPoint offCentre =
            m_dlg->frameGeometry().center() - m_dlg->screen()->availableGeometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 2, "centred on the screen");
    }
};

QTEST_MAIN(tst_CLookupDlg)
#include "tst_CLookupDlg.moc"
