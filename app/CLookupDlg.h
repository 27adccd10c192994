#pragma once

#include "vocab/EntryStore.h"

#include <QDialog>
#include <QIcon>
#include <QString>

class CHyperLinkButton;
class EntryTableModel;
class QLineEdit;
class QPushButton;
class QTableView;

// The lookup window: every entry of both word lists in key order, a box to
// type the beginning of a transcription into, and OK to select every entry
// whose sound key begins with it.
class CLookupDlg : public QDialog {
    Q_OBJECT

public:
    // Control ids, as the window's parts are known by.
    enum ControlId { IDC_LIST = 1000, IDC_INPUT = 1001, IDC_LINK = 1002 };

    explicit CLookupDlg(QWidget* parent = nullptr);
    ~CLookupDlg() override;

    // OK: selects the entries whose keys begin with the typed text. Never closes.
    void OnOK();
    // Exit, Escape and the close button: asks first.
    void OnCancel();

    const vocab::EntryStore& entries() const { return m_entries; }
    QTableView* list() const { return m_list; }
    QLineEdit* input() const { return m_edit; }

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void registerPhoneticFont();
    bool OnInitDialog();
    void OnClickList(const QModelIndex& index);

    vocab::EntryStore m_entries;
    CHyperLinkButton* m_link = nullptr;
    QTableView* m_list = nullptr;
    QString m_strInput;
    QIcon m_hIcon;

    QLineEdit* m_edit = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    EntryTableModel* m_model = nullptr;
};
