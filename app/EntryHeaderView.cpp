#include "app/EntryHeaderView.h"

#include <QStyleOptionHeader>

QSize EntryHeaderView::sectionSizeFromContents(int logicalIndex) const {
    ensurePolished();
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.section = logicalIndex;
    option.text = model()->headerData(logicalIndex, orientation()).toString();
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
}
