#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QTextLayout>

class QFont;
class QPainter;
class QPalette;

// What an input method is composing, shown at the caret until committed.
struct Composition {
    QString text;
    int cursor = 0;  // the caret's place in it
    bool hidesCaret = false;
    QList<QTextLayout::FormatRange> formats;
};

// How a one-line box shows its line, placed as a QLineEdit places its own:
// the caret kept in view and moved as little as possible, a text that fits
// aligned, the baseline steady. Only the part of the line within reach of
// the caret is laid out, so a line of megabytes costs no more to show than
// its visible part.
class LineView {
  public:
    // The room a line edit keeps between its frame and its text, each side,
    // and above or below the text when aligned to the top or the bottom.
    static constexpr int kTextMargin = 2;
    static constexpr int kVerticalMargin = 1;

    bool IsArranged() const { return m_arranged; }
    // Something the view shows has moved: arrange it again before use.
    void Invalidate() { m_arranged = false; }
    // Lays out the part of `text` around `cursor` that can come into view
    // of `area`, with `composing` at the caret, and scrolls.
    void Arrange(const QString& text, qsizetype cursor, const Composition& composing,
                 const QFont& font, const QRect& area, Qt::Alignment alignment);
    // `removed` characters at `at` gave way to `inserted`: the view stays
    // on what it showed, as a line edit's stays where it was.
    void Edited(qsizetype at, qsizetype removed, qsizetype inserted);

    // Draws the line with [selectionStart, selectionEnd) highlighted,
    // [markStart, markEnd) underlined as a misspelling is, the `paired`
    // characters (a bracket and its partner) on a tint, and the caret if
    // `caretWidth` is above 0.
    void Draw(QPainter& painter, const QPalette& palette, qsizetype selectionStart,
              qsizetype selectionEnd, int caretWidth, qsizetype markStart = 0,
              qsizetype markEnd = 0, const QList<qsizetype>& paired = {}) const;
    // The wavy underline of [markStart, markEnd), as a misspelling's.
    void DrawMark(QPainter& painter, qsizetype markStart, qsizetype markEnd) const;
    // Where the caret stands at `position` (the part's nearer end if the
    // position lies beyond it), one pixel wide.
    QRect CaretRect(qsizetype position) const;
    // Where [from, to) is drawn; empty when it lies beyond the part laid
    // out.
    QRect SpanRect(qsizetype from, qsizetype to) const;
    qsizetype PositionAt(int x) const;
    // The place in the composed text nearest to `x`, or -1 when `x` lies
    // outside it.
    int ComposedPositionAt(int x) const;

  private:
    // A position in the line, and the same position in the layout of the
    // part, which holds the composed text at the caret.
    int InLayout(qsizetype position) const;
    qsizetype FromLayout(int position) const;
    void LayOut(const QString& text, const Composition& composing, const QFont& font);
    // Returns the view's left edge in the layout's coordinates.
    int Scroll(qsizetype textSize, int room, Qt::Alignment alignment);

    QTextLayout m_layout;
    bool m_arranged = false;
    // The part [m_begin, m_end) of the line laid out, the caret, and the
    // composed text's length and caret.
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
    qsizetype m_cursor = 0;
    qsizetype m_composedLength = 0;
    int m_composedCursor = 0;
    QPointF m_origin;  // where the layout is drawn
    QRect m_area;
    // The shortest wave an error mark draws, and how far below the
    // baseline it runs.
    qreal m_markMinimumWidth = 0;
    qreal m_markBelowBaseline = 1;
    // What is in view, as a character of the line and how far the view's
    // left edge lies right of that character's left side.
    qsizetype m_viewCharacter = 0;
    int m_viewOffset = 0;
};
