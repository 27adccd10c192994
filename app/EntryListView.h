#pragma once

#include <QTableView>

// The entry list. A search selects its matches without making any of them
// the current row, so the keys that move the cursor start from the first
// selected row when there is no current row, not from the top of the list.
class EntryListView : public QTableView {
    Q_OBJECT

public:
    using QTableView::QTableView;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
};
