#include "app/CLookupDlg.h"

#include "app/DialogStyle.h"
#include "app/DialogUnits.h"
#include "app/EntryHeaderView.h"
#include "app/EntryTableModel.h"
#include "app/EspeakSpeech.h"
#include "app/MessageBox.h"
#include "controls/CHyperLinkButton.h"
#include "lookup/Cells.h"
#include "lookup/Notices.h"
#include "lookup/Search.h"
#include "lookup/Texts.h"

#include <QAction>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelection>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <algorithm>
#include <fstream>
#include <limits>
#include <system_error>
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

} // namespace

CLookupDlg::CLookupDlg(vocab::DataLocation location, QWidget* parent,
                       std::optional<std::filesystem::path> dir)
    : QDialog(parent, kFixedDialogFlags), m_location(std::move(location)), m_dir(std::move(dir)) {
    m_lists.begin(m_location.listFolder);
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

    // A picture control takes the size of its picture, plus its frame. Scaled
    // by the label, the picture is drawn smoothly to the screen's own pixels
    // at a ratio between those it was drawn for.
    auto* chart = new QLabel(this);
    const QPixmap picture = dialogPicture(kKeyChart, kKeyChart2x, devicePixelRatioF());
    chart->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    chart->setLineWidth(1);
    chart->setScaledContents(true);
    chart->setPixmap(picture);
    const QPoint chartAt = units.rect(199, 14, 0, 0).topLeft();
    chart->setGeometry(QRect(chartAt, picture.deviceIndependentSize().toSize() + QSize(2, 2)));
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
        MessageBox::notice(qText(*notice));
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

    reloadLists();
    m_edit->setFocus();
    return true;
}

void CLookupDlg::OnOK() {
    m_strInput = m_edit->text();
    const lookup::SearchOutcome outcome = lookup::search(m_entries, u16(m_strInput));
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
    // The window manager's close button still reaches a disabled window: an
    // import holds the window until it has ended.
    if (m_importing) {
        return;
    }
    if (MessageBox::ask(this, qText(lookup::text::kOk), qText(lookup::text::kAskExit),
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes) {
        m_speech->stop();
        QDialog::reject();
    }
}

void CLookupDlg::reject() {
    OnCancel();
}
