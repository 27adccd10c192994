#include "app/EntryTableModel.h"

#include "codec/Codec.h"
#include "vocab/EntryStore.h"
#include "vocab/Mbcs.h"

#include <array>
#include <limits>

EntryTableModel::EntryTableModel(const vocab::EntryStore& store, QObject* parent)
    : QAbstractTableModel(parent), m_store(store) {}

void EntryTableModel::reset(const std::function<void()>& change) {
    beginResetModel();
    change();
    endResetModel();
}

int EntryTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    // A view counts rows in int; a store beyond that shows its first rows.
    return static_cast<int>(std::min<std::size_t>(m_store.size(), std::numeric_limits<int>::max()));
}

int EntryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    const vocab::WordEntry entry = m_store[static_cast<std::size_t>(index.row())];
    std::string_view text;
    switch (index.column()) {
    case Word:
        text = entry.word;
        break;
    case Phonetic:
        text = entry.phonetic;
        break;
    case Meaning:
        text = entry.meaning;
        break;
    case Level:
        text = entry.level;
        break;
    default:
        return {};
    }
    // A cell shows the beginning of a long text: drawing a line of megabytes
    // would freeze the window. The store keeps every byte.
    const std::size_t shown = vocab::mbcs::prefixOfChars(text, kMaxCellCharacters);
    QString cell = QString::fromStdString(codec::toUtf8(text.substr(0, shown)));
    if (shown < text.size()) {
        cell += QStringLiteral("…");
    }
    return cell;
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    static const std::array<QString, ColumnCount> headings{
        QStringLiteral("英文"), QStringLiteral("音标"), QStringLiteral("中文"),
        QStringLiteral("级")};
    return headings[static_cast<std::size_t>(section)];
}
