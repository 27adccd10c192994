#include "controls/CHyperLinkButton.h"

#include <QBitmap>
#include <QDesktopServices>
#include <QDialog>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class tst_CHyperLinkButton : public QObject {
    Q_OBJECT
    inline static const QStringList kBlue{"#0000ff"};
    // What the control paints: the colours of its opaque pixels and the box holding everything.
    struct Look {
        explicit Look(QWidget* widget) : image(widget->size(), QImage::Format_ARGB32) {
            image.fill(Qt::transparent);
            widget->render(&image, {}, {}, QWidget::RenderFlags());
            for (int i = 0; i < image.width() * image.height(); ++i) {
                const QColor colour = image.pixelColor(i % image.width(), i / image.width());
                if (colour.alpha() == 255 && !colours.contains(colour.name()))
                    colours.append(colour.name());
            }
            box = QRegion(QBitmap::fromImage(image.createAlphaMask())).boundingRect();
        }
        QImage image;
        QStringList colours;
        QRect box;
    };

public:
    // Stands in for the browser. Openings and notices to the dialog go to one log.
    Q_INVOKABLE bool recordUrl(const QUrl& url) {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        m_log.append(cursor && cursor->shape() == Qt::WaitCursor ? url.toString() : "no wait");
        return url.host() != "fail.org";
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (const auto* notice = dynamic_cast<CHyperLinkButton::LinkClickedEvent*>(e))
            m_log.append(QString("%1,%2").arg(notice->wParam()).arg(notice->lParam()));
        return false;
    }

private slots:
    void initTestCase() { QDesktopServices::setUrlHandler("http", this, "recordUrl"); }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("http"); }
    void init() {
        m_log.clear();
        (m_dialog = new QDialog)->installEventFilter(this);
        (m_ok = new QPushButton("OK", m_dialog))->setDefault(true);
        m_link = new CHyperLinkButton("www.example.com", m_dialog);
        m_link->setGeometry(0, 40, 320, 80);
        m_link->setControlId(1002);
        m_link->setFont(QFont(m_link->font().family(), 15));
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog));
        QTest::mouseMove(m_dialog, QPoint(1, 1));
    }
    void cleanup() {
        delete m_dialog;
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr); // the wait cursor always ends
    }

    void looksAndMouseOpening() {
        const Look small(m_link); // the first paint makes the semi-bold font, from 15 pt
        m_link->setFont(QFont(m_link->font().family(), 30));
        const Look normal(m_link);
        QCOMPARE(normal.colours, QStringList{m_link->palette().color(QPalette::Highlight).name()});
        QCOMPARE(m_link->cursor().shape(), Qt::PointingHandCursor);
        const QPoint centre = m_link->rect().center();
        QTest::mouseMove(m_link, centre);
        QTRY_COMPARE(Look(m_link).colours, kBlue);
        QVERIFY2(Look(m_link).box.width() > small.box.width(), "semi-bold text is wider");
        QVERIFY2(Look(m_link).box.height() < normal.box.height(), "made at the first paint");
        QTest::mouseMove(m_dialog, QPoint(1, 1));
        QCOMPARE(Look(m_link).image, normal.image);
        QTest::mouseMove(m_link, centre);
        QTRY_COMPARE(Look(m_link).colours, kBlue);
        QTest::mouseClick(m_link, Qt::LeftButton, {}, centre);
        QCOMPARE(m_log, QStringList{"http://www.example.com"});
        m_ok->setFocus();
        QTest::mouseMove(m_link, centre + QPoint(4, 0)); // no hover look until leave and entry
        bool ran = false; // timers fire in the order they fall due: a hover notice came first
        QTimer::singleShot(10, Qt::PreciseTimer, [&ran] { ran = true; });
        QTRY_VERIFY(ran);
        QCOMPARE(Look(m_link).image, normal.image);
        QTest::mouseMove(m_dialog, QPoint(1, 1));
        QTest::mouseMove(m_link, centre);
        QTRY_COMPARE(Look(m_link).colours, kBlue);
        m_link->setEnabled(false); // grey in the control's own font, and nothing opens
        QCOMPARE(Look(m_link).colours,
                 QStringList{m_link->palette().color(QPalette::Disabled, QPalette::Text).name()});
        QCOMPARE(Look(m_link).box, normal.box);
        QTest::mouseClick(m_link, Qt::LeftButton, {}, centre);
        QCOMPARE(m_log.size(), 1);
    }

    void opening_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("steps"); // +Key press, -Key release, ~Key auto-repeat pair
        QTest::addColumn<QString>("log");
        const QString link = "a.org", url = "http://a.org", notice = "1002,0",
                      enter = "+Return -Return";
        QTest::newRow("bare host") << link << enter << url;
        QTest::newRow("https") << "HTTPS://A.org/b?c=1" << enter << "https://a.org/b?c=1";
        QTest::newRow("opening fails") << "fail.org" << enter << "http://fail.org 1002,0";
        QTest::newRow("empty") << QString() << enter << notice;
        QTest::newRow("path") << "/usr/bin/xterm" << enter << notice;
        QTest::newRow("windows path") << "C:\\Windows\\notepad.exe" << enter << notice;
        QTest::newRow("file url") << "file:///etc/passwd" << enter << notice;
        QTest::newRow("ftp") << "ftp://a.org" << enter << notice;
        QTest::newRow("mailto") << "mailto:me@a.org" << enter << notice;
        QTest::newRow("no host") << "http:///path" << enter << notice;
        QTest::newRow("Enter held") << link << "+Return ~Return ~Return -Return" << url;
        QTest::newRow("keypad twice") << link << "+Enter -Enter +Enter -Enter" << url + ' ' + url;
        QTest::newRow("Space held") << link << "+Space ~Space -Space" << QString();
        QTest::newRow("Enter release unarmed") << link << "-Return" << QString();
        QTest::newRow("other key disarms") << link << "+Return +A -A -Return" << QString();
        QTest::newRow("Space arms, keeps armed") << link << "+Space -Space -Return" << url;
    }
    void opening() {
        QFETCH(QString, caption);
        QFETCH(QString, steps);
        QFETCH(QString, log);
        QSignalSpy okClicks(m_ok, &QPushButton::clicked); // as the default or by a shortcut
        for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
            new QShortcut(key, m_dialog, m_ok, &QPushButton::click);
        m_link->setOpener([this](const QUrl& url) { return recordUrl(url); });
        m_link->setText(caption);
        m_link->setFocus();
        for (const QString& step : steps.split(' ')) {
            const int key = QKeySequence(step.mid(1))[0].key();
            if (step[0] != '+')
                QTest::simulateEvent(m_link, false, key, {}, {}, step[0] == '~');
            if (step[0] != '-')
                QTest::simulateEvent(m_link, true, key, {}, {}, step[0] == '~');
        }
        QCOMPARE(m_log.join(' '), log); // no events were processed: notices must be sent
        QVERIFY2(okClicks.isEmpty() && m_ok->isDefault(), "the dialog's default is untouched");
    }

private:
    QDialog* m_dialog = nullptr;
    QPushButton* m_ok = nullptr;
    CHyperLinkButton* m_link = nullptr;
    QStringList m_log;
};

QTEST_MAIN(tst_CHyperLinkButton)
#include "tst_CHyperLinkButton.moc"
