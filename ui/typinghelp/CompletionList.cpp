#include "CompletionList.h"

#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

CompletionList::CompletionList(QWidget* box) : QTreeWidget(box) {
    setWindowFlags(Qt::ToolTip);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setColumnCount(2);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAccessibleName(tr("名称补全"));
}

void CompletionList::SetEntries(const QList<NameEntry>& entries) {
    clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(entries.size());
    for (const NameEntry& entry : entries)
        items.append(new QTreeWidgetItem(QStringList{entry.name, entry.summary}));
    addTopLevelItems(items);
    if (!items.isEmpty())
        setCurrentItem(items.first());
    resizeColumnToContents(0);
    resizeColumnToContents(1);
    const int rows = std::min<int>(kRowsShown, static_cast<int>(items.size()));
    const int frame = 2 * frameWidth();
    const int rowHeight = items.isEmpty() ? 0 : sizeHintForRow(0);
    const int scrollBar = items.size() > kRowsShown ? verticalScrollBar()->sizeHint().width() : 0;
    resize(columnWidth(0) + columnWidth(1) + frame + scrollBar, rows * rowHeight + frame);
}

void CompletionList::Step(int rows) {
    const int count = topLevelItemCount();
    if (count == 0)
        return;
    setCurrentItem(topLevelItem(std::clamp(CurrentRow() + rows, 0, count - 1)));
}

int CompletionList::CurrentRow() const {
    return currentItem() ? indexOfTopLevelItem(currentItem()) : -1;
}
