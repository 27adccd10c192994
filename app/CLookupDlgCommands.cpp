#include "app/CLookupDlg.h"

#include "app/CAboutDlg.h"
#include "app/DialogStyle.h"
#include "app/EntryTableModel.h"
#include "app/EspeakSpeech.h"
#include "app/FileDialog.h"
#include "app/MessageBox.h"
#include "lookup/Notices.h"
#include "lookup/Texts.h"
#include "lookup/WindowImport.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressDialog>
#include <QSettings>
#include <QTableView>
#include <QTimer>

#include <memory>
#include <tuple>

// The window's commands, and the menus and keys that reach them: speech,
// copying, the box's IPA, the import, the About box and closing.

namespace {

// The learner's choices, kept between runs.
const QString& settingsName() {
    static const QString name = qText(lookup::text::kAppName);
    return name;
}

// How often a running import is asked how far it is.
constexpr int kImportPollMs = 20;
constexpr int kProgressSteps = 1000;

} // namespace

void CLookupDlg::createSpeech() {
    const QString program = qEnvironmentVariable("MIRAWEN_ESPEAK", QStringLiteral("espeak-ng"));
    m_speech = new EspeakSpeech(this, program);
    // Told once a run. The engine tells from the event loop, after its own call
    // has returned: a box shown inside that call would run a loop of its own
    // in the middle of a request.
    m_speech->onFailure = [this](lookup::SpeechFailure failure) {
        if (const std::optional<std::string> notice = m_speechNotices.notice(failure)) {
            MessageBox::notice(qText(*notice), this);
        }
    };
    const QSettings settings(settingsName(), settingsName());
    m_accent =
        lookup::accentNamed(settings.value(qText(lookup::kAccentSetting)).toString().toStdString());
}

void CLookupDlg::setAccent(lookup::Accent accent) {
    m_accent = accent;
    QSettings settings(settingsName(), settingsName());
    settings.setValue(qText(lookup::kAccentSetting), qText(lookup::accentName(accent)));
}

void CLookupDlg::speak(const std::optional<lookup::Utterance>& utterance) {
    if (utterance) {
        m_speech->speak(*utterance);
    }
}

void CLookupDlg::OnSpeakRow() {
    // The row the cursor (or a right click) is on; after a search, which
    // makes no row current, the first match.
    const QList<int> rows = m_list->chosenRows();
    const int row = m_list->currentIndex().isValid() ? m_list->currentIndex().row()
                    : rows.isEmpty()                 ? -1
                                                     : rows.front();
    if (row >= 0) {
        speak(lookup::rowUtterance(m_entries, static_cast<std::size_t>(row), m_accent));
    }
}

void CLookupDlg::OnSpeakTyped() {
    speak(lookup::typedUtterance(u16(m_edit->text()), m_accent));
}

void CLookupDlg::OnCopyRows() {
    const QList<int> chosen = m_list->chosenRows();
    if (chosen.isEmpty()) {
        return;
    }
    const std::vector<std::size_t> rows(chosen.begin(), chosen.end());
    QGuiApplication::clipboard()->setText(qText(lookup::copiedText(m_entries, rows)));
}

void CLookupDlg::onEdited(const QString& text) {
    // Select all and insert: one step that Ctrl+Z undoes, back to what was
    // pasted.
    if (const std::optional<std::u16string> keys = m_typed.edited(u16(text))) {
        m_edit->selectAll();
        m_edit->insert(qText(*keys));
    }
}

void CLookupDlg::showListMenu(const QPoint& pos) {
    // The view's own right press has chosen the row under the pointer, unless
    // it was selected already; Shift+F10 chooses none.
    const bool chosen = !m_list->chosenRows().isEmpty();
    m_speakRow->setEnabled(chosen);
    m_copyRows->setEnabled(chosen);
    QMenu menu(this);
    menu.addAction(m_speakRow);
    menu.addAction(m_copyRows);
    menu.exec(m_list->viewport()->mapToGlobal(pos));
    m_speakRow->setEnabled(true);
    m_copyRows->setEnabled(true);
}

void CLookupDlg::showInputMenu(const QPoint& pos) {
    std::unique_ptr<QMenu> menu(m_edit->createStandardContextMenu());
    menu->addSeparator();
    menu->addAction(m_speakTyped);
    menu->exec(m_edit->mapToGlobal(pos));
}

void CLookupDlg::OnImport() {
    if (m_importing) {
        return;
    }
    const vocab::DataEnvironment env = vocab::DataEnvironment::fromProcess();
    const std::optional<std::filesystem::path> folder = vocab::userListFolder(env);
    if (!folder) {
        importNotice(qText(lookup::text::kNoUserFolder));
        return;
    }
    const QString filter = qText(lookup::text::kCsvFiles) + QStringLiteral(" (") +
                           qText(lookup::text::kCsvPattern) + QStringLiteral(");;") +
                           qText(lookup::text::kAllFiles) + QStringLiteral(" (") +
                           qText(lookup::text::kAllPattern) + QLatin1Char(')');
    const QString csv = FileDialog::openFile(this, qText(lookup::text::kImportChoose), filter);
    if (csv.isEmpty()) {
        return;
    }
    const bool replace = lookup::holdsLists(*folder);
    if (replace &&
        MessageBox::ask(this, qText(lookup::text::kImportCaption), qText(lookup::text::kAskReplace),
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        return;
    }

    m_importing = true;
    lookup::ImportTask task({QFile::encodeName(csv).toStdString(), *folder, replace});
    // Shown only for an import that takes a while; the window draws on, but
    // takes no input until the import has ended: the progress alone may
    // cancel it.
    QProgressDialog progress(qText(lookup::text::kImporting), qText(lookup::text::kCancel), 0,
                             kProgressSteps, this);
    progress.setWindowTitle(qText(lookup::text::kImportCaption));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    // A disabled control gives up the focus: it goes back where it was.
    const QPointer<QWidget> focus = focusWidget();
    setEnabled(false);
    progress.setEnabled(true); // a window of its own, enabled apart from the one it belongs to
    connect(&progress, &QProgressDialog::canceled, this, [&task] { task.cancel(); });
    QEventLoop loop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (task.done()) {
            loop.quit();
        } else {
            progress.setValue(static_cast<int>(task.progress() * kProgressSteps));
        }
    });
    poll.start(kImportPollMs);
    loop.exec();
    poll.stop();
    progress.hide();
    setEnabled(true);
    if (focus) {
        focus->setFocus();
    }
    m_importing = false;

    // Cancelled: no notice, and the old lists are whole.
    const lookup::ImportEnd end = lookup::importEnded(task.report(), m_dir, env);
    if (end.notice) {
        importNotice(qText(*end.notice));
    }
    if (end.reload) {
        m_location = *end.reload;
        reloadLists();
    }
}

void CLookupDlg::importNotice(const QString& text) {
    MessageBox::ask(this, qText(lookup::text::kImportCaption), text, QMessageBox::Ok,
                    QMessageBox::Ok);
}

void CLookupDlg::reloadLists() {
    // The font stays: it was registered once, for the window's life.
    vocab::LoadResult loaded;
    m_model->reset([&] {
        m_entries = vocab::EntryStore();
        lookup::LoadedLists lists = m_lists.take(m_location.listFolder);
        m_entries = std::move(lists.entries);
        loaded = std::move(lists.result);
    });
    m_sampleLists =
        lookup::showsSampleLists(m_location.listFolder, vocab::DataEnvironment::fromProcess());
    // At the start the window is not shown yet, and owns no box.
    for (const std::string& notice : lookup::listNotices(loaded)) {
        MessageBox::notice(qText(notice), isVisible() ? this : nullptr);
    }
}

bool CLookupDlg::eventFilter(QObject* watched, QEvent* event) {
    // A click on the chart types its symbol's key where the box's cursor is.
    if (event->type() == QEvent::MouseButtonRelease && watched == m_chart) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QRect picture = m_chart->contentsRect();
        const std::optional<char16_t> key = lookup::chartKeyAt(
            mouse->position().x() - picture.left(), static_cast<double>(picture.width()));
        if (mouse->button() == Qt::LeftButton && key) {
            m_edit->insert(QString(QChar(*key)));
            m_edit->setFocus(Qt::MouseFocusReason);
        }
    }
    // A left click on a row copies its key; clicks elsewhere and other
    // buttons change nothing.
    if (event->type() == QEvent::MouseButtonRelease && watched == m_list->viewport()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QModelIndex index = m_list->indexAt(mouse->position().toPoint());
            if (index.isValid()) {
                OnClickList(index);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CLookupDlg::OnSysCommand(unsigned nID) {
    switch (nID & 0xFFF0) {
    case IDM_ABOUTBOX: {
        CAboutDlg dlgAbout(this, m_sampleLists);
        dlgAbout.exec();
        break;
    }
    case IDM_IMPORT:
        OnImport();
        break;
    case IDM_BRITISH:
        setAccent(lookup::Accent::British);
        break;
    case IDM_AMERICAN:
        setAccent(lookup::Accent::American);
        break;
    case SC_CLOSE:
        close();
        break;
    default:
        break;
    }
}

// Window managers on Linux own the title bar's menu and let no program add to
// it, so the window's menu opens on its background instead.
void CLookupDlg::showWindowMenu(const QPoint& globalPos) {
    QMenu menu(this);
    menu.addAction(qText(lookup::text::kCloseMenu))->setData(SC_CLOSE);
    menu.addSeparator();
    for (const auto& [text, accent, id] :
         {std::tuple{lookup::text::kBritishMenu, lookup::Accent::British, IDM_BRITISH},
          std::tuple{lookup::text::kAmericanMenu, lookup::Accent::American, IDM_AMERICAN}}) {
        QAction* choice = menu.addAction(qText(text));
        choice->setData(id);
        choice->setCheckable(true);
        choice->setChecked(m_accent == accent);
    }
    menu.addSeparator();
    QAction* import = menu.addAction(qText(lookup::text::kImportMenu));
    import->setData(IDM_IMPORT);
    if (m_sampleLists) {
        menu.setToolTipsVisible(true);
        import->setToolTip(qText(lookup::text::kSampleLists));
    }
    if (!m_strAboutMenu.isEmpty()) {
        menu.addAction(m_strAboutMenu)->setData(IDM_ABOUTBOX);
    }
    if (const QAction* chosen = menu.exec(globalPos)) {
        OnSysCommand(chosen->data().toUInt());
    }
}

void CLookupDlg::contextMenuEvent(QContextMenuEvent* event) {
    // A right click on a control belongs to that control; the labels and the
    // group box are background.
    if (event->reason() == QContextMenuEvent::Mouse) {
        QWidget* child = childAt(event->pos());
        while (child && child->parentWidget() != this) {
            child = child->parentWidget();
        }
        if (child && child->focusPolicy() != Qt::NoFocus) {
            event->ignore();
            return;
        }
    }
    showWindowMenu(event->globalPos());
}

void CLookupDlg::keyPressEvent(QKeyEvent* event) {
    // Shift+F10 asks for the focused control's context menu, as the menu key
    // does; a control without one passes the request on to the window.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        QWidget* target = focusWidget() ? focusWidget() : this;
        const QPoint at = target->rect().center();
        QContextMenuEvent request(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at),
                                  event->modifiers());
        QCoreApplication::sendEvent(target, &request);
        return;
    }
    QDialog::keyPressEvent(event);
}
