#pragma once

#include <QStyledItemDelegate>

// Edits a cell of the variables grid in a line box laid over it, 4 px in
// from the cell's left edge, that widens with its text up to the grid's
// edge. Enter commits the cell and the grid keeps the focus; Tab and
// Shift+Tab commit it and go on to the next or the previous cell; Escape
// drops the edit; leaving the box any other way commits it. The full-width
// forms an input method types stand for the ASCII characters the box takes
// instead. The window's copy key copies the result here as everywhere.
class VariableDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
