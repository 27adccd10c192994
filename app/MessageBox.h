#pragma once

#include <QMessageBox>
#include <QStringList>

// Every message box of the program goes through here: a caption, a text and
// buttons, and no icon. Tests answer boxes through setNextAnswer instead of
// finding them on the screen.
class MessageBox {
public:
    // Shows the box, owned by parent when there is one, and returns the
    // button chosen (Escape or the close button: the escape button).
    static QMessageBox::StandardButton ask(QWidget* parent, const QString& caption,
                                           const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton);

    // A notice: the application's title, one OK button and no icon; at the
    // start it has no owner, later the window owns it.
    static void notice(const QString& text, QWidget* owner = nullptr);

    // The next box is not shown but answered at once with answer; each call
    // answers one more box. The boxes answered so are kept for answered().
    static void setNextAnswer(QMessageBox::StandardButton answer);

    // The boxes answered through setNextAnswer since the last call, oldest
    // first, as "caption|text|buttons" plus "|owned" when it had an owner;
    // answers left unused are dropped.
    static QStringList answered();

    // How many answers set are still waiting for a box: a test waits on it
    // for a box that comes later.
    static qsizetype unanswered();
};
