#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QEvent>
#include <QFont>
#include <QPushButton>
#include <QUrl>

#include <functional>
#include <memory>

class QPainter;
class QRect;

// A push button drawn as a web link: coloured caption, pointing hand, a hover look, and a click or
// Enter opens the caption as a web address. The owner only sets the id; when opening fails the
// parent is sent one WM_LINK_CLICKED event carrying that id.
class CHyperLinkButton : public QPushButton {
    Q_OBJECT

public:
    // The notice sent to the parent when the address could not be opened. wParam() is the
    // control's id, lParam() is always 0.
    class LinkClickedEvent : public QEvent {
    public:
        explicit LinkClickedEvent(int id) : QEvent(WM_LINK_CLICKED), m_nId(id) {}
        ~LinkClickedEvent() override;
        LinkClickedEvent* clone() const override { return new LinkClickedEvent(*this); }

        int wParam() const { return m_nId; }
        int lParam() const { return 0; }

    protected:
        LinkClickedEvent(const LinkClickedEvent&) = default;

    private:
        int m_nId;
    };

    // Opens an address and tells whether it worked. The default hands it to QDesktopServices.
    using Opener = std::function<bool(const QUrl&)>;

    // Registered once during static initialisation; the same value for the whole process, so
    // compare against it only once main() has started.
    static const QEvent::Type WM_LINK_CLICKED;

    explicit CHyperLinkButton(QWidget* parent = nullptr);
    explicit CHyperLinkButton(const QString& text, QWidget* parent = nullptr);
    ~CHyperLinkButton() override;

    int controlId() const { return m_nId; }
    void setControlId(int id) { m_nId = id; }

    // An empty opener restores the desktop's handler.
    void setOpener(Opener opener) { m_opener = std::move(opener); }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

    // Keyboard rules, seen before the button's own handling; true means consumed.
    bool PreTranslateMessage(QEvent* e);
    void DrawItem(QPainter& painter, const QRect& rect);

private slots:
    void OnClicked();

private:
    void OnMouseHover();
    void OnMouseLeave();
    void OnKillFocus();
    bool requestHoverTracking();

    QColor m_crNormal;
    QColor m_crHover;
    QColor m_crDisabled;
    bool m_bHover = false;
    bool m_bTracking = false;
    std::unique_ptr<QFont> m_pBoldFont;
    bool m_bKeyArmed = false;

    int m_nId = 0;
    Opener m_opener;
    // Stands in for the system's hover detection: fires once the pointer has rested.
    QBasicTimer m_hoverTimer;
};
