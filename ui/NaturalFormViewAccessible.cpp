#include "NaturalFormViewAccessible.h"

#include <QAccessibleWidget>
#include <QScrollBar>

#include "NaturalFormView.h"

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
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        // A line is read without reading the whole drawing first.
        if (boundary != QAccessible::LineBoundary || !Drawing() || Drawing()->LineCount() == 0)
            return QAccessibleTextInterface::textAtOffset(offset, boundary, startOffset, endOffset);
        const int line = PlaceOf(offset).line;
        *startOffset = static_cast<int>(Drawing()->OffsetOf(line, 0));
        *endOffset = static_cast<int>(Drawing()->OffsetOf(line, Drawing()->LineLength(line)));
        return Drawing()->LineText(line);
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
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = offset;  // one plain style throughout
        return {};
    }

  private:
    NaturalFormView* View() const { return static_cast<NaturalFormView*>(widget()); }
    const NaturalFormDrawing* Drawing() const { return View()->Drawing(); }
    int Offset(NaturalFormView::Place place) const {
        return Drawing() ? static_cast<int>(Drawing()->OffsetOf(place.line, place.column)) : 0;
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
