#pragma once

#include <QDialog>

// The About box: the program's icon, name and version, the copyright line and
// the maker's web address, and while the window shows the sample lists a
// line saying where the full lists come from. OK, Escape and the close
// button end it.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr, bool sampleLists = false);
};
