#include "LineView.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QStyle>
#include <QTextCharFormat>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A line this short is laid out whole; a longer one only around the caret,
// first this far on either side, further while that does not fill the view.
constexpr qsizetype kWholeLineLength = 4096;
constexpr qsizetype kFirstReach = 256;

// The colour spell checkers give their wavy underline.
constexpr QColor kMarkColour(255, 0, 0);
constexpr qreal kLeastMarkHeight = 1.5;

bool ShownAsBlank(QChar c) {
    // Line edits show these as blanks, not as boxes.
    return (c.unicode() < 0x20 && c.unicode() != 0x09) || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter;
}

}  // namespace

int LineView::InLayout(qsizetype position) const {
    const qsizetype composed = position > m_cursor ? m_composedLength : 0;
    return static_cast<int>(position - m_begin + composed);
}

qsizetype LineView::FromLayout(int position) const {
    const qsizetype at = m_begin + position;
    if (at <= m_cursor)
        return at;
    return std::max(m_cursor, at - m_composedLength);
}

void LineView::LayOut(const QString& text, const Composition& composing, const QFont& font) {
    QString shown = text.mid(m_begin, m_end - m_begin);
    std::replace_if(shown.begin(), shown.end(), ShownAsBlank, QChar(0x20));
    m_layout.setText(shown);
    m_layout.setFont(font);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    m_layout.setTextOption(option);
    m_layout.clearFormats();
    if (!composing.text.isEmpty()) {
        const int at = static_cast<int>(m_cursor - m_begin);
        m_layout.setPreeditArea(at, composing.text);
        QList<QTextLayout::FormatRange> formats = composing.formats;
        for (QTextLayout::FormatRange& range : formats)
            range.start += at;
        m_layout.setFormats(formats);
    } else {
        m_layout.setPreeditArea(-1, QString());
    }
    m_layout.beginLayout();
    m_layout.createLine();
    m_layout.endLayout();
}

void LineView::Arrange(const QString& text, qsizetype cursor, const Composition& composing,
                       const QFont& font, const QRect& area, Qt::Alignment alignment) {
    m_cursor = cursor;
    m_composedLength = composing.text.size();
    m_composedCursor = composing.text.isEmpty() ? 0 : composing.cursor;
    m_area = area;
    const QFontMetricsF markMetrics(font);
    m_markMinimumWidth = markMetrics.horizontalAdvance(QLatin1Char('0'));
    m_markBelowBaseline = std::max<qreal>(markMetrics.underlinePos(), 1);
    const int room = area.width() - 2 * kTextMargin;

    // The part in view lies within `room` of the caret on either side,
    // wherever the scrolling puts it.
    m_begin = 0;
    m_end = text.size();
    for (qsizetype reach = kFirstReach;; reach *= 2) {
        if (text.size() > kWholeLineLength) {
            m_begin = std::max<qsizetype>(0, cursor - reach);
            m_end = std::min(text.size(), cursor + reach);
            if (m_begin > 0 && text.at(m_begin).isLowSurrogate())
                --m_begin;
            if (m_end < text.size() && text.at(m_end).isLowSurrogate())
                ++m_end;
        }
        LayOut(text, composing, font);
        const QTextLine line = m_layout.lineAt(0);
        const qreal caretX = line.cursorToX(InLayout(cursor) + m_composedCursor);
        if ((m_begin == 0 || caretX >= 2 * room) &&
            (m_end == text.size() || line.naturalTextWidth() - caretX >= 2 * room))
            break;
    }
    const int left = Scroll(text.size(), room, alignment);

    const QTextLine line = m_layout.lineAt(0);
    const QFontMetrics metrics(font);
    const int height =
        std::max(metrics.boundingRect(text.mid(m_begin, m_end - m_begin) + composing.text).height(),
                 metrics.height());
    int top;
    switch (alignment & Qt::AlignVertical_Mask) {
        case Qt::AlignBottom:
            top = area.y() + area.height() - height - kVerticalMargin;
            break;
        case Qt::AlignTop:
            top = area.y() + kVerticalMargin;
            break;
        default:
            top = area.y() + (area.height() - height + 1) / 2;
            break;
    }
    // Keeps the baseline where a line edit keeps it.
    m_origin =
        QPointF(area.x() + kTextMargin - left, top - (qRound(line.ascent()) - metrics.ascent()));
    m_arranged = true;
}

int LineView::Scroll(qsizetype textSize, int room, Qt::Alignment alignment) {
    const QTextLine line = m_layout.lineAt(0);
    const int caretX = qRound(line.cursorToX(InLayout(m_cursor) + m_composedCursor));
    const int widthUsed = m_end == textSize ? qRound(line.naturalTextWidth()) + 1
                                            : std::numeric_limits<int>::max() / 2;
    // Where the view's left edge was: beside the character it showed, or,
    // when that is beyond the part laid out, far enough from the caret that
    // the caret is out of view.
    int left;
    if (m_viewCharacter < m_begin)
        left = caretX - room;
    else if (m_viewCharacter > m_end)
        left = caretX + 1;
    else
        left = qRound(line.cursorToX(InLayout(m_viewCharacter))) + m_viewOffset;

    if (m_begin == 0 && widthUsed <= room) {
        switch (QStyle::visualAlignment(Qt::LeftToRight, alignment) &
                ~(Qt::AlignAbsolute | Qt::AlignVertical_Mask)) {
            case Qt::AlignRight:
                left = widthUsed - room + 1;
                break;
            case Qt::AlignHCenter:
                left = (widthUsed - room) / 2;
                break;
            default:
                left = 0;
                break;
        }
    } else if (caretX - left >= room) {
        left = caretX - room + 1;
    } else if (caretX - left < 0 && left < widthUsed) {
        left = caretX;
    } else if (widthUsed - left < room) {
        left = widthUsed - room + 1;
    } else if (m_begin == 0) {
        left = std::max(0, left);
    }

    m_viewCharacter = FromLayout(line.xToCursor(std::max(0, left)));
    m_viewOffset = left - qRound(line.cursorToX(InLayout(m_viewCharacter)));
    return left;
}

void LineView::Edited(qsizetype at, qsizetype removed, qsizetype inserted) {
    // A view inside the replaced text stays as far into the new one.
    if (m_viewCharacter >= at + removed)
        m_viewCharacter += inserted - removed;
    else if (m_viewCharacter > at)
        m_viewCharacter = std::min(m_viewCharacter, at + inserted);
    m_arranged = false;
}

void LineView::Draw(QPainter& painter, const QPalette& palette, qsizetype selectionStart,
                    qsizetype selectionEnd, int caretWidth, qsizetype markStart, qsizetype markEnd,
                    const QList<qsizetype>& paired) const {
    QList<QTextLayout::FormatRange> selections;
    for (const qsizetype at : paired) {
        if (at < m_begin || at >= m_end)
            continue;
        QTextLayout::FormatRange pair;
        pair.start = InLayout(at);
        pair.length = InLayout(at + 1) - pair.start;
        // Between the ground and the selection's colour, so that the text on
        // it stays as readable as on the ground.
        const QColor ground = palette.color(QPalette::Base);
        const QColor tint = palette.color(QPalette::Highlight);
        pair.format.setBackground(QColor::fromRgbF(ground.redF() * 0.65f + tint.redF() * 0.35f,
                                                   ground.greenF() * 0.65f + tint.greenF() * 0.35f,
                                                   ground.blueF() * 0.65f + tint.blueF() * 0.35f));
        selections.append(pair);
    }
    if (selectionStart < selectionEnd) {
        const qsizetype from = std::clamp(selectionStart, m_begin, m_end);
        const qsizetype to = std::clamp(selectionEnd, m_begin, m_end);
        QTextLayout::FormatRange selection;
        selection.start = InLayout(from);
        selection.length = InLayout(to) - selection.start;
        selection.format.setBackground(palette.brush(QPalette::Highlight));
        selection.format.setForeground(palette.brush(QPalette::HighlightedText));
        selections.append(selection);
    }
    painter.setPen(palette.text().color());
    m_layout.draw(&painter, m_origin, selections, m_area);
    DrawMark(painter, markStart, markEnd);
    if (caretWidth > 0)
        m_layout.drawCursor(&painter, m_origin, InLayout(m_cursor) + m_composedCursor, caretWidth);
}

void LineView::DrawMark(QPainter& painter, qsizetype markStart, qsizetype markEnd) const {
    // Only the part laid out can carry the mark; a mark outside it is out
    // of view anyway.
    const qsizetype from = std::clamp(markStart, m_begin, m_end);
    const qsizetype to = std::clamp(markEnd, m_begin, m_end);
    if (from >= to)
        return;
    const QTextLine line = m_layout.lineAt(0);
    qreal left = m_origin.x() + line.cursorToX(InLayout(from));
    qreal right = m_origin.x() + line.cursorToX(InLayout(to));
    // Under a narrow character ("(" or "+" at the end, where something is
    // missing) the wave would be a few pixels long: it gets at least a
    // digit's width, centred under the character and kept inside the box.
    const qreal widening = std::max<qreal>(0, m_markMinimumWidth - (right - left)) / 2;
    left -= widening;
    right += widening;
    const qreal shift = std::max<qreal>(0, m_area.left() + kTextMargin - left) -
                        std::max<qreal>(0, right - (m_area.right() + 1 - kTextMargin));
    left += shift;
    right += shift;

    // A wave as spell checkers draw it, half periods of about the golden
    // ratio times its height; a pixel of height would blur into a line.
    const qreal height = std::max<qreal>(kLeastMarkHeight, std::floor(m_markBelowBaseline * 2) / 2);
    const qreal halfPeriod = height * 1.618;
    const qreal middle = m_origin.y() + line.ascent() + m_markBelowBaseline;
    QPainterPath wave(QPointF(left, middle));
    qreal up = -1;
    for (qreal x = left; x < right; x += halfPeriod) {
        const qreal next = std::min(right, x + halfPeriod);
        wave.quadTo((x + next) / 2, middle + up * height * 2, next, middle);
        up = -up;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kMarkColour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wave);
    painter.restore();
}

QRect LineView::CaretRect(qsizetype position) const {
    const QTextLine line = m_layout.lineAt(0);
    const int composed = position == m_cursor ? m_composedCursor : 0;
    const qreal x = line.cursorToX(InLayout(std::clamp(position, m_begin, m_end)) + composed);
    return QRectF(m_origin.x() + x, m_origin.y(), 1, line.height()).toAlignedRect();
}

QRect LineView::SpanRect(qsizetype from, qsizetype to) const {
    if (from < m_begin || to > m_end || from >= to)
        return {};
    const QTextLine line = m_layout.lineAt(0);
    const qreal left = line.cursorToX(InLayout(from));
    const qreal right = line.cursorToX(InLayout(to));
    return QRectF(m_origin.x() + left, m_origin.y(), right - left, line.height()).toAlignedRect();
}

qsizetype LineView::PositionAt(int x) const {
    return FromLayout(m_layout.lineAt(0).xToCursor(x - m_origin.x()));
}

int LineView::ComposedPositionAt(int x) const {
    if (m_composedLength == 0)
        return -1;
    const int at = m_layout.lineAt(0).xToCursor(x - m_origin.x()) - InLayout(m_cursor);
    return at >= 0 && at <= m_composedLength ? at : -1;
}
