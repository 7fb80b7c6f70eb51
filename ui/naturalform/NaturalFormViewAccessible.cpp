#include "NaturalFormViewAccessible.h"

#include <QAccessibleWidget>
#include <QScrollBar>
#include <algorithm>

#include "NaturalFormView.h"
#include "TextPieces.h"

namespace {

class NaturalFormViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit NaturalFormViewAccessible(NaturalFormView* view)
        : QAccessibleWidget(view, QAccessible::EditableText) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The text interface, over the lines joined by "\n".
    void selection(int index, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (index == 0 && View()->HasSelection()) {
            *startOffset = Offset(View()->SelectionStart());
            *endOffset = Offset(View()->SelectionEnd());
        }
    }
    int selectionCount() const override { return View()->HasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int index) override {
        if (index == 0)
            View()->Select(View()->SelectionStart(), View()->SelectionStart());
    }
    void setSelection(int index, int startOffset, int endOffset) override {
        if (index == 0)
            View()->Select(PlaceOf(startOffset), PlaceOf(endOffset));
    }
    // The box has no caret; the selection's moving end stands for it.
    int cursorPosition() const override { return Offset(View()->SelectionEnd()); }
    void setCursorPosition(int position) override {
        View()->Select(PlaceOf(position), PlaceOf(position));
    }
    QString text(int startOffset, int endOffset) const override {
        if (startOffset >= endOffset || !Drawing())
            return {};
        const NaturalFormView::Place from = PlaceOf(startOffset);
        const NaturalFormView::Place to = PlaceOf(endOffset);
        return Drawing()->TextBetween(from.line, from.column, to.line, to.column);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override {
        return PiecesAround(offset, boundary)
            .Piece(TextPieces::Where::Before, offset, boundary, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        return PiecesAround(offset, boundary)
            .Piece(TextPieces::Where::At, offset, boundary, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        return PiecesAround(offset, boundary)
            .Piece(TextPieces::Where::After, offset, boundary, startOffset, endOffset);
    }
    int characterCount() const override {
        return Drawing() ? static_cast<int>(Drawing()->CharacterCount()) : 0;
    }
    QRect characterRect(int offset) const override {
        const QRect inView = View()->CharacterRect(PlaceOf(offset));
        return inView.translated(View()->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Offset(View()->PlaceAt(View()->viewport()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int startIndex, int) override {
        View()->verticalScrollBar()->setValue(PlaceOf(startIndex).line);
    }
    // One plain style throughout: a single run over the whole text, which
    // a reader that reads a line run by run reads to its end.
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

  private:
    NaturalFormView* View() const { return static_cast<NaturalFormView*>(widget()); }
    const NaturalFormDrawing* Drawing() const { return View()->Drawing(); }
    int Offset(NaturalFormView::Place place) const {
        return Drawing() ? static_cast<int>(Drawing()->OffsetOf(place.line, place.column)) : 0;
    }
    // No piece but the whole crosses a line end, so the lines next to the
    // offset's own hold every piece a reader asks for there: a large drawing
    // is not read whole for a word.
    TextPieces PiecesAround(int offset, QAccessible::TextBoundaryType boundary) const {
        const int count = characterCount();
        if (offset == -1)
            offset = count;
        if (boundary == QAccessible::NoBoundary)
            return TextPieces(text(0, count));
        if (!Drawing() || offset < 0 || offset > count)
            return TextPieces(QString(), 0, count);
        const int line = PlaceOf(offset).line;
        const int first = std::max(line - 1, 0);
        const int last = std::min(line + 1, Drawing()->LineCount() - 1);
        // Through the "\n" that ends the last of them, if any does.
        const NaturalFormView::Place end =
            last + 1 < Drawing()->LineCount()
                ? NaturalFormView::Place{last + 1, 0}
                : NaturalFormView::Place{last, Drawing()->LineLength(last)};
        return TextPieces(Drawing()->TextBetween(first, 0, end.line, end.column),
                          static_cast<int>(Drawing()->OffsetOf(first, 0)), count);
    }
    NaturalFormView::Place PlaceOf(int offset) const {
        NaturalFormView::Place place;
        if (Drawing())
            Drawing()->PlaceOf(offset, &place.line, &place.column);
        return place;
    }
};

QAccessibleInterface* MakeInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(NaturalFormView::staticMetaObject.className()) &&
        object->isWidgetType())
        return new NaturalFormViewAccessible(static_cast<NaturalFormView*>(object));
    return nullptr;
}

}  // namespace

void InstallNaturalFormViewAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(MakeInterface);
        return true;
    }();
    (void)installed;
}
