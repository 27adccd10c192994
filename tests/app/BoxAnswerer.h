#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <deque>

// Answers the message boxes the program shows, one by one, by clicking the
// given button of each, and notes what each box said. Boxes run their own
// event loop, in which this timer keeps firing.
class BoxAnswerer : public QObject {
public:
    struct Seen {
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        bool owned;
    };

    explicit BoxAnswerer(std::deque<QMessageBox::StandardButton> answers)
        : m_answers(std::move(answers)) {
        connect(&m_timer, &QTimer::timeout, this, &BoxAnswerer::poll);
        m_timer.start(5);
    }

    const QList<Seen>& seen() const { return m_seen; }
    bool done() const { return m_answers.empty(); }

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box == m_last || m_answers.empty() || !box->isVisible()) {
            return;
        }
        m_last = box;
        m_seen.append({box->windowTitle(), box->text(), box->standardButtons(), box->icon(),
                       box->parentWidget() != nullptr});
        QPushButton* button = qobject_cast<QPushButton*>(box->button(m_answers.front()));
        m_answers.pop_front();
        if (button) {
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }

    std::deque<QMessageBox::StandardButton> m_answers;
    QList<Seen> m_seen;
    QPointer<QMessageBox> m_last;
    QTimer m_timer;
};
