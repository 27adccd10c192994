#include "app/EntryTableModel.h"

#include "app/DialogStyle.h"
#include "lookup/Cells.h"
#include "lookup/Texts.h"
#include "vocab/EntryStore.h"

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
    return parent.isValid() ? 0 : static_cast<int>(lookup::ColumnCount);
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return {};
    }
    // The beginning of a long text: drawing a line of megabytes would freeze
    // the window.
    return qText(lookup::cellText(m_store, static_cast<std::size_t>(index.row()),
                                  static_cast<std::size_t>(index.column())));
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(lookup::ColumnCount)) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    return qText(lookup::text::kColumns[static_cast<std::size_t>(section)].heading);
}
