#include "VarListCtrl.h"

#include <QHeaderView>

namespace {

constexpr int kNameColumnWidth = 100;
constexpr int kValueColumnWidth = 50;

}  // namespace

CVarListCtrl::CVarListCtrl(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
}

void CVarListCtrl::InsertColumns() {
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("变量名"), QStringLiteral("值")});
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setColumnWidth(0, kNameColumnWidth);
    setColumnWidth(1, kValueColumnWidth);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAllColumnsShowFocus(true);
}

QString CVarListCtrl::GetItemText(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(column) : QString();
}

int CVarListCtrl::InsertItem(int row, const QString& name, const QString& value) {
    row = std::clamp(row, 0, GetItemCount());
    auto* item = new QTreeWidgetItem(QStringList{name, value});
    insertTopLevelItem(row, item);
    return row;
}

void CVarListCtrl::SetItemText(int row, int column, const QString& text) {
    if (QTreeWidgetItem* item = topLevelItem(row))
        item->setText(column, text);
}
