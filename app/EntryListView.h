#pragma once

#include <QTableView>

// The entry list. A search selects its matches without making any of them
// the current row, so the keys that move the cursor start from the first
// selected row when there is no current row, not from the top of the list.
// A cell too narrow for its text shows the text as its tooltip.
class EntryListView : public QTableView {
    Q_OBJECT

public:
    using QTableView::QTableView;

    // The rows the list's commands act on: the selected ones, else the
    // current one.
    [[nodiscard]] QList<int> chosenRows() const;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    bool viewportEvent(QEvent* event) override;
};
