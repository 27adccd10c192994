#pragma once

#include "vocab/DataFolders.h"
#include "vocab/EntryStore.h"

#include <QDialog>
#include <QIcon>
#include <QString>

class CHyperLinkButton;
class EntryTableModel;
class QLineEdit;
class QTableView;

// The lookup window: every entry of both word lists in key order, a box to
// type the beginning of a transcription into, and OK to select every entry
// whose sound key begins with it.
class CLookupDlg : public QDialog {
    Q_OBJECT

public:
    // The id the link reports itself by.
    static constexpr int IDC_LINK = 1002;
    // Window-menu commands; the lowest four bits of a command do not count.
    static constexpr unsigned IDM_ABOUTBOX = 0x0010;
    static constexpr unsigned SC_CLOSE = 0xF060;

    // Reads the word lists and the phonetic font from where location says.
    explicit CLookupDlg(vocab::DataLocation location, QWidget* parent = nullptr);
    ~CLookupDlg() override;

    // OK: selects the entries whose keys begin with the typed text. Never closes.
    void OnOK();
    // Exit, Escape and the close button: asks first.
    void OnCancel();
    // A command of the window menu: the About box, or close (which asks).
    void OnSysCommand(unsigned nID);

    // The text of the window menu's About entry; empty leaves the entry out.
    void setAboutMenuText(const QString& text) { m_strAboutMenu = text; }

    const vocab::EntryStore& entries() const { return m_entries; }
    QTableView* list() const { return m_list; }
    QLineEdit* input() const { return m_edit; }

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void registerPhoneticFont();
    bool OnInitDialog();
    void OnClickList(const QModelIndex& index);
    void showWindowMenu(const QPoint& globalPos);

    vocab::DataLocation m_location;
    vocab::EntryStore m_entries;
    CHyperLinkButton* m_link = nullptr;
    QTableView* m_list = nullptr;
    QString m_strInput;
    QIcon m_hIcon;
    QString m_strAboutMenu;

    QLineEdit* m_edit = nullptr;
    EntryTableModel* m_model = nullptr;
};
