#pragma once

#include <QAction>
#include <QHash>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>
#include <optional>

#include "VariablesModel.h"

// The grid of user variables: two left-aligned columns, name and value,
// whole rows selected, several at a time, over a VariablesModel. Cells are
// edited in place (VariableDelegate): a click on a value, or on the name of
// a row already selected, opens an editor over the cell. From the keyboard
// Enter opens the value of the current row, F2 (the rename action) its
// name, and a typed character starts the value's edit with itself; inside
// an editor Tab and Shift+Tab go on from name to value to the next row's
// name. Delete (the remove action) removes the selected rows. A refused
// edit is told in a message box once its editor has closed. A new row whose
// naming ends without a name goes again.
class VarListCtrl : public QTableView {
    Q_OBJECT
  public:
    explicit VarListCtrl(QWidget* parent = nullptr);

    // Shows `variables`, "变量名" 100 px and "值" 50 px wide.
    void SetVariables(VariablesModel* variables);

    // Makes the cell's row the only one selected and the current one, and
    // opens an editor over the cell; false when none opened.
    bool EditCell(int row, int column);
    // Ends an open cell edit as Escape does, its text unchecked, and a new
    // row being named goes with it: a window that closes never waits for a
    // message about a cell, nor leaves a row behind.
    void DiscardEdit();
    // The open editor, if any.
    QWidget* OpenEditor() const;

    // Edits the name of the current row, when it is selected; F2.
    QAction* RenameAction() const { return m_renameAction; }
    // Removes every selected row; Delete.
    QAction* RemoveAction() const { return m_removeAction; }

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void RemoveSelectedRows();
    void OnRefused(const VariableRefusal& refusal);
    // Scrolling ends an open edit: the grid takes the focus first.
    void TakeFocusBeforeScrolling();
    bool IsRowSelected(int row) const;

    QPointer<VariablesModel> m_variables;
    // The cell each open editor edits.
    QHash<QWidget*, QPersistentModelIndex> m_editedCells;
    // A refusal met while an editor was open, told once it has closed.
    std::optional<VariableRefusal> m_pendingRefusal;
    QAction* m_renameAction;
    QAction* m_removeAction;
};
