#include "NaturalFormView.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace {

// The space between the frame and the text, as a plain-text box leaves it.
constexpr int kMargin = 4;

// The texts of the box's menu are those of Qt's own text boxes, in the
// language Qt's translations give them.
constexpr char kTextControlContext[] = "QWidgetTextControl";
constexpr char kCopyText[] = "&Copy";
constexpr char kSelectAllText[] = "Select All";

QString QtText(const char* text) {
    return QCoreApplication::translate(kTextControlContext, text);
}

bool IsBlank(QChar c) {
    return c.isSpace();
}

}  // namespace

NaturalFormView::NaturalFormView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    UpdateScrollBars();
}

void NaturalFormView::SetDrawing(std::shared_ptr<const NaturalFormDrawing> drawing) {
    const bool hadSelection = HasSelection();
    m_drawing = std::move(drawing);
    m_anchor = m_cursor = Place();
    // The scroll bars keep their values as far as the new ranges allow.
    UpdateScrollBars();
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::VisibleDataChanged);
        QAccessible::updateAccessibility(&changed);
    }
    if (hadSelection)
        emit SelectionChanged();
}

QString NaturalFormView::Text() const {
    if (!m_drawing || m_drawing->LineCount() == 0)
        return QString();
    const int last = m_drawing->LineCount() - 1;
    return m_drawing->TextBetween(0, 0, last, m_drawing->LineLength(last));
}

QString NaturalFormView::SelectedText() const {
    if (!HasSelection())
        return QString();
    const Place from = SelectionStart();
    const Place to = SelectionEnd();
    return m_drawing->TextBetween(from.line, from.column, to.line, to.column);
}

void NaturalFormView::Select(Place anchor, Place cursor) {
    anchor = Clamped(anchor);
    cursor = Clamped(cursor);
    if (anchor == m_anchor && cursor == m_cursor)
        return;
    m_anchor = anchor;
    m_cursor = cursor;
    viewport()->update();
    emit SelectionChanged();
    if (QAccessible::isActive() && m_drawing) {
        const Place from = SelectionStart();
        const Place to = SelectionEnd();
        QAccessibleTextSelectionEvent notice(
            this, static_cast<int>(m_drawing->OffsetOf(from.line, from.column)),
            static_cast<int>(m_drawing->OffsetOf(to.line, to.column)));
        QAccessible::updateAccessibility(&notice);
    }
}

void NaturalFormView::SelectAll() {
    if (!m_drawing || m_drawing->LineCount() == 0)
        return;
    const int last = m_drawing->LineCount() - 1;
    Select(Place{0, 0}, Place{last, m_drawing->LineLength(last)});
}

void NaturalFormView::Copy() const {
    if (!HasSelection())
        return;
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(SelectedText());
}

NaturalFormView::Place NaturalFormView::Clamped(Place place) const {
    if (!m_drawing || m_drawing->LineCount() == 0)
        return Place();
    place.line = std::clamp(place.line, 0, m_drawing->LineCount() - 1);
    place.column = std::clamp(place.column, 0, m_drawing->LineLength(place.line));
    return place;
}

int NaturalFormView::LineHeight() const {
    return std::max(1, fontMetrics().height());
}

int NaturalFormView::CharacterWidth() const {
    return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('m')));
}

int NaturalFormView::LinesInView() const {
    // Whole lines only, between the margins.
    return std::max(1, (viewport()->height() - 2 * kMargin - 1) / LineHeight());
}

int NaturalFormView::FirstLineShown() const {
    return verticalScrollBar()->value();
}

int NaturalFormView::TopOfFirstLine() const {
    // The margin is above the drawing's first line, not above every line
    // that comes to the top.
    return FirstLineShown() == 0 ? kMargin : 0;
}

void NaturalFormView::UpdateScrollBars() {
    const int lines = m_drawing ? m_drawing->LineCount() : 0;
    const int inView = LinesInView();
    // The last line may come up to the bottom, no further, as in a
    // plain-text box.
    verticalScrollBar()->setRange(0, std::max(0, lines - inView));
    verticalScrollBar()->setPageStep(inView);
    verticalScrollBar()->setSingleStep(1);
    const int columns = m_drawing ? m_drawing->Columns() : 0;
    const long long width = static_cast<long long>(columns) * CharacterWidth() + 2 * kMargin;
    horizontalScrollBar()->setRange(
        0, static_cast<int>(std::clamp<long long>(width - viewport()->width(), 0, INT_MAX / 2)));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(CharacterWidth());
}

NaturalFormView::Place NaturalFormView::PlaceAt(QPoint point) const {
    if (!m_drawing || m_drawing->LineCount() == 0)
        return Place();
    const int y = point.y() - TopOfFirstLine();
    const int row = y >= 0 ? y / LineHeight() : -1;
    const int x = point.x() + horizontalScrollBar()->value() - kMargin;
    // A point in a character's right half is after it.
    const int column = x < 0 ? 0 : (x + CharacterWidth() / 2) / CharacterWidth();
    return Clamped(Place{FirstLineShown() + row, column});
}

QRect NaturalFormView::CharacterRect(Place place) const {
    return QRect(kMargin + place.column * CharacterWidth() - horizontalScrollBar()->value(),
                 TopOfFirstLine() + (place.line - FirstLineShown()) * LineHeight(),
                 CharacterWidth(), LineHeight());
}

void NaturalFormView::paintEvent(QPaintEvent* event) {
    if (!m_drawing)
        return;
    QPainter painter(viewport());
    painter.setClipRect(event->rect());
    const int height = LineHeight();
    const int width = CharacterWidth();
    const int ascent = fontMetrics().ascent();
    const int scrolledBy = horizontalScrollBar()->value();
    // Only the columns in view are laid out, however long a line is.
    const int firstColumn = std::max(0, (scrolledBy - kMargin) / width);
    const int columnsInView = viewport()->width() / width + 2;
    const int left = kMargin + firstColumn * width - scrolledBy;
    const Place from = SelectionStart();
    const Place to = SelectionEnd();
    const QPalette& colours = palette();
    const int first = FirstLineShown();
    const int last =
        std::min(m_drawing->LineCount() - 1, first + viewport()->height() / height + 1);
    for (int line = first; line <= last; ++line) {
        const int top = TopOfFirstLine() + (line - first) * height;
        painter.setPen(colours.color(QPalette::Text));
        painter.drawText(QPoint(left, top + ascent),
                         m_drawing->LineText(line, firstColumn, columnsInView));
        if (!HasSelection() || line < from.line || line > to.line)
            continue;
        // The selected columns of this line, in view.
        const int selectedFrom = std::max(line == from.line ? from.column : 0, firstColumn);
        const int selectedTo = std::min(line == to.line ? to.column : m_drawing->LineLength(line),
                                        firstColumn + columnsInView);
        if (selectedTo <= selectedFrom)
            continue;
        const int x = kMargin + selectedFrom * width - scrolledBy;
        painter.fillRect(QRect(x, top, (selectedTo - selectedFrom) * width, height),
                         colours.color(QPalette::Highlight));
        painter.setPen(colours.color(QPalette::HighlightedText));
        painter.drawText(QPoint(x, top + ascent),
                         m_drawing->LineText(line, selectedFrom, selectedTo - selectedFrom));
    }
}

void NaturalFormView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void NaturalFormView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateScrollBars();
}

void NaturalFormView::scrollContentsBy(int, int) {
    viewport()->update();
}

bool NaturalFormView::KeepsKey(const QKeyEvent* key) const {
    if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll))
        return true;
    switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            return (key->modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier)) == 0;
        default:
            return false;
    }
}

bool NaturalFormView::event(QEvent* event) {
    // The window's shortcuts come second for the keys the box uses.
    if (event->type() == QEvent::ShortcutOverride && KeepsKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void NaturalFormView::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Copy) {
        Copy();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        SelectAll();
        return;
    }
    if (!KeepsKey(event)) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const auto action = [event]() -> QAbstractSlider::SliderAction {
        switch (event->key()) {
            case Qt::Key_Up:
            case Qt::Key_Left:
                return QAbstractSlider::SliderSingleStepSub;
            case Qt::Key_Down:
            case Qt::Key_Right:
                return QAbstractSlider::SliderSingleStepAdd;
            case Qt::Key_PageUp:
                return QAbstractSlider::SliderPageStepSub;
            case Qt::Key_PageDown:
                return QAbstractSlider::SliderPageStepAdd;
            case Qt::Key_Home:
                return QAbstractSlider::SliderToMinimum;
            default:
                return QAbstractSlider::SliderToMaximum;
        }
    }();
    const bool sideways = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
    (sideways ? horizontalScrollBar() : verticalScrollBar())->triggerAction(action);
}

void NaturalFormView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const Place place = PlaceAt(event->position().toPoint());
    Select(event->modifiers() & Qt::ShiftModifier ? m_anchor : place, place);
}

void NaturalFormView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    // Dragging past the top or the bottom scrolls on.
    if (point.y() < 0)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (point.y() > viewport()->height())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    Select(m_anchor, PlaceAt(point));
}

void NaturalFormView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_drawing || m_drawing->LineCount() == 0)
        return;
    // The run of characters between blanks.
    const Place place = PlaceAt(event->position().toPoint());
    const QString line = m_drawing->LineText(place.line);
    int from = place.column;
    int to = place.column;
    while (from > 0 && !IsBlank(line[from - 1]))
        --from;
    while (to < line.size() && !IsBlank(line[to]))
        ++to;
    Select(Place{place.line, from}, Place{place.line, to});
}

void NaturalFormView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copy = menu.addAction(QtText(kCopyText), this, &NaturalFormView::Copy);
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(HasSelection());
    menu.addSeparator();
    QAction* all = menu.addAction(QtText(kSelectAllText), this, &NaturalFormView::SelectAll);
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(m_drawing && m_drawing->LineCount() > 0);
    menu.exec(event->globalPos());
}
