#include "ExpressionEditAccessible.h"

#include <QAccessibleWidget>

#include "ExpressionEdit.h"
#include "TextPieces.h"

namespace {

// What a screen reader is told of the box: an editable text, with the
// text, caret and selection interfaces a line edit offers.
class ExpressionEditAccessible : public QAccessibleWidget,
                                 public QAccessibleTextInterface,
                                 public QAccessibleEditableTextInterface {
  public:
    explicit ExpressionEditAccessible(ExpressionEdit* box)
        : QAccessibleWidget(box, QAccessible::EditableText) {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value && !Box()->text().isEmpty())
            return Box()->text();
        return QAccessibleWidget::text(kind);
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind == QAccessible::Value)
            Box()->setText(text);
        else
            QAccessibleWidget::setText(kind, text);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.selectableText = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The text interface.
    void selection(int index, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (index == 0 && Box()->hasSelectedText()) {
            *startOffset = Box()->selectionStart();
            *endOffset = Box()->selectionEnd();
        }
    }
    int selectionCount() const override { return Box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int index) override {
        if (index == 0)
            Box()->deselect();
    }
    void setSelection(int index, int startOffset, int endOffset) override {
        if (index == 0)
            Box()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return Box()->cursorPosition(); }
    void setCursorPosition(int position) override { Box()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override {
        if (startOffset > endOffset)
            return {};
        return Box()->text().mid(startOffset, endOffset - startOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override {
        return TextPieces(Box()->text())
            .Piece(TextPieces::Where::Before, offset, boundary, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        return TextPieces(Box()->text())
            .Piece(TextPieces::Where::At, offset, boundary, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        return TextPieces(Box()->text())
            .Piece(TextPieces::Where::After, offset, boundary, startOffset, endOffset);
    }
    int characterCount() const override { return static_cast<int>(Box()->text().size()); }
    QRect characterRect(int offset) const override {
        const QRect inBox = Box()->CharacterRect(offset);
        return inBox.isNull() ? inBox : inBox.translated(Box()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Box()->PositionAt(Box()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        Box()->setCursorPosition(endIndex);
        Box()->setCursorPosition(startIndex);
    }
    // One plain style throughout: a single run over the whole text, which
    // a reader that reads a line run by run reads to its end.
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    // The editable text interface: edits a screen reader makes, one step
    // of the box's undo each.
    void deleteText(int startOffset, int endOffset) override {
        replaceText(startOffset, endOffset, {});
    }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        Box()->setSelection(startOffset, endOffset - startOffset);
        Box()->insert(text);
    }

  private:
    ExpressionEdit* Box() const { return static_cast<ExpressionEdit*>(widget()); }
};

QAccessibleInterface* MakeInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(ExpressionEdit::staticMetaObject.className()) &&
        object->isWidgetType())
        return new ExpressionEditAccessible(static_cast<ExpressionEdit*>(object));
    return nullptr;
}

}  // namespace

void InstallExpressionEditAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(MakeInterface);
        return true;
    }();
    (void)installed;
}
