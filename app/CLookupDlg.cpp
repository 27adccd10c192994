#include "app/CLookupDlg.h"

#include "app/CAboutDlg.h"
#include "app/DialogStyle.h"
#include "app/DialogUnits.h"
#include "app/EntryHeaderView.h"
#include "app/EntryListView.h"
#include "app/EntryTableModel.h"
#include "app/MessageBox.h"
#include "codec/Codec.h"
#include "controls/CHyperLinkButton.h"
#include "res/Resources.h"
#include "vocab/PrefixMatch.h"
#include "vocab/WordLists.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>

#include <array>
#include <limits>
#include <utility>

namespace {

constexpr std::array<int, EntryTableModel::ColumnCount> kColumnWidths{120, 120, 260, 50};
constexpr int kPhoneticPointSize = 16;

// One instance for the whole process, made when the first window opens and
// kept to the end: every window of the process shares it.
const QFont& phoneticFont() {
    static const QFont* font =
        new QFont(QString::fromUtf8(res::kPhoneticFontFamily), kPhoneticPointSize);
    return *font;
}

// A notice with the application's title, one OK button, no icon and no owner.
void showNotice(const QString& text) {
    MessageBox::ask(nullptr, QString::fromUtf8(res::kAppTitle), text, QMessageBox::Ok,
                    QMessageBox::Ok);
}

} // namespace

CLookupDlg::CLookupDlg(vocab::DataLocation location, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), m_location(std::move(location)) {
    m_hIcon.addPixmap(dialogPicture(res::kIcon32));
    m_hIcon.addPixmap(dialogPicture(res::kIcon16));
    // Registering a font empties Qt's font cache: register first, so that the
    // faces measured for the controls are loaded once.
    registerPhoneticFont();
    createControls();
    OnInitDialog();
}

CLookupDlg::~CLookupDlg() {
    // Child widgets outlive the members, and the model reads the store: let
    // the list and its model go before the store does.
    m_list->viewport()->removeEventFilter(this);
    delete m_list;
    delete m_model;
}

void CLookupDlg::createControls() {
    setWindowTitle(QStringLiteral("Mirawen 1.0"));
    setFont(dialogFont(kMainPointSize));
    const DialogUnits units(font());
    setFixedSize(units.size(341, 374));

    // Created in the order the Tab key visits them.
    m_edit = new QLineEdit(this);
    m_edit->setMaxLength(std::numeric_limits<int>::max()); // a clicked key is copied whole
    m_edit->setGeometry(units.rect(13, 22, 153, 19));

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setGeometry(units.rect(64, 50, 44, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CLookupDlg::OnOK);

    m_list = new EntryListView(this);
    m_list->setHorizontalHeader(new EntryHeaderView(Qt::Horizontal, m_list));
    m_list->setGeometry(units.rect(7, 77, 327, 270));

    auto* cancel = new QPushButton(QStringLiteral("退出"), this);
    cancel->setGeometry(units.rect(284, 353, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &CLookupDlg::OnCancel);

    // A picture control takes the size of its picture, plus its frame.
    auto* chart = new QLabel(this);
    const QPixmap picture = dialogPicture(res::kKeyChart);
    chart->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    chart->setLineWidth(1);
    chart->setPixmap(picture);
    const QPoint chartAt = units.rect(199, 14, 0, 0).topLeft();
    chart->setGeometry(QRect(chartAt, picture.size() + QSize(2, 2)));

    auto* chartCaption = new QLabel(QStringLiteral("(音标--键盘对照)"), this);
    chartCaption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    chartCaption->setGeometry(units.rect(228, 59, 62, 8));

    m_link = new CHyperLinkButton(QString::fromUtf8(res::kMakerWebAddress), this);
    m_link->setControlId(IDC_LINK);
    m_link->setGeometry(units.rect(7, 355, 179, 12));

    auto* group = new QGroupBox(QStringLiteral("请输入音标查询（不必全部输入）"), this);
    group->setGeometry(units.rect(7, 7, 327, 64));
    group->lower(); // a frame behind the controls it surrounds, not over them
}

void CLookupDlg::registerPhoneticFont() {
    const std::optional<std::filesystem::path>& file = m_location.fontFile;
    if (!file || QFontDatabase::addApplicationFont(QFile::decodeName(file->c_str())) < 0) {
        showNotice(QStringLiteral("没有音标字体文件:") +
                   QString::fromUtf8(vocab::kPhoneticFontFile.data(),
                                     static_cast<qsizetype>(vocab::kPhoneticFontFile.size())));
    }
}

bool CLookupDlg::OnInitDialog() {
    m_strAboutMenu = QString::fromUtf8(res::kAboutMenuText);
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
    for (std::size_t column = 0; column < kColumnWidths.size(); ++column) {
        header->resizeSection(static_cast<int>(column), kColumnWidths[column]);
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

    vocab::LoadResult loaded;
    m_model->reset([&] {
        loaded = m_entries.load(m_location.listFolder);
        m_entries.sort();
    });
    for (const vocab::ListFailure& failure : loaded.failures) {
        const QString name = QString::fromUtf8(failure.fileName());
        if (failure.kind == vocab::FailureKind::Missing) {
            showNotice(QStringLiteral("没有词库文件:") + name);
        } else {
            showNotice(QStringLiteral("无法读取词库文件:") + name + QStringLiteral("（") +
                       QString::fromStdString(failure.reason()) + QStringLiteral("）"));
        }
    }

    m_edit->setFocus();
    return true;
}

void CLookupDlg::OnOK() {
    m_strInput = m_edit->text();
    if (m_strInput.isEmpty()) {
        return;
    }

    QItemSelectionModel* selection = m_list->selectionModel();
    const QModelIndex current = selection->currentIndex();
    const bool currentWasSelected = current.isValid() && selection->isSelected(current);
    selection->clearSelection();
    if (currentWasSelected) {
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }

    // The box keeps the text as typed; only the comparison folds it. A
    // character that GBK cannot hold is in no key.
    const std::optional<std::string> input = codec::fromUtf8(m_strInput.toStdString());
    if (!input) {
        return;
    }
    const vocab::MatchResult match = vocab::prefixMatch(m_entries, *input);
    if (match.anyLongEnough) {
        // A view that takes the focus with no current row makes its first row
        // current; the search makes no row current.
        const bool hadCurrent = selection->currentIndex().isValid();
        m_list->setFocus(Qt::OtherFocusReason);
        if (!hadCurrent && selection->currentIndex().isValid()) {
            selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        }
    }

    // One selection change for all matches, a range for each run of rows.
    QItemSelection rows;
    const int rowCount = m_model->rowCount();
    const int lastColumn = EntryTableModel::ColumnCount - 1;
    for (std::size_t i = 0; i < match.indices.size();) {
        std::size_t j = i + 1;
        while (j < match.indices.size() && match.indices[j] == match.indices[j - 1] + 1) {
            ++j;
        }
        const auto first = static_cast<int>(match.indices[i]);
        const auto last = static_cast<int>(match.indices[j - 1]);
        if (first < rowCount) {
            rows.select(m_model->index(first, 0),
                        m_model->index(std::min(last, rowCount - 1), lastColumn));
        }
        i = j;
    }
    if (rows.isEmpty()) {
        return;
    }
    selection->select(rows, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    // As scrolling each match into view in turn leaves the list: the last
    // match in view, and as many of the earlier ones as fit above it.
    m_list->scrollTo(m_model->index(rows.first().top(), 0), QAbstractItemView::EnsureVisible);
    m_list->scrollTo(m_model->index(rows.last().bottom(), 0), QAbstractItemView::EnsureVisible);
}

void CLookupDlg::OnClickList(const QModelIndex& index) {
    m_strInput =
        QString::fromStdString(codec::toUtf8(m_entries.key(static_cast<std::size_t>(index.row()))));
    m_edit->setText(m_strInput);
}

void CLookupDlg::OnCancel() {
    if (MessageBox::ask(this, QStringLiteral("确定"), QStringLiteral("是否退出?"),
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes) {
        QDialog::reject();
    }
}

void CLookupDlg::reject() {
    OnCancel();
}

bool CLookupDlg::eventFilter(QObject* watched, QEvent* event) {
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
        CAboutDlg dlgAbout(this);
        dlgAbout.exec();
        break;
    }
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
    menu.addAction(QStringLiteral("关闭(&C)"))->setData(SC_CLOSE);
    if (!m_strAboutMenu.isEmpty()) {
        menu.addSeparator();
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
