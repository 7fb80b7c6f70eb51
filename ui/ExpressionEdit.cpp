#include "ExpressionEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <QTextCharFormat>
#include <algorithm>
#include <limits>

namespace {

// The line edit keeps this much room between the frame and the text on each
// side, and needs one more pixel for the caret.
constexpr int kTextMargin = 2;
constexpr int kCaretWidth = 1;
// And this much above or below the text when aligned to the top or bottom.
constexpr int kVerticalMargin = 1;
// QLineEdit's caret rectangle starts this far left of the caret.
constexpr int kCaretRectLead = 5;
// A line this short is laid out whole, as QLineEdit does; a longer one only
// around the caret.
constexpr qsizetype kWholeLineLength = 4096;
constexpr qsizetype kFirstReach = 256;
// Measuring a text's beginning says it cannot fit once the beginning alone
// is far wider than the box: the rest only adds to it.
constexpr qsizetype kFirstProbe = 512;

bool ShownAsBlank(QChar c) {
    // QLineEdit shows these as blanks, not as boxes.
    return (c.unicode() < 0x20 && c.unicode() != 0x09) || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter;
}

}  // namespace

ExpressionEdit::ExpressionEdit(QWidget* parent) : QLineEdit(parent) {
    // The editor may hand over an expression of any length; Qt would cut a
    // line edit's text at 32767 characters without a word.
    setMaxLength(std::numeric_limits<int>::max());
    connect(this, &QLineEdit::textEdited, this, [this] { ResetHistoryWalk(); });
    connect(this, &QLineEdit::textChanged, this, [this] {
        m_rightToLeft = -1;
        m_caretLineX = -1;
        RestartBlink();
    });
    connect(this, &QLineEdit::cursorPositionChanged, this, [this] {
        m_caretLineX = -1;
        RestartBlink();
    });
    connect(this, &QLineEdit::selectionChanged, this, [this] { RestartBlink(); });
}

bool ExpressionEdit::Fits(const QString& text) const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QMargins margins = textMargins();
    const int room =
        contents.width() - margins.left() - margins.right() - 2 * kTextMargin - kCaretWidth;
    const QFontMetrics metrics = fontMetrics();
    for (qsizetype probe = kFirstProbe; probe < text.size(); probe *= 4) {
        if (metrics.horizontalAdvance(text.left(probe)) > 2 * room)
            return false;
    }
    return metrics.horizontalAdvance(text) <= room;
}

void ExpressionEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            WalkHistory(event->key() == Qt::Key_Up ? -1 : +1);
            event->accept();
            return;
        }
    }
    const QString typed = event->text();
    const bool insertsText =
        !typed.isEmpty() && typed.at(0).isPrint() && !isReadOnly() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (insertsText) {
        QString candidate = text();
        if (hasSelectedText()) {
            candidate.replace(selectionStart(), selectedText().size(), typed);
        } else {
            candidate.insert(cursorPosition(), typed);
        }
        if (!Fits(candidate)) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void ExpressionEdit::WalkHistory(int step) {
    const QStringList entries = m_historySource ? m_historySource() : QStringList{};
    if (entries.isEmpty())
        return;
    int next;
    if (m_historyIndex < 0) {
        if (step > 0)
            return;  // below the typed text there is nothing
        m_draft = text();
        next = static_cast<int>(entries.size()) - 1;
    } else {
        next = m_historyIndex + step;
        if (next < 0)
            return;  // the oldest entry stays
    }
    if (next >= entries.size()) {
        m_historyIndex = -1;
        setText(m_draft);
        return;
    }
    m_historyIndex = next;
    setText(entries.at(next));
}

QRect ExpressionEdit::TextArea() const {
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    return style()
        ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
        .marginsRemoved(textMargins());
}

void ExpressionEdit::LayOut(QTextLayout& layout, const QString& part, qsizetype preeditAt) const {
    QString shown = part;
    std::replace_if(shown.begin(), shown.end(), ShownAsBlank, QChar(0x20));
    layout.setText(shown);
    layout.setFont(font());
    QTextOption option;
    option.setTextDirection(m_rightToLeft == 1 ? Qt::RightToLeft : Qt::LeftToRight);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    if (!m_preedit.isEmpty()) {
        layout.setPreeditArea(static_cast<int>(preeditAt), m_preedit);
        QList<QTextLayout::FormatRange> formats = m_preeditFormats;
        for (QTextLayout::FormatRange& range : formats)
            range.start += static_cast<int>(preeditAt);
        layout.setFormats(formats);
    }
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
}

// What QLineEdit::paintEvent draws, from a layout of the visible part of the
// line instead of the whole of it.
void ExpressionEdit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    const QRect area = TextArea();
    painter.setClipRect(area);
    const int room = area.width() - 2 * kTextMargin;

    const QString all = text();
    if (m_rightToLeft < 0)
        m_rightToLeft = all.isRightToLeft() ? 1 : 0;
    const qsizetype cursor = cursorPosition();
    const int caretInPreedit = m_preedit.isEmpty() ? 0 : m_preeditCursor;

    // The visible part lies within `room` of the caret on either side,
    // wherever the scrolling below puts it.
    qsizetype begin = 0;
    qsizetype end = all.size();
    QTextLayout layout;
    for (qsizetype reach = kFirstReach;; reach *= 2) {
        if (all.size() > kWholeLineLength) {
            begin = std::max<qsizetype>(0, cursor - reach);
            end = std::min(all.size(), cursor + reach);
            if (begin > 0 && all.at(begin).isLowSurrogate())
                --begin;
            if (end < all.size() && all.at(end).isLowSurrogate())
                ++end;
        }
        LayOut(layout, all.mid(begin, end - begin), cursor - begin);
        const QTextLine line = layout.lineAt(0);
        const qreal caretX = line.cursorToX(static_cast<int>(cursor - begin) + caretInPreedit);
        if ((begin == 0 || caretX >= 2 * room) &&
            (end == all.size() || line.naturalTextWidth() - caretX >= 2 * room))
            break;
    }
    const QTextLine line = layout.lineAt(0);
    const int caretInLayout = static_cast<int>(cursor - begin) + caretInPreedit;
    // The caret's and the part's places in the whole line: measured here
    // when the part is the whole line, else taken from QLineEdit's own
    // layout, which never scrolls (its paint never runs).
    int caretX = qRound(line.cursorToX(caretInLayout));
    int partX = 0;
    if (begin > 0 || end < all.size()) {
        // Asking QLineEdit scans the whole text for its direction, so the
        // answer is kept until the caret or the text moves.
        if (m_caretLineX < 0)
            m_caretLineX = QLineEdit::cursorRect().x() + kCaretRectLead - area.x() - kTextMargin;
        partX = m_caretLineX - caretX;
        caretX = m_caretLineX;
    }
    const int widthUsed = end == all.size() ? partX + qRound(line.naturalTextWidth()) + 1
                                            : std::numeric_limits<int>::max() / 2;

    const QFontMetrics metrics = fontMetrics();
    const int height = std::max(
        metrics.boundingRect(all.mid(begin, end - begin) + m_preedit).height(), metrics.height());
    const Qt::Alignment align = QStyle::visualAlignment(
        m_rightToLeft == 1 ? Qt::RightToLeft : Qt::LeftToRight, alignment());
    switch (align & Qt::AlignVertical_Mask) {
        case Qt::AlignBottom:
            m_lineTop = area.y() + area.height() - height - kVerticalMargin;
            break;
        case Qt::AlignTop:
            m_lineTop = area.y() + kVerticalMargin;
            break;
        default:
            m_lineTop = area.y() + (area.height() - height + 1) / 2;
            break;
    }

    // QLineEdit's scrolling: keep the caret in view, moving as little as
    // possible, and align a text that fits.
    if (widthUsed <= room) {
        switch (align & ~(Qt::AlignAbsolute | Qt::AlignVertical_Mask)) {
            case Qt::AlignRight:
                m_scroll = widthUsed - room + 1;
                break;
            case Qt::AlignHCenter:
                m_scroll = (widthUsed - room) / 2;
                break;
            default:
                m_scroll = 0;
                break;
        }
    } else if (caretX - m_scroll >= room) {
        m_scroll = caretX - room + 1;
    } else if (caretX - m_scroll < 0 && m_scroll < widthUsed) {
        m_scroll = caretX;
    } else if (widthUsed - m_scroll < room) {
        m_scroll = widthUsed - room + 1;
    } else {
        m_scroll = std::max(0, m_scroll);
    }

    // Keeps the baseline where QLineEdit keeps it.
    const QPoint origin(area.x() + kTextMargin - m_scroll + partX,
                        m_lineTop - (qRound(line.ascent()) - metrics.ascent()));
    QList<QTextLayout::FormatRange> selections;
    if (hasSelectedText()) {
        const qsizetype from = std::clamp<qsizetype>(selectionStart(), begin, end);
        const qsizetype to = std::clamp<qsizetype>(selectionEnd(), begin, end);
        QTextLayout::FormatRange selection;
        selection.start = static_cast<int>(from - begin);
        selection.length = static_cast<int>(to - from);
        selection.format.setBackground(palette().brush(QPalette::Highlight));
        selection.format.setForeground(palette().brush(QPalette::HighlightedText));
        selections.append(selection);
    }
    painter.setPen(palette().text().color());
    layout.draw(&painter, origin, selections, area);

    const bool caretShown =
        hasFocus() && !isReadOnly() && m_caretOn && !m_preeditHidesCaret &&
        (!hasSelectedText() ||
         style()->styleHint(QStyle::SH_BlinkCursorWhenTextSelected, &panel, this));
    if (caretShown) {
        layout.drawCursor(&painter, origin, caretInLayout,
                          style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this));
    }
}

// QLineEdit maps a mouse position to the text through its own layout, as if
// the line were never scrolled.
template <class Handler>
void ExpressionEdit::InLineCoordinates(QMouseEvent* event, Handler handler) {
    QMouseEvent moved(event->type(), event->position() + QPointF(m_scroll, 0),
                      event->scenePosition(), event->globalPosition(), event->button(),
                      event->buttons(), event->modifiers(), event->pointingDevice());
    moved.setTimestamp(event->timestamp());
    handler(&moved);
    event->setAccepted(moved.isAccepted());
}

void ExpressionEdit::mousePressEvent(QMouseEvent* event) {
    InLineCoordinates(event, [this](QMouseEvent* e) { QLineEdit::mousePressEvent(e); });
}

void ExpressionEdit::mouseMoveEvent(QMouseEvent* event) {
    InLineCoordinates(event, [this](QMouseEvent* e) { QLineEdit::mouseMoveEvent(e); });
}

void ExpressionEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    InLineCoordinates(event, [this](QMouseEvent* e) { QLineEdit::mouseDoubleClickEvent(e); });
}

void ExpressionEdit::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);  // as QLineEdit does
}

void ExpressionEdit::dragMoveEvent(QDragMoveEvent* event) {
    QDragMoveEvent moved(event->position().toPoint() + QPoint(m_scroll, 0),
                         event->possibleActions(), event->mimeData(), event->buttons(),
                         event->modifiers());
    QLineEdit::dragMoveEvent(&moved);
    event->setDropAction(moved.dropAction());
    event->setAccepted(moved.isAccepted());
}

void ExpressionEdit::dropEvent(QDropEvent* event) {
    QDropEvent moved(event->position() + QPointF(m_scroll, 0), event->possibleActions(),
                     event->mimeData(), event->buttons(), event->modifiers());
    QLineEdit::dropEvent(&moved);
    event->setDropAction(moved.dropAction());
    event->setAccepted(moved.isAccepted());
}

// The box blinks its caret itself: QLineEdit's blinking would repaint where
// its never-scrolled layout has the caret, and asks that layout for it at
// every blink, which scans the whole text for its direction. While the box
// has the focus (and so no other control shows a caret) the application's
// flash time is set to 0, which keeps QLineEdit from blinking, and the box
// blinks at the saved pace.
void ExpressionEdit::RestartBlink() {
    m_caretOn = true;
    if (hasFocus() && m_flashTime > 1)
        m_blinkTimer.start(m_flashTime / 2, this);
    else
        m_blinkTimer.stop();
    update();
}

void ExpressionEdit::HoldFlashTime(bool hold) {
    QStyleHints* hints = QGuiApplication::styleHints();
    if (hold && m_flashTime < 0) {
        m_flashTime = hints->cursorFlashTime();
        hints->setCursorFlashTime(0);
    } else if (!hold && m_flashTime >= 0) {
        hints->setCursorFlashTime(m_flashTime);
        m_flashTime = -1;
    }
}

ExpressionEdit::~ExpressionEdit() {
    HoldFlashTime(false);
}

void ExpressionEdit::focusInEvent(QFocusEvent* event) {
    HoldFlashTime(true);
    QLineEdit::focusInEvent(event);
    RestartBlink();
}

void ExpressionEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    HoldFlashTime(false);
    m_blinkTimer.stop();
    update();
}

void ExpressionEdit::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_blinkTimer.timerId()) {
        QLineEdit::timerEvent(event);
        return;
    }
    m_caretOn = !m_caretOn;
    update(TextArea());
}

void ExpressionEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_caretLineX = -1;
}

void ExpressionEdit::inputMethodEvent(QInputMethodEvent* event) {
    QLineEdit::inputMethodEvent(event);
    m_caretLineX = -1;
    m_preedit = event->preeditString();
    m_preeditCursor = static_cast<int>(m_preedit.size());
    m_preeditHidesCaret = false;
    m_preeditFormats.clear();
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor) {
            m_preeditCursor = attribute.start;
            m_preeditHidesCaret = attribute.length == 0;
        } else if (attribute.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat format =
                qvariant_cast<QTextFormat>(attribute.value).toCharFormat();
            if (format.isValid())
                m_preeditFormats.append({attribute.start, attribute.length, format});
        }
    }
    update();
}

QVariant ExpressionEdit::inputMethodQuery(Qt::InputMethodQuery query) const {
    const QVariant answer = QLineEdit::inputMethodQuery(query);
    if (query == Qt::ImCursorRectangle || query == Qt::ImAnchorRectangle)
        return answer.toRect().translated(-m_scroll, m_lineTop);
    return answer;
}
