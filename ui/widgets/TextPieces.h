#pragma once

#include <QAccessible>
#include <QString>
#include <vector>

// The pieces a screen reader reads a text by (characters, words, sentences,
// lines, paragraphs, or the whole) and the piece at, before or after an
// offset, for the text interfaces of the window's own boxes. Qt's fallback
// for these questions never returns for a word or a sentence at the end of
// the text, which freezes the window.
//
// A piece is [start, end), a line with its "\n". The offset at the end of
// the text belongs to the last word, sentence or line (a reader asks there
// for what the caret is after), but to no character; -1 stands for it.
// Where nothing comes before or after, the answer is an empty text at the
// start or the end; an offset outside the text gets an empty text at -1.
class TextPieces {
  public:
    enum class Where { Before, At, After };

    // `text` is the part of a text `total` long that starts at `from`; it
    // starts and ends where lines do (after a "\n" or at either end), so
    // that it can be a few lines around the offset of a long text.
    explicit TextPieces(QString text, int from = 0, int total = -1);

    QString Piece(Where where, int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                  int* endOffset) const;

  private:
    std::vector<int> Boundaries(QAccessible::TextBoundaryType boundary) const;
    // Whether the end of the text is a place of its own rather than the end
    // of the last piece.
    bool EndStandsAlone(QAccessible::TextBoundaryType boundary) const;

    QString m_text;
    int m_from;
    int m_total;
};
