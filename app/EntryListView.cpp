#include "app/EntryListView.h"

#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>

QList<int> EntryListView::chosenRows() const {
    QList<int> rows;
    if (selectionModel()) {
        for (const QModelIndex& index : selectionModel()->selectedRows()) {
            rows << index.row();
        }
    }
    if (rows.isEmpty() && currentIndex().isValid()) {
        rows << currentIndex().row();
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

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

bool EntryListView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QTableView::viewportEvent(event);
    }
    // Only the model knows the text and only the view the width: a text that
    // fits needs no tooltip over it.
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.data(Qt::ToolTipRole).toString();
    const QRect cell = visualRect(index);
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    if (text.isEmpty() || fontMetrics().horizontalAdvance(text) + 2 * margin <= cell.width()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    // As rich text, so that a long meaning wraps rather than runs off the screen.
    QToolTip::showText(help->globalPos(), Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal),
                       viewport(), cell);
    return true;
}
