#include "controls/CHyperLinkButton.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <utility>

const QEvent::Type CHyperLinkButton::WM_LINK_CLICKED =
    static_cast<QEvent::Type>(QEvent::registerEventType());

CHyperLinkButton::LinkClickedEvent::~LinkClickedEvent() = default;

namespace {

bool isEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Only web addresses are ever handed on: a caption holding a path or another scheme must not
// start a program or open a local file.
QUrl webAddress(const QString& caption) {
    QUrl url(caption, QUrl::StrictMode);
    if (url.isValid() && url.scheme().isEmpty())
        url = QUrl(QStringLiteral("http://") + caption, QUrl::StrictMode);
    const bool web =
        url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    if (!url.isValid() || !web || url.host().isEmpty())
        return {};
    return url;
}

} // namespace

CHyperLinkButton::CHyperLinkButton(QWidget* parent)
    : QPushButton(parent), m_crNormal(palette().color(QPalette::Highlight)), m_crHover(0, 0, 255),
      m_crDisabled(palette().color(QPalette::Disabled, QPalette::Text)) {
    // Never a default button: Enter on the link opens it, Enter elsewhere is the dialog's.
    setAutoDefault(false);
    setDefault(false);
    setCursor(Qt::PointingHandCursor);
    // Moves without a button held start the hover tracking.
    setMouseTracking(true);
    connect(this, &QAbstractButton::clicked, this, &CHyperLinkButton::OnClicked);
}

CHyperLinkButton::CHyperLinkButton(const QString& text, QWidget* parent)
    : CHyperLinkButton(parent) {
    setText(text);
}

CHyperLinkButton::~CHyperLinkButton() = default;

bool CHyperLinkButton::event(QEvent* e) {
    if (PreTranslateMessage(e))
        return true;
    return QPushButton::event(e);
}

bool CHyperLinkButton::PreTranslateMessage(QEvent* e) {
    switch (e->type()) {
    case QEvent::ShortcutOverride: {
        // Enter and Space on the focused link are ours; no shortcut of the window may take them.
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (isEnterKey(key) || key == Qt::Key_Space) {
            e->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (isEnterKey(key) || key == Qt::Key_Space) {
            m_bKeyArmed = true;
            e->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyRelease: {
        const auto* keyEvent = static_cast<QKeyEvent*>(e);
        const int key = keyEvent->key();
        // Qt reports a held key as release/press pairs; those releases leave the key down.
        if (key == Qt::Key_Space || (isEnterKey(key) && keyEvent->isAutoRepeat())) {
            e->accept();
            return true;
        }
        if (isEnterKey(key) && m_bKeyArmed) {
            m_bKeyArmed = false;
            e->accept();
            OnClicked();
            return true;
        }
        break;
    }
    default:
        break;
    }
    if (e->isInputEvent())
        m_bKeyArmed = false;
    return false;
}

void CHyperLinkButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawItem(painter, rect());
}

void CHyperLinkButton::DrawItem(QPainter& painter, const QRect& rect) {
    // Made once from the font at hand now; a later font change keeps this one.
    if (!m_pBoldFont) {
        m_pBoldFont = std::make_unique<QFont>(font());
        m_pBoldFont->setWeight(QFont::DemiBold);
    }

    QColor colour = m_crNormal;
    if (!isEnabled()) {
        colour = m_crDisabled;
    } else if (m_bHover) {
        colour = m_crHover;
        painter.setFont(*m_pBoldFont);
    }
    painter.setPen(colour);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void CHyperLinkButton::mouseMoveEvent(QMouseEvent* e) {
    if (!m_bTracking)
        m_bTracking = requestHoverTracking();
    else if (m_hoverTimer.isActive())
        m_hoverTimer.start(1, this); // not at rest yet
    QPushButton::mouseMoveEvent(e);
}

bool CHyperLinkButton::requestHoverTracking() {
    m_hoverTimer.start(1, this);
    return true;
}

void CHyperLinkButton::timerEvent(QTimerEvent* e) {
    if (e->timerId() != m_hoverTimer.timerId()) {
        QPushButton::timerEvent(e);
        return;
    }
    // One hover notice per tracking request.
    m_hoverTimer.stop();
    OnMouseHover();
}

void CHyperLinkButton::OnMouseHover() {
    m_bHover = true;
    update();
}

void CHyperLinkButton::leaveEvent(QEvent* e) {
    QPushButton::leaveEvent(e);
    OnMouseLeave();
}

void CHyperLinkButton::OnMouseLeave() {
    m_hoverTimer.stop();
    m_bTracking = false;
    m_bHover = false;
    update();
}

void CHyperLinkButton::focusOutEvent(QFocusEvent* e) {
    QPushButton::focusOutEvent(e);
    OnKillFocus();
}

void CHyperLinkButton::OnKillFocus() {
    update();
}

void CHyperLinkButton::OnClicked() {
    if (!isEnabled())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });

    const QUrl url = webAddress(text());
    bool opened = false;
    if (url.isValid())
        opened = m_opener ? m_opener(url) : QDesktopServices::openUrl(url);
    if (!opened) {
        // The parent may delete us while it handles the notice.
        const QPointer<CHyperLinkButton> self(this);
        if (QWidget* owner = parentWidget()) {
            LinkClickedEvent notice(m_nId);
            QCoreApplication::sendEvent(owner, &notice);
        }
        if (!self)
            return;
    }
    // The pointer may still be on the link, but the hover look waits for the next entry.
    m_bHover = false;
    update();
}
