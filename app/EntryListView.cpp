#include "app/EntryListView.h"

#include <QItemSelectionModel>

#include <algorithm>

QModelIndex EntryListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    if (!currentIndex().isValid() && selectionModel() && selectionModel()->hasSelection()) {
        int top = model()->rowCount();
        for (const QItemSelectionRange& range : selectionModel()->selection()) {
            top = std::min(top, range.top());
        }
        return model()->index(top, 0);
    }
    return QTableView::moveCursor(cursorAction, modifiers);
}
