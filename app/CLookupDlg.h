#pragma once

#include "app/EntryListView.h"
#include "lookup/ListsLoad.h"
#include "lookup/Speech.h"
#include "lookup/TypedText.h"
#include "vocab/DataFolders.h"
#include "vocab/EntryStore.h"

#include <QDialog>
#include <QIcon>
#include <QString>

#include <filesystem>
#include <optional>

class CHyperLinkButton;
class EntryTableModel;
class EspeakSpeech;
class QAction;
class QLabel;
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
    static constexpr unsigned IDM_IMPORT = 0x0030;
    static constexpr unsigned IDM_BRITISH = 0x0040;
    static constexpr unsigned IDM_AMERICAN = 0x0050;
    static constexpr unsigned SC_CLOSE = 0xF060;

    // Reads the word lists and the phonetic font from where location says;
    // dir is the folder the program was told (--dir), which an import's
    // reload looks in again. Speech runs $MIRAWEN_ESPEAK, else espeak-ng.
    explicit CLookupDlg(vocab::DataLocation location, QWidget* parent = nullptr,
                        std::optional<std::filesystem::path> dir = std::nullopt);
    ~CLookupDlg() override;

    // OK: selects the entries whose keys begin with the typed text. Never closes.
    void OnOK();
    // Exit, Escape and the close button: asks first.
    void OnCancel();
    // A command of the window menu: the About box, importing, the accent, or
    // close (which asks).
    void OnSysCommand(unsigned nID);
    // Imports ECDICT's CSV into the user's list folder and shows the result.
    void OnImport();
    // Says the word of the current row, else the first selected, or the
    // box's transcription.
    void OnSpeakRow();
    void OnSpeakTyped();
    // Copies the chosen rows' entries to the clipboard.
    void OnCopyRows();

    // The text of the window menu's About entry; empty leaves the entry out.
    void setAboutMenuText(const QString& text) { m_strAboutMenu = text; }

    const vocab::EntryStore& entries() const { return m_entries; }
    QTableView* list() const { return m_list; }
    QLineEdit* input() const { return m_edit; }
    QLabel* chart() const { return m_chart; }
    lookup::Accent accent() const { return m_accent; }

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
    void showListMenu(const QPoint& pos);
    void showInputMenu(const QPoint& pos);
    void createSpeech();
    void setAccent(lookup::Accent accent);
    void onEdited(const QString& text);
    void speak(const std::optional<lookup::Utterance>& utterance);
    // Reads the lists from m_location, and tells what failed.
    void reloadLists();
    // An import's notice, under the caption of the import's other boxes.
    void importNotice(const QString& text);

    vocab::DataLocation m_location;
    lookup::ListsLoad m_lists;
    std::optional<std::filesystem::path> m_dir;
    vocab::EntryStore m_entries;
    CHyperLinkButton* m_link = nullptr;
    EntryListView* m_list = nullptr;
    QLabel* m_chart = nullptr;
    QString m_strInput;
    QIcon m_hIcon;
    QString m_strAboutMenu;

    QLineEdit* m_edit = nullptr;
    EntryTableModel* m_model = nullptr;

    EspeakSpeech* m_speech = nullptr;
    lookup::SpeechNotices m_speechNotices;
    lookup::Accent m_accent = lookup::Accent::British;
    QAction* m_speakRow = nullptr;
    QAction* m_speakTyped = nullptr;
    QAction* m_copyRows = nullptr;
    bool m_importing = false;
    bool m_sampleLists = false; // the lists are the samples in a system folder
    lookup::TypedIpaBox m_typed;
};
