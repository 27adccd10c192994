#include "controls/CHyperLinkButton.h"

#include <QDesktopServices>
#include <QDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString kBlue = "#0000ff";
const QStringList kInterceptedSchemes{"http", "https", "file", "ftp", "mailto"};

// What the control paints, without any background: the colours of fully covered pixels and the
// box holding everything painted.
struct Look {
    QStringList colours;
    QRect box;
    QImage image;
};

Look lookOf(QWidget* widget) {
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget->render(&image, {}, {}, QWidget::RenderFlags());
    Look look{{}, {}, image};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) != 0)
                look.box |= QRect(x, y, 1, 1);
            if (qAlpha(pixel) == 255 && !look.colours.contains(QColor(pixel).name()))
                look.colours.append(QColor(pixel).name());
        }
    }
    return look;
}

// Timers fire in the order they fall due: once this one has run, a hover notice due 1 ms after
// the last move would have come too.
void letDueTimersRun() {
    bool ran = false;
    QTimer::singleShot(10, Qt::PreciseTimer, [&ran] { ran = true; });
    QTRY_VERIFY(ran);
}

} // namespace

class tst_CHyperLinkButton : public QObject {
    Q_OBJECT

public:
    // Stands in for the browser, and for whatever would open the other schemes.
    Q_INVOKABLE void recordUrl(const QUrl& url) { m_opened.append(url); }

protected:
    // Every custom event reaching the dialog, a notice as "wParam,lParam".
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == CHyperLinkButton::WM_LINK_CLICKED) {
            const auto* notice = static_cast<CHyperLinkButton::LinkClickedEvent*>(e);
            m_notices.append(QString("%1,%2").arg(notice->wParam()).arg(notice->lParam()));
        } else if (e->type() >= QEvent::User && e->type() <= QEvent::MaxUser) {
            m_notices.append(QString("event %1").arg(e->type()));
        }
        return false;
    }

private slots:
    void initTestCase() {
        for (const QString& scheme : kInterceptedSchemes)
            QDesktopServices::setUrlHandler(scheme, this, "recordUrl");
    }

    void cleanupTestCase() {
        for (const QString& scheme : kInterceptedSchemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    void init() {
        m_dialog = std::make_unique<QDialog>();
        auto* layout = new QVBoxLayout(m_dialog.get());
        m_ok = new QPushButton("OK", m_dialog.get());
        m_ok->setDefault(true);
        connect(m_ok, &QPushButton::clicked, this, [this] { ++m_okClicks; });
        m_link = new CHyperLinkButton("www.example.com", m_dialog.get());
        m_link->setControlId(1002);
        QFont font = m_link->font();
        font.setPixelSize(20);
        m_link->setFont(font);
        layout->addWidget(m_ok);
        layout->addWidget(m_link);
        m_dialog->resize(320, 120);
        m_dialog->installEventFilter(this);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        m_ok->setFocus();
        QTest::mouseMove(m_dialog.get(), m_outside);
        m_highlight = m_link->palette().color(QPalette::Highlight).name();
        m_opened.clear();
        m_notices.clear();
        m_okClicks = 0;
    }

    void cleanup() {
        m_dialog.reset();
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr); // the wait cursor always ends
    }

    void firstPaintMakesTheSemiBoldFont() {
        const Look first = lookOf(m_link);
        QFont larger = m_link->font();
        larger.setPixelSize(40);
        m_link->setFont(larger);
        const Look normal = lookOf(m_link);
        QVERIFY(normal.box.height() > first.box.height());

        QTest::mouseMove(m_link, m_link->rect().center());
        QTRY_COMPARE(lookOf(m_link).colours, QStringList{kBlue});
        // Made from the font of the first paint, long before the pointer came near.
        QVERIFY(lookOf(m_link).box.height() < normal.box.height());
    }

    void hoverLook() {
        const QPoint centre = m_link->rect().center();
        const Look normal = lookOf(m_link);
        QCOMPARE(normal.colours, QStringList{m_highlight});
        QCOMPARE(m_link->cursor().shape(), Qt::PointingHandCursor);

        QTest::mouseMove(m_link, centre);
        QTRY_COMPARE(lookOf(m_link).colours, QStringList{kBlue});
        QVERIFY2(lookOf(m_link).box.width() > normal.box.width(), "semi-bold text is wider");
        QTest::mouseMove(m_link, centre + QPoint(4, 0));
        QTest::mouseMove(m_dialog.get(), m_outside);
        QCOMPARE(lookOf(m_link).image, normal.image);

        // After an opening the hover look waits for the pointer to leave and come back.
        QTest::mouseMove(m_link, centre);
        QTRY_COMPARE(lookOf(m_link).colours, QStringList{kBlue});
        QTest::mouseClick(m_link, Qt::LeftButton, {}, centre);
        QCOMPARE(m_opened.size(), 1);
        m_ok->setFocus();
        QCOMPARE(lookOf(m_link).image, normal.image);
        QTest::mouseMove(m_link, centre + QPoint(4, 0));
        letDueTimersRun();
        QCOMPARE(lookOf(m_link).image, normal.image);
        QTest::mouseMove(m_dialog.get(), m_outside);
        QTest::mouseMove(m_link, centre);
        QTRY_COMPARE(lookOf(m_link).colours, QStringList{kBlue});
    }

    void captions_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QUrl>("opened"); // empty: refused, and the parent is told

        QTest::newRow("bare host") << "www.example.com" << QUrl("http://www.example.com");
        QTest::newRow("http") << "http://example.com/?q=1" << QUrl("http://example.com/?q=1");
        QTest::newRow("https") << "HTTPS://Example.com/a" << QUrl("https://example.com/a");
        QTest::newRow("empty") << "" << QUrl();
        QTest::newRow("path") << "/usr/bin/xterm" << QUrl();
        QTest::newRow("windows path") << "C:\\Windows\\notepad.exe" << QUrl();
        QTest::newRow("file url") << "file:///etc/passwd" << QUrl();
        QTest::newRow("ftp") << "ftp://example.com" << QUrl();
        QTest::newRow("mailto") << "mailto:me@example.com" << QUrl();
        QTest::newRow("no host") << "http:///path" << QUrl();
    }

    void captions() {
        QFETCH(QString, caption);
        QFETCH(QUrl, opened);
        m_link->setText(caption);
        QTest::mouseClick(m_link, Qt::LeftButton, {}, m_link->rect().center());
        QCOMPARE(m_opened, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{opened});
        QCOMPARE(m_notices, opened.isEmpty() ? QStringList{"1002,0"} : QStringList());
    }

    void failedOpeningNotifiesParentOnce() {
        QList<Qt::CursorShape> cursors;
        m_link->setOpener([&cursors](const QUrl&) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            cursors.append(cursor ? cursor->shape() : Qt::ArrowCursor);
            return false;
        });
        m_link->click(); // no event processing before the check: the notice must be sent
        QCOMPARE(m_notices, QStringList{"1002,0"});
        QCOMPARE(cursors, QList<Qt::CursorShape>{Qt::WaitCursor});
    }

    void disabledDrawsGreyAndOpensNothing() {
        const QString grey = m_link->palette().color(QPalette::Disabled, QPalette::Text).name();
        const Look normal = lookOf(m_link);
        QTest::mouseMove(m_link, m_link->rect().center());
        QTRY_COMPARE(lookOf(m_link).colours, QStringList{kBlue});

        m_link->setEnabled(false);
        // Colours are read at construction only.
        QPalette palette = m_link->palette();
        palette.setColor(QPalette::Disabled, QPalette::Text, Qt::red);
        m_link->setPalette(palette);
        QCOMPARE(lookOf(m_link).colours, QStringList{grey});
        QCOMPARE(lookOf(m_link).box, normal.box); // in the control's own font

        QTest::mouseClick(m_link, Qt::LeftButton, {}, m_link->rect().center());
        m_link->click();
        QCOMPARE(m_opened, QList<QUrl>());
        QCOMPARE(m_notices, QStringList());
    }

    void keyboard_data() {
        // +Key press, -Key release, ~Key auto-repeat pair, "move" a mouse move on the link.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("opened");

        QTest::newRow("Enter") << "+Return -Return" << 1;
        QTest::newRow("keypad Enter twice") << "+Enter -Enter +Enter -Enter" << 2;
        QTest::newRow("Enter held") << "+Return ~Return ~Return ~Return -Return" << 1;
        QTest::newRow("Space held") << "+Space ~Space -Space" << 0;
        QTest::newRow("Enter release unarmed") << "-Return" << 0;
        QTest::newRow("mouse move disarms") << "+Return move -Return" << 0;
        QTest::newRow("other key disarms") << "+Return +A -A -Return" << 0;
        QTest::newRow("Space release keeps armed") << "+Return -Space -Return" << 1;
        QTest::newRow("Space arms too") << "+Space -Return" << 1;
    }

    void keyboard() {
        QFETCH(QString, steps);
        QFETCH(int, opened);
        const QMap<QString, Qt::Key> keys{{"Return", Qt::Key_Return},
                                          {"Enter", Qt::Key_Enter},
                                          {"Space", Qt::Key_Space},
                                          {"A", Qt::Key_A}};
        // Window shortcuts must not get the consumed keys either.
        int shortcuts = 0;
        for (const QKeySequence sequence : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
            auto* shortcut = new QShortcut(sequence, m_dialog.get());
            connect(shortcut, &QShortcut::activated, this, [&shortcuts] { ++shortcuts; });
        }
        m_link->setFocus();
        QVERIFY2(m_ok->isDefault() && !m_link->isDefault(), "the link never becomes default");

        for (const QString& step : steps.split(' ')) {
            const Qt::Key key = keys.value(step.mid(1));
            if (step == "move") {
                QTest::mouseMove(m_link, m_link->rect().center());
            } else if (step.startsWith('+')) {
                QTest::keyPress(m_link, key);
            } else if (step.startsWith('-')) {
                QTest::keyRelease(m_link, key);
            } else {
                // QTest cannot flag auto-repeat: real key events sent the ordinary way instead.
                QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(), true);
                QCoreApplication::sendEvent(m_link, &release);
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
                QCoreApplication::sendEvent(m_link, &press);
            }
        }
        QCOMPARE(m_opened.size(), opened);
        QCOMPARE(m_okClicks, 0);
        QCOMPARE(shortcuts, 0);
        QVERIFY(!m_link->isDown());
    }

    void drawing() {
        const Look released = lookOf(m_link);
        QCOMPARE(qAlpha(released.image.pixel(0, 0)), 0); // no fill, no frame
        m_link->setDown(true);
        QCOMPARE(lookOf(m_link).image, released.image);
        m_link->setDown(false);

        // Reached with Tab, the link shows where the keyboard is; leaving takes the mark away.
        QTest::keyClick(m_ok, Qt::Key_Tab);
        QVERIFY(m_link->hasFocus());
        QVERIFY2(lookOf(m_link).image != released.image, "no focus mark");
        QTest::keyClick(m_link, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(lookOf(m_link).image, released.image);

        // "&" underlines the next letter: the only change lies under the "L".
        m_link->setText("Link");
        const Look plain = lookOf(m_link);
        m_link->setText("&Link");
        const QImage marked = lookOf(m_link).image;
        QRect underline;
        for (int y = 0; y < marked.height(); ++y)
            for (int x = 0; x < marked.width(); ++x)
                if (plain.image.pixel(x, y) != marked.pixel(x, y))
                    underline |= QRect(x, y, 1, 1);
        QVERIFY2(!underline.isEmpty(), "no mnemonic underline");
        QVERIFY(underline.top() > plain.box.center().y());
        QVERIFY(underline.right() <=
                plain.box.left() + m_link->fontMetrics().horizontalAdvance('L'));

        // "&&" draws one "&" and nothing else.
        m_link->setText("A&&B");
        QImage expected(m_link->size(), QImage::Format_ARGB32);
        expected.fill(Qt::transparent);
        QPainter painter(&expected);
        painter.setFont(m_link->font());
        painter.setPen(QColor(m_highlight));
        painter.drawText(m_link->rect(), Qt::AlignCenter, "A&B");
        painter.end();
        QCOMPARE(lookOf(m_link).image, expected);
    }

private:
    const QPoint m_outside{1, 1};
    std::unique_ptr<QDialog> m_dialog;
    QPushButton* m_ok = nullptr;
    CHyperLinkButton* m_link = nullptr;
    QString m_highlight;
    int m_okClicks = 0;
    QList<QUrl> m_opened;
    QStringList m_notices;
};

QTEST_MAIN(tst_CHyperLinkButton)
#include "tst_CHyperLinkButton.moc"
