#include "app/CLookupDlg.h"

#include "app/CAboutDlg.h"
#include "app/DialogStyle.h"
#include "app/DialogUnits.h"
#include "app/EntryHeaderView.h"
#include "app/EntryListView.h"
#include "app/EntryTableModel.h"
#include "app/EspeakSpeech.h"
#include "app/FileDialog.h"
#include "app/MessageBox.h"
#include "controls/CHyperLinkButton.h"
#include "lookup/Cells.h"
#include "lookup/Notices.h"
#include "lookup/Search.h"
#include "lookup/Texts.h"
#include "lookup/TypedText.h"
#include "lookup/WindowImport.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTimer>

#include <fstream>
#include <limits>
#include <memory>
#include <system_error>
#include <tuple>
#include <utility>

namespace {

constexpr int kPhoneticPointSize = 16;

// One instance for the whole process, made when the first window opens and
// kept to the end: every window of the process shares it.
const QFont& phoneticFont() {
    static const QFont* font =
        new QFont(qText(lookup::text::kPhoneticFontFamily), kPhoneticPointSize);
    return *font;
}

// A notice with the application's title, one OK button and no icon; at the
// start it has no owner, later the window owns it.
void showNotice(const std::string& text, QWidget* owner = nullptr) {
    MessageBox::ask(owner, qText(lookup::text::kAppName), qText(text), QMessageBox::Ok,
                    QMessageBox::Ok);
}

std::u16string_view u16(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// The learner's choices, kept between runs.
const QString& settingsName() {
    static const QString name = qText(lookup::text::kAppName);
    return name;
}

// How often a running import is asked how far it is.
constexpr int kImportPollMs = 20;
constexpr int kProgressSteps = 1000;

} // namespace

CLookupDlg::CLookupDlg(vocab::DataLocation location, QWidget* parent,
                       std::optional<std::filesystem::path> dir)
    : QDialog(parent, kFixedDialogFlags), m_location(std::move(location)), m_dir(std::move(dir)) {
    m_hIcon.addPixmap(dialogPicture(kIcon32));
    m_hIcon.addPixmap(dialogPicture(kIcon16));
    // Registering a font empties Qt's font cache: register first, so that the
    // faces measured for the controls are loaded once.
    registerPhoneticFont();
    createControls();
    createSpeech();
    OnInitDialog();
}

CLookupDlg::~CLookupDlg() {
    m_speech->stop(); // silent at once, not when the process is reaped
    // Child widgets outlive the members, and the model reads the store: let
    // the list and its model go before the store does.
    m_list->viewport()->removeEventFilter(this);
    delete m_list;
    delete m_model;
}

void CLookupDlg::createControls() {
    setWindowTitle(qText(lookup::text::kCaption));
    setFont(dialogFont(kMainPointSize));
    const DialogUnits units(font());
    setFixedSize(units.size(341, 374));

    // Created in the order the Tab key visits them.
    m_edit = new QLineEdit(this);
    m_edit->setMaxLength(std::numeric_limits<int>::max()); // a clicked key is copied whole
    m_edit->setGeometry(units.rect(13, 22, 153, 19));

    auto* ok = new QPushButton(qText(lookup::text::kOk), this);
    ok->setGeometry(units.rect(64, 50, 44, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CLookupDlg::OnOK);

    m_list = new EntryListView(this);
    m_list->setHorizontalHeader(new EntryHeaderView(Qt::Horizontal, m_list));
    m_list->setGeometry(units.rect(7, 77, 327, 270));

    auto* cancel = new QPushButton(qText(lookup::text::kExit), this);
    cancel->setGeometry(units.rect(284, 353, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &CLookupDlg::OnCancel);

    // A picture control takes the size of its picture, plus its frame.
    auto* chart = new QLabel(this);
    const QPixmap picture = dialogPicture(kKeyChart);
    chart->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    chart->setLineWidth(1);
    chart->setPixmap(picture);
    const QPoint chartAt = units.rect(199, 14, 0, 0).topLeft();
    chart->setGeometry(QRect(chartAt, picture.size() + QSize(2, 2)));
    // A keyboard too: a click types the key of the symbol under it.
    chart->setCursor(Qt::PointingHandCursor);
    chart->setToolTip(qText(lookup::text::kChartTip));
    chart->installEventFilter(this);
    m_chart = chart;

    auto* chartCaption = new QLabel(qText(lookup::text::kChartCaption), this);
    chartCaption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    chartCaption->setGeometry(units.rect(228, 59, 62, 8));

    m_link = new CHyperLinkButton(qText(lookup::text::kWebAddress), this);
    m_link->setControlId(IDC_LINK);
    m_link->setGeometry(units.rect(7, 355, 179, 12));

    auto* group = new QGroupBox(qText(lookup::text::kInputGroup), this);
    group->setGeometry(units.rect(7, 7, 327, 64));
    group->lower(); // a frame behind the controls it surrounds, not over them
}

void CLookupDlg::registerPhoneticFont() {
    // Read by its path's bytes: a file name that is not in the locale's
    // encoding would not survive a trip through QString.
    const std::optional<std::filesystem::path>& file = m_location.fontFile;
    bool registered = false;
    if (file) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(*file, error);
        std::ifstream in(*file, std::ios::binary);
        QByteArray bytes(error ? 0 : static_cast<qsizetype>(size), '\0');
        registered = !error && in.read(bytes.data(), bytes.size()) &&
                     QFontDatabase::addApplicationFontFromData(bytes) >= 0;
    }
    if (const std::optional<std::string> notice = lookup::fontNotice(registered)) {
        showNotice(*notice);
    }
}

bool CLookupDlg::OnInitDialog() {
    m_strAboutMenu = qText(lookup::text::kAboutMenu);
    setWindowIcon(m_hIcon);

    m_list->setFont(phoneticFont());
    m_edit->setFont(phoneticFont());

    m_model = new EntryTableModel(m_entries, this);
    m_list->setModel(m_model);
    QHeaderView* header = m_list->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(false);
    header->setSectionsClickable(false);
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    for (std::size_t column = 0; column < lookup::text::kColumns.size(); ++column) {
        header->resizeSection(static_cast<int>(column), lookup::text::kColumns[column].width);
    }
    QHeaderView* rows = m_list->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed); // uniform rows: a million cost no more than ten
    rows->setDefaultSectionSize(QFontMetrics(phoneticFont()).height() + 2);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    m_list->setSortingEnabled(false);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The selection shows only while the list has the focus.
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Inactive, QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Inactive, QPalette::Text));
    m_list->setPalette(palette);
    m_list->viewport()->installEventFilter(this);

    // The list's commands: a double click or Ctrl+R says a row's word, Ctrl+C
    // copies the chosen entries; its menu holds both.
    m_speakRow = new QAction(qText(lookup::text::kSpeakMenu), m_list);
    m_speakRow->setShortcut(QKeySequence(qText(lookup::text::kSpeakKey)));
    m_speakRow->setShortcutContext(Qt::WidgetShortcut);
    connect(m_speakRow, &QAction::triggered, this, &CLookupDlg::OnSpeakRow);
    m_copyRows = new QAction(qText(lookup::text::kCopyMenu), m_list);
    m_copyRows->setShortcut(QKeySequence::Copy);
    m_copyRows->setShortcutContext(Qt::WidgetShortcut);
    connect(m_copyRows, &QAction::triggered, this, &CLookupDlg::OnCopyRows);
    m_list->addActions({m_speakRow, m_copyRows});
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, &CLookupDlg::showListMenu);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        speak(lookup::rowUtterance(m_entries, static_cast<std::size_t>(index.row()), m_accent));
    });

    // The box: pasted IPA becomes keys; Ctrl+R says the transcription, and
    // its editing menu offers the same.
    m_speakTyped = new QAction(qText(lookup::text::kSpeakTypedMenu), m_edit);
    m_speakTyped->setShortcut(QKeySequence(qText(lookup::text::kSpeakKey)));
    m_speakTyped->setShortcutContext(Qt::WidgetShortcut);
    connect(m_speakTyped, &QAction::triggered, this, &CLookupDlg::OnSpeakTyped);
    m_edit->addAction(m_speakTyped);
    m_edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_edit, &QWidget::customContextMenuRequested, this, &CLookupDlg::showInputMenu);
    connect(m_edit, &QLineEdit::textEdited, this, &CLookupDlg::onEdited);

    vocab::LoadResult loaded;
    m_model->reset([&] {
        loaded = m_entries.load(m_location.listFolder);
        m_entries.sort();
    });
    for (const std::string& notice : lookup::listNotices(loaded)) {
        showNotice(notice);
    }

    m_edit->setFocus();
    return true;
}

void CLookupDlg::OnOK() {
    m_strInput = m_edit->text();
    const lookup::SearchOutcome outcome = lookup::search(
        m_entries, std::u16string_view(reinterpret_cast<const char16_t*>(m_strInput.utf16()),
                                       static_cast<std::size_t>(m_strInput.size())));
    if (!outcome.act) {
        return;
    }

    QItemSelectionModel* selection = m_list->selectionModel();
    const QModelIndex current = selection->currentIndex();
    const bool currentWasSelected = current.isValid() && selection->isSelected(current);
    selection->clearSelection();
    if (currentWasSelected) {
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    if (outcome.focusList) {
        // A view that takes the focus with no current row makes its first row
        // current; the search makes no row current.
        const bool hadCurrent = selection->currentIndex().isValid();
        m_list->setFocus(Qt::OtherFocusReason);
        if (!hadCurrent && selection->currentIndex().isValid()) {
            selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        }
    }

    // One selection change for all matches; the view counts rows in int.
    QItemSelection rows;
    const auto rowCount = static_cast<std::size_t>(m_model->rowCount());
    const int lastColumn = static_cast<int>(lookup::ColumnCount) - 1;
    for (const lookup::RowRange& range : outcome.rows) {
        if (range.first < rowCount) {
            rows.select(
                m_model->index(static_cast<int>(range.first), 0),
                m_model->index(static_cast<int>(std::min(range.last, rowCount - 1)), lastColumn));
        }
    }
    if (rows.isEmpty()) {
        return;
    }
    selection->select(rows, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    for (std::size_t row : outcome.scrollTo) {
        m_list->scrollTo(m_model->index(static_cast<int>(std::min(row, rowCount - 1)), 0),
                         QAbstractItemView::EnsureVisible);
    }
}

void CLookupDlg::OnClickList(const QModelIndex& index) {
    m_strInput = qText(lookup::keyText(m_entries, static_cast<std::size_t>(index.row())));
    m_edit->setText(m_strInput);
}

void CLookupDlg::OnCancel() {
    if (MessageBox::ask(this, qText(lookup::text::kOk), qText(lookup::text::kAskExit),
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes) {
        m_speech->stop();
        QDialog::reject();
    }
}

void CLookupDlg::createSpeech() {
    const QString program = qEnvironmentVariable("MIRAWEN_ESPEAK", QStringLiteral("espeak-ng"));
    m_speech = new EspeakSpeech(this, program);
    // Told once a run, after the engine's own call has returned: a box shown
    // inside it would run a loop of its own in the middle of a request.
    m_speech->onFailure = [this](lookup::SpeechFailure failure) {
        if (const std::optional<std::string> notice = m_speechNotices.notice(failure)) {
            QTimer::singleShot(0, this, [this, text = *notice] { showNotice(text, this); });
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
    // Undo reports itself as an edit too: the IPA it brings back stays.
    const bool undone = m_shownText == m_ipaKeys && text == m_typedIpa;
    m_shownText = text;
    if (undone) {
        return;
    }
    // Select all and insert: one step that Ctrl+Z undoes, back to what was
    // pasted. The keys are code already, so the insert's own edit stops here.
    if (const std::optional<std::u16string> keys = lookup::keysOfTypedIpa(u16(text))) {
        m_typedIpa = text;
        m_ipaKeys = qText(*keys);
        m_edit->selectAll();
        m_edit->insert(m_ipaKeys);
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
    const std::optional<std::filesystem::path> folder = lookup::importFolder(env);
    if (!folder) {
        showNotice(lookup::noUserFolderNotice(), this);
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
    // Shown only for an import that takes a while; the window draws on.
    QProgressDialog progress(qText(lookup::text::kImporting), qText(lookup::text::kCancel), 0,
                             kProgressSteps, this);
    progress.setWindowTitle(qText(lookup::text::kImportCaption));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
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
    if (!task.done()) {
        loop.exec();
    }
    poll.stop();
    progress.hide();
    m_importing = false;
    if (!isVisible()) {
        return; // closed while it ran: the lists are whatever the import left
    }

    // Cancelled: the old lists are whole, and the learner knows it.
    const importer::ImportReport& report = task.report();
    if (report.status == importer::ImportReport::Status::Stopped) {
        return;
    }
    showNotice(lookup::importNotice(report), this);
    if (report.status == importer::ImportReport::Status::Written) {
        m_location = vocab::locateData(m_dir, env);
        reloadLists();
    }
}

void CLookupDlg::reloadLists() {
    // The font stays: it was registered once, for the window's life.
    vocab::LoadResult loaded;
    m_model->reset([&] {
        m_entries = vocab::EntryStore();
        loaded = m_entries.load(m_location.listFolder);
        m_entries.sort();
    });
    for (const std::string& notice : lookup::listNotices(loaded)) {
        showNotice(notice, this);
    }
}

void CLookupDlg::reject() {
    OnCancel();
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
        CAboutDlg dlgAbout(this, lookup::showsSampleLists(m_location.listFolder,
                                                          vocab::DataEnvironment::fromProcess()));
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
    if (lookup::showsSampleLists(m_location.listFolder, vocab::DataEnvironment::fromProcess())) {
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
