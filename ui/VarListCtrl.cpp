#include "VarListCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <string>
#include <vector>

#include "CellEdit.h"
#include "EngineTexts.h"
#include "MessageBox.h"
#include "UiText.h"
#include "VarValidation.h"
#include "WindowTexts.h"

namespace {

constexpr int kNameColumnWidth = 100;
constexpr int kValueColumnWidth = 50;
// A narrower column cannot hold an editor.
constexpr int kMinEditableColumnWidth = 5;
// The editor starts this far right of the cell's left edge, and ends this
// much short of the column's width.
constexpr int kEditorIndent = 4;
constexpr int kEditorWidthShortfall = 3;

}  // namespace

VarListCtrl::VarListCtrl(QWidget* parent)
    : QTreeWidget(parent), m_renameAction(new QAction(this)), m_removeAction(new QAction(this)) {
    // The keys work while the grid itself has the focus, not while one of
    // its cells is being edited.
    m_renameAction->setObjectName(QStringLiteral("renameVariableAction"));
    m_renameAction->setShortcut(Qt::Key_F2);
    m_renameAction->setShortcutContext(Qt::WidgetShortcut);
    connect(m_renameAction, &QAction::triggered, this, [this] {
        const int row = currentIndex().isValid() ? currentIndex().row() : -1;
        if (row >= 0 && IsItemSelected(row))
            EditSubItem(row, 0);
    });
    m_removeAction->setObjectName(QStringLiteral("removeVariableAction"));
    m_removeAction->setShortcut(Qt::Key_Delete);
    m_removeAction->setShortcutContext(Qt::WidgetShortcut);
    connect(m_removeAction, &QAction::triggered, this, [this] {
        // From the bottom up, so the rows still to go keep their indices.
        bool removed = false;
        for (int row = GetItemCount() - 1; row >= 0; --row) {
            if (IsItemSelected(row)) {
                DeleteItem(row);
                removed = true;
            }
        }
        if (removed)
            emit RowsEdited();
    });
    addActions({m_renameAction, m_removeAction});
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_labelEditTimer.setSingleShot(true);
    m_labelEditTimer.setInterval(QApplication::doubleClickInterval());
    connect(&m_labelEditTimer, &QTimer::timeout, this, [this] {
        if (IsItemSelected(m_labelEditRow))
            EditSubItem(m_labelEditRow, 0);
    });
    // An editor whose row goes (a button that keeps no focus deletes it)
    // has nothing left to edit.
    connect(model(), &QAbstractItemModel::rowsRemoved, this, [this] {
        for (CellEdit* editor : findChildren<CellEdit*>()) {
            if (editor->Row() < 0)
                editor->Cancel();
        }
    });
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
        connect(bar, &QAbstractSlider::actionTriggered, this,
                &VarListCtrl::TakeFocusBeforeScrolling);
        connect(bar, &QAbstractSlider::sliderPressed, this, &VarListCtrl::TakeFocusBeforeScrolling);
    }
}

void VarListCtrl::InsertColumns() {
    setColumnCount(2);
    setHeaderLabels({WindowText(WindowTexts::kNameColumn), WindowText(WindowTexts::kValueColumn)});
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

QString VarListCtrl::GetItemText(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(column) : QString();
}

int VarListCtrl::InsertItem(int row, const QString& name, const QString& value) {
    row = std::clamp(row, 0, GetItemCount());
    auto* item = new QTreeWidgetItem(QStringList{name, value});
    insertTopLevelItem(row, item);
    return row;
}

void VarListCtrl::SetItemText(int row, int column, const QString& text) {
    if (QTreeWidgetItem* item = topLevelItem(row))
        item->setText(column, text);
}

bool VarListCtrl::IsItemSelected(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item && item->isSelected();
}

void VarListCtrl::DeleteItem(int row) {
    delete takeTopLevelItem(row);
}

QRect VarListCtrl::RowBounds(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        return {};
    const QRect cell = visualItemRect(item);
    return QRect(header()->sectionViewportPosition(0), cell.top(), header()->length(),
                 cell.height());
}

int VarListCtrl::TopIndex() const {
    const QModelIndex top = indexAt(QPoint(0, 0));
    return top.isValid() ? top.row() : 0;
}

int VarListCtrl::CountPerPage() const {
    const QTreeWidgetItem* first = topLevelItem(0);
    const int rowHeight = first ? visualItemRect(first).height() : 0;
    return rowHeight > 0 ? viewport()->height() / rowHeight : 0;
}

int VarListCtrl::HitTestCell(const QPoint& point, int* column) const {
    *column = 0;
    const int top = TopIndex();
    const int bottom = std::min(top + CountPerPage(), GetItemCount());
    for (int row = top; row <= bottom; ++row) {
        const QRect bounds = RowBounds(row);
        if (!bounds.contains(point))
            continue;
        // Each column spans from its left edge to its left edge plus its
        // width, both ends included: a point on a border is in the left one.
        int left = bounds.left();
        for (int c = 0; c < header()->count(); ++c) {
            const int width = columnWidth(c);
            if (point.x() >= left && point.x() <= left + width) {
                *column = c;
                break;
            }
            left += width;
        }
        return row;
    }
    return -1;
}

CellEdit* VarListCtrl::EditSubItem(int row, int column) {
    if (!topLevelItem(row))
        return nullptr;
    // One editor at a time, and the one open ends before the new one is
    // placed: ending it may remove its row, and rows below move up.
    const QPersistentModelIndex cell = model()->index(row, 0);
    for (CellEdit* open : findChildren<CellEdit*>())
        open->Commit();
    QTreeWidgetItem* item = itemFromIndex(cell);
    if (!item)
        return nullptr;
    row = cell.row();
    // The row edited is the row that Enter, F2 and typing act on next.
    if (currentItem() != item)
        setCurrentItem(item);
    scrollToItem(item);
    if (column >= header()->count() || columnWidth(column) < kMinEditableColumnWidth)
        return nullptr;
    int offset = 0;
    for (int c = 0; c < column; ++c)
        offset += columnWidth(c);
    QRect bounds = RowBounds(row);
    const int clientRight = viewport()->width();
    if (offset + bounds.left() < 0 || offset + bounds.left() > clientRight) {
        // Scroll the cell's left edge to the grid's left edge.
        QScrollBar* bar = horizontalScrollBar();
        const int before = bar->value();
        bar->setValue(before + offset + bounds.left());
        bounds.translate(before - bar->value(), 0);
    }
    const int left = bounds.left() + offset + kEditorIndent;
    const int right = std::min(left + columnWidth(column) - kEditorWidthShortfall, clientRight);
    auto* editor = new CellEdit(this, row, column, item->text(column));
    editor->setAccessibleName(headerItem()->text(column));
    connect(editor, &CellEdit::EditEnded, this, &VarListCtrl::OnEndLabelEdit);
    editor->Open(QRect(left, bounds.top(), right - left, bounds.height()));
    return editor;
}

bool VarListCtrl::IsUnnamedNewRow(int row) const {
    // The name cannot be typed (it is no valid name), so a row that shows
    // it was never named.
    return GetItemText(row, 0) == WindowText(WindowTexts::kNewVariableName) &&
           GetItemText(row, 1) == WindowText(WindowTexts::kNewVariableValue);
}

void VarListCtrl::OnEndLabelEdit(int row, int column, const std::optional<QString>& text) {
    if (row < 0 || row >= GetItemCount())
        return;
    // A text confirmed as it stood changes nothing and is not checked
    // again: confirming the untouched name of a new row is a cancel.
    if (!text || *text == GetItemText(row, column)) {
        if (column == 0 && IsUnnamedNewRow(row))
            DeleteItem(row);
        return;
    }
    const std::string bytes = ToEngineText(*text);
    std::optional<VarRejection> rejection;
    if (column == 0) {
        // The other rows' names: a row may change the case of its own.
        std::vector<std::string> names;
        names.reserve(static_cast<std::size_t>(GetItemCount()));
        for (int r = 0; r < GetItemCount(); ++r) {
            if (r != row)
                names.push_back(ToEngineText(GetItemText(r, 0)));
        }
        rejection = CheckVariableName(bytes, names);
    } else {
        rejection = CheckVariableValue(bytes);
    }
    if (rejection) {
        ShowMessageBox(this, EngineText(FromEngineText(rejection->message)),
                       EngineText(FromEngineText(rejection->title)), QMessageBox::Information);
        return;
    }
    SetItemText(row, column, *text);
    emit RowsEdited();
}

void VarListCtrl::DiscardEdit() {
    for (CellEdit* editor : findChildren<CellEdit*>())
        editor->Cancel();
}

void VarListCtrl::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int row = currentIndex().isValid() ? currentIndex().row() : -1;
    if (row >= 0 && IsItemSelected(row) && modifiers == Qt::NoModifier &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        EditSubItem(row, 1);
        return;
    }
    // A character typed over a selected row replaces its value, as typing
    // over a selected cell of a sheet does. Space keeps selecting rows.
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint() && !typed.at(0).isSpace();
    if (row >= 0 && IsItemSelected(row) && printable &&
        !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        if (CellEdit* editor = EditSubItem(row, 1))
            QApplication::sendEvent(editor, event);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void VarListCtrl::mousePressEvent(QMouseEvent* event) {
    m_labelEditTimer.stop();
    const QPoint point = event->position().toPoint();
    int column = 0;
    const int row = HitTestCell(point, &column);
    const bool onSelectedName = event->button() == Qt::LeftButton &&
                                event->modifiers() == Qt::NoModifier && row >= 0 && column == 0 &&
                                IsItemSelected(row) && currentIndex().row() == row;
    // Selection and focus first; taking the focus ends an open edit.
    QTreeWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const int rowNow = HitTestCell(point, &column);
    if (rowNow >= 0 && column == 1) {
        EditSubItem(rowNow, 1);
    } else if (onSelectedName && rowNow == row) {
        m_labelEditRow = row;
        m_labelEditTimer.start();
    }
}

void VarListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    m_labelEditTimer.stop();
    QTreeWidget::mouseDoubleClickEvent(event);
}

void VarListCtrl::wheelEvent(QWheelEvent* event) {
    TakeFocusBeforeScrolling();
    QTreeWidget::wheelEvent(event);
}

void VarListCtrl::TakeFocusBeforeScrolling() {
    if (!hasFocus())
        setFocus(Qt::OtherFocusReason);
}
