#include "VarListCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "MessageBox.h"
#include "VariableDelegate.h"

namespace {

constexpr int kNameColumnWidth = 100;
constexpr int kValueColumnWidth = 50;
// A row is this much taller than a line of its font.
constexpr int kRowPadding = 4;

}  // namespace

VarListCtrl::VarListCtrl(QWidget* parent)
    : QTableView(parent), m_renameAction(new QAction(this)), m_removeAction(new QAction(this)) {
    // The keys work while the grid itself has the focus, not while one of
    // its cells is being edited.
    m_renameAction->setObjectName(QStringLiteral("renameVariableAction"));
    m_renameAction->setShortcut(Qt::Key_F2);
    m_renameAction->setShortcutContext(Qt::WidgetShortcut);
    connect(m_renameAction, &QAction::triggered, this, [this] {
        const int row = currentIndex().isValid() ? currentIndex().row() : -1;
        if (row >= 0 && IsRowSelected(row))
            EditCell(row, VariablesModel::kNameColumn);
    });
    m_removeAction->setObjectName(QStringLiteral("removeVariableAction"));
    m_removeAction->setShortcut(Qt::Key_Delete);
    m_removeAction->setShortcutContext(Qt::WidgetShortcut);
    connect(m_removeAction, &QAction::triggered, this, &VarListCtrl::RemoveSelectedRows);
    addActions({m_renameAction, m_removeAction});

    setItemDelegate(new VariableDelegate(this));
    // A value opens on the first click (mousePressEvent), a name on a
    // click on a row already selected.
    setEditTriggers(QAbstractItemView::SelectedClicked);
    // Tab leaves the grid unless a cell is being edited.
    setTabKeyNavigation(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kRowPadding);
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
        connect(bar, &QAbstractSlider::actionTriggered, this,
                &VarListCtrl::TakeFocusBeforeScrolling);
        connect(bar, &QAbstractSlider::sliderPressed, this, &VarListCtrl::TakeFocusBeforeScrolling);
    }
}

void VarListCtrl::SetVariables(VariablesModel* variables) {
    if (m_variables)
        disconnect(m_variables, nullptr, this, nullptr);
    m_variables = variables;
    setModel(variables);
    setColumnWidth(VariablesModel::kNameColumn, kNameColumnWidth);
    setColumnWidth(VariablesModel::kValueColumn, kValueColumnWidth);
    connect(variables, &VariablesModel::Refused, this, &VarListCtrl::OnRefused);
}

bool VarListCtrl::IsRowSelected(int row) const {
    return selectionModel() && selectionModel()->isRowSelected(row, QModelIndex());
}

bool VarListCtrl::EditCell(int row, int column) {
    const QModelIndex cell = model() ? model()->index(row, column) : QModelIndex();
    if (!cell.isValid())
        return false;
    // Another edit still open ends first, and may take its row with it.
    const QPersistentModelIndex kept(cell);
    if (QWidget* open = OpenEditor()) {
        commitData(open);
        closeEditor(open, QAbstractItemDelegate::NoHint);
    }
    if (!kept.isValid())
        return false;
    selectionModel()->setCurrentIndex(
        kept, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(kept);
    return edit(kept, QAbstractItemView::AllEditTriggers, nullptr);
}

QWidget* VarListCtrl::OpenEditor() const {
    for (auto it = m_editedCells.cbegin(); it != m_editedCells.cend(); ++it) {
        // An editor whose row went was deleted without being closed.
        if (it.value().isValid() && indexWidget(it.value()) == it.key())
            return it.key();
    }
    return nullptr;
}

void VarListCtrl::DiscardEdit() {
    if (QWidget* editor = OpenEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool VarListCtrl::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (trigger == QAbstractItemView::SelectedClicked &&
        index.column() != VariablesModel::kNameColumn)
        return false;
    const bool opened = QTableView::edit(index, trigger, event);
    if (opened) {
        for (auto it = m_editedCells.begin(); it != m_editedCells.end();) {
            if (it.value().isValid() && indexWidget(it.value()) == it.key())
                ++it;
            else
                it = m_editedCells.erase(it);
        }
        if (QWidget* editor = indexWidget(index))
            m_editedCells.insert(editor, index);
    }
    return opened;
}

void VarListCtrl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const QPersistentModelIndex cell = m_editedCells.take(editor);
    const std::optional<VariableRefusal> refusal = std::exchange(m_pendingRefusal, std::nullopt);
    const bool unnamed = cell.isValid() && cell.column() == VariablesModel::kNameColumn &&
                         m_variables && m_variables->IsUnnamed(cell.row());
    // A refused or dropped cell is not left for the next one.
    if (refusal || unnamed)
        hint = QAbstractItemDelegate::NoHint;
    QTableView::closeEditor(editor, hint);
    if (refusal) {
        // The row keeps its text, and a new row stays to be named again.
        ShowMessageBox(this, refusal->message, refusal->title, QMessageBox::Information);
    } else if (unnamed && cell.isValid()) {
        m_variables->removeRow(cell.row());
    }
}

void VarListCtrl::OnRefused(const VariableRefusal& refusal) {
    // Told once the editor has closed; a change made without one is told
    // at once.
    if (OpenEditor())
        m_pendingRefusal = refusal;
    else
        ShowMessageBox(this, refusal.message, refusal.title, QMessageBox::Information);
}

void VarListCtrl::RemoveSelectedRows() {
    if (!selectionModel() || !model())
        return;
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    // From the bottom up, a run of rows at a time, so the rows still to go
    // keep their indices.
    while (!rows.empty()) {
        int first = rows.back();
        int count = 1;
        rows.pop_back();
        while (!rows.empty() && rows.back() == first - 1) {
            first = rows.back();
            ++count;
            rows.pop_back();
        }
        model()->removeRows(first, count);
    }
}

void VarListCtrl::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const QModelIndex current = currentIndex();
    const bool onSelectedRow = current.isValid() && IsRowSelected(current.row());
    // Enter belongs to the grid: passed on, it would press the window's
    // default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (onSelectedRow && modifiers == Qt::NoModifier)
            EditCell(current.row(), VariablesModel::kValueColumn);
        event->accept();
        return;
    }
    // A character typed over a selected row replaces its value, as typing
    // over a selected cell of a sheet does. Space keeps selecting rows.
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint() && !typed.at(0).isSpace();
    if (onSelectedRow && printable &&
        !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        if (EditCell(current.row(), VariablesModel::kValueColumn)) {
            if (QWidget* editor = OpenEditor())
                QApplication::sendEvent(editor, event);
        }
        return;
    }
    QTableView::keyPressEvent(event);
}

void VarListCtrl::mousePressEvent(QMouseEvent* event) {
    // Selection and focus first; taking the focus ends an open edit.
    QTableView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || event->modifiers() != Qt::NoModifier)
        return;
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (cell.isValid() && cell.column() == VariablesModel::kValueColumn)
        EditCell(cell.row(), cell.column());
}

void VarListCtrl::wheelEvent(QWheelEvent* event) {
    TakeFocusBeforeScrolling();
    QTableView::wheelEvent(event);
}

void VarListCtrl::TakeFocusBeforeScrolling() {
    if (!hasFocus())
        setFocus(Qt::OtherFocusReason);
}
