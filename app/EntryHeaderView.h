#pragma once

#include <QHeaderView>

// The entry list's column headings. Qt sizes a heading as if it were drawn in
// bold, to leave room for a highlighted section; this list highlights none,
// and measuring in bold would load a bold face just for that.
class EntryHeaderView : public QHeaderView {
    Q_OBJECT

public:
    using QHeaderView::QHeaderView;

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};
