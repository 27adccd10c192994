#pragma once

#include <QAbstractTableModel>

#include <cstddef>
#include <functional>

namespace vocab {
class EntryStore;
}

// The entry store as the list's four columns (lookup::Column); row i is store
// entry i. Text is converted only for the cells the view asks for, so a
// million entries cost nothing until they are shown. A cell's tooltip is its
// text too: the view shows it only where the column cuts the text.
class EntryTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit EntryTableModel(const vocab::EntryStore& store, QObject* parent = nullptr);

    // The store changed as a whole (loaded, sorted).
    void reset(const std::function<void()>& change);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const vocab::EntryStore& m_store;
};
