#pragma once

#include <QString>
#include <QTreeWidget>

// The grid of user variables: a report of two left-aligned columns, name
// and value, one row per variable in the order they were added, whole rows
// selected, several at a time.
class CVarListCtrl : public QTreeWidget {
    Q_OBJECT
  public:
    explicit CVarListCtrl(QWidget* parent = nullptr);

    // The two columns, "变量名" 100 px and "值" 50 px, and full-row selection.
    void InsertColumns();

    int GetItemCount() const { return topLevelItemCount(); }
    QString GetItemText(int row, int column) const;
    // Inserts a row at `row` (clamped to the end) and returns its index.
    int InsertItem(int row, const QString& name, const QString& value);
    void SetItemText(int row, int column, const QString& text);
};
