#include "TextPieces.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <utility>

TextPieces::TextPieces(QString text, int from, int total)
    : m_text(std::move(text)),
      m_from(from),
      m_total(total < 0 ? from + static_cast<int>(m_text.size()) : total) {}

std::vector<int> TextPieces::Boundaries(QAccessible::TextBoundaryType boundary) const {
    const int size = static_cast<int>(m_text.size());
    std::vector<int> boundaries{0};
    if (boundary == QAccessible::LineBoundary || boundary == QAccessible::ParagraphBoundary) {
        // The finder's "line" is every place a line may wrap.
        for (int at = static_cast<int>(m_text.indexOf(QLatin1Char('\n'))); at >= 0;
             at = static_cast<int>(m_text.indexOf(QLatin1Char('\n'), at + 1)))
            boundaries.push_back(at + 1);
    } else if (boundary != QAccessible::NoBoundary) {
        const QTextBoundaryFinder::BoundaryType type =
            boundary == QAccessible::WordBoundary       ? QTextBoundaryFinder::Word
            : boundary == QAccessible::SentenceBoundary ? QTextBoundaryFinder::Sentence
                                                        : QTextBoundaryFinder::Grapheme;
        QTextBoundaryFinder finder(type, m_text);
        for (qsizetype at = finder.toNextBoundary(); at > 0 && at < size;
             at = finder.toNextBoundary()) {
            // A run of blanks or signs between two words is one piece.
            if (finder.boundaryReasons() &
                (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem))
                boundaries.push_back(static_cast<int>(at));
        }
    }
    if (boundaries.back() != size)
        boundaries.push_back(size);
    return boundaries;
}

bool TextPieces::EndStandsAlone(QAccessible::TextBoundaryType boundary) const {
    switch (boundary) {
        case QAccessible::CharBoundary:
            return true;
        case QAccessible::LineBoundary:
        case QAccessible::ParagraphBoundary:
            // After a final "\n" starts an empty line.
            return m_text.endsWith(QLatin1Char('\n'));
        default:
            return false;
    }
}

QString TextPieces::Piece(Where where, int offset, QAccessible::TextBoundaryType boundary,
                          int* startOffset, int* endOffset) const {
    const int size = static_cast<int>(m_text.size());
    if (offset == -1)
        offset = m_total;
    if (offset < m_from || offset > m_from + size) {
        *startOffset = *endOffset = -1;
        return {};
    }
    const int local = offset - m_from;
    const std::vector<int> boundaries = Boundaries(boundary);
    const int pieces = static_cast<int>(boundaries.size()) - 1;
    int piece = static_cast<int>(std::upper_bound(boundaries.begin(), boundaries.end(), local) -
                                 boundaries.begin()) -
                1;
    if (local == size && pieces > 0 && !EndStandsAlone(boundary))
        piece = pieces - 1;
    if (where == Where::Before)
        --piece;
    else if (where == Where::After)
        ++piece;

    if (piece < 0) {
        *startOffset = *endOffset = m_from;
        return {};
    }
    if (piece >= pieces) {
        *startOffset = *endOffset = m_from + size;
        return {};
    }
    const int start = boundaries[static_cast<std::size_t>(piece)];
    const int end = boundaries[static_cast<std::size_t>(piece) + 1];
    *startOffset = m_from + start;
    *endOffset = m_from + end;
    return m_text.mid(start, end - start);
}
