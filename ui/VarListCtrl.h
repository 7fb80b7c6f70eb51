#pragma once

#include <QAction>
#include <QString>
#include <QTimer>
#include <QTreeWidget>
#include <optional>

class CellEdit;

// The grid of user variables: a report of two left-aligned columns, name
// and value, one row per variable in the order they were added, whole rows
// selected, several at a time. Cells are edited in place: a click on a
// value, or on the name of a row already selected, opens an editor over
// the cell, and every edited text is checked before the cell takes it.
// From the keyboard, Enter opens the value of the current row, F2 (the
// rename action) its name, and a typed character starts the value's edit
// with itself; Delete (the remove action) removes the selected rows. A new row (named
// "请输入变量名", value "0.0") whose naming is cancelled, or confirmed untouched, goes again.
class VarListCtrl : public QTreeWidget {
    Q_OBJECT
  public:
    explicit VarListCtrl(QWidget* parent = nullptr);

    // The two columns, "变量名" 100 px and "值" 50 px, and full-row selection.
    void InsertColumns();

    int GetItemCount() const { return topLevelItemCount(); }
    QString GetItemText(int row, int column) const;
    // Inserts a row at `row` (clamped to the end) and returns its index.
    int InsertItem(int row, const QString& name, const QString& value);
    void SetItemText(int row, int column, const QString& text);
    bool IsItemSelected(int row) const;
    void DeleteItem(int row);

    // The row under `point` (viewport coordinates), or -1; `column` is set
    // to the column there, 0 when there is none.
    int HitTestCell(const QPoint& point, int* column) const;
    // Opens an editor over a cell and makes its row the current one; none
    // when the cell cannot be edited. An editor already open ends first, as
    // a click elsewhere ends it.
    CellEdit* EditSubItem(int row, int column);
    // Ends an open cell edit as Escape does, its text unchecked, and a new
    // row being named goes with it: a window that closes never waits for a
    // message about a cell, nor leaves a row behind.
    void DiscardEdit();

    // Edits the name of the current row, when it is selected; F2.
    QAction* RenameAction() const { return m_renameAction; }
    // Removes every selected row; Delete.
    QAction* RemoveAction() const { return m_removeAction; }

    // The row is as 添加 made it and has not been named yet.
    bool IsUnnamedNewRow(int row) const;

  signals:
    // The user changed the variables: an edit accepted, or rows removed.
    void RowsEdited();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    // An editor's edit has ended; `text` is none when it was cancelled. A
    // name must be new and well formed, a value one decimal number;
    // otherwise a message box says why and the cell keeps its text.
    void OnEndLabelEdit(int row, int column, const std::optional<QString>& text);
    // The rectangle of a whole row, all columns, in viewport coordinates;
    // empty for a row that does not exist.
    QRect RowBounds(int row) const;
    int TopIndex() const;
    int CountPerPage() const;
    // Scrolling ends an open edit: the grid takes the focus first.
    void TakeFocusBeforeScrolling();

    // A click on the name of a row already selected edits the name, unless
    // it turns out to be the first half of a double click.
    QTimer m_labelEditTimer;
    int m_labelEditRow = -1;
    QAction* m_renameAction;
    QAction* m_removeAction;
};
