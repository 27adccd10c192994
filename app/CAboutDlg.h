#pragma once

#include <QDialog>

// The About box: the program's icon, name and version, the copyright line and
// the maker's web address. OK, Escape and the close button end it.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
