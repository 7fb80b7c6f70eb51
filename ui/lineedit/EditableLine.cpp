#include "EditableLine.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace {

// A character a reader sees as one is rarely longer than this; a longer one
// is found by looking further.
constexpr qsizetype kFirstLook = 32;

// The characters at which a word step stops, as in Qt's own line edit, so
// the box moves by words as the other boxes of the desktop do.
bool IsWordSeparator(QChar c) {
    switch (c.unicode()) {
        case '.':
        case ',':
        case '?':
        case '!':
        case '@':
        case '#':
        case '$':
        case ':':
        case ';':
        case '-':
        case '<':
        case '>':
        case '[':
        case ']':
        case '(':
        case ')':
        case '{':
        case '}':
        case '=':
        case '/':
        case '+':
        case '%':
        case '&':
        case '^':
        case '*':
        case '\'':
        case '"':
        case '`':
        case '~':
        case '|':
        case '\\':
            return true;
        default:
            return false;
    }
}

}  // namespace

QString EditableLine::SelectedText() const {
    return m_text.mid(SelectionStart(), SelectionEnd() - SelectionStart());
}

void EditableLine::SetText(const QString& text) {
    if (text != m_text) {
        m_lastChange = {0, m_text, text.size()};
        m_text = text;
        ++m_revision;
    }
    m_cursor = m_anchor = m_text.size();
    m_history.clear();
    m_done = 0;
}

void EditableLine::MoveCursor(qsizetype to, bool select) {
    m_cursor = std::clamp<qsizetype>(to, 0, m_text.size());
    if (!select)
        m_anchor = m_cursor;
}

void EditableLine::Select(qsizetype anchor, qsizetype cursor) {
    m_anchor = std::clamp<qsizetype>(anchor, 0, m_text.size());
    m_cursor = std::clamp<qsizetype>(cursor, 0, m_text.size());
}

void EditableLine::Insert(const QString& text, Run run) {
    Replace(SelectionStart(), SelectionEnd(), text, run);
}

void EditableLine::Replace(qsizetype from, qsizetype to, const QString& text, Run run) {
    from = std::clamp<qsizetype>(from, 0, m_text.size());
    to = std::clamp<qsizetype>(to, from, m_text.size());
    if (from == to && text.isEmpty())
        return;
    Record({from, m_text.mid(from, to - from), text, m_cursor, m_anchor, run});
    Apply(from, to - from, text);
}

void EditableLine::Apply(qsizetype at, qsizetype removedLength, const QString& inserted) {
    m_lastChange = {at, m_text.mid(at, removedLength), inserted.size()};
    m_text.replace(at, removedLength, inserted);
    m_cursor = m_anchor = at + inserted.size();
    ++m_revision;
}

void EditableLine::Record(Step step) {
    m_history.resize(m_done);
    if (Join(step))
        return;
    m_history.append(std::move(step));
    m_done = m_history.size();
}

// A run goes on where the last step left the caret: the next typed
// character after the last, the next Backspace before what the last took,
// the next Delete at the same place. Undoing the run restores the caret and
// selection from before its first step.
bool EditableLine::Join(const Step& step) {
    if (step.run == Run::None || m_history.isEmpty() || m_history.last().run != step.run)
        return false;
    Step& last = m_history.last();
    switch (step.run) {
        case Run::Typing:
            if (!step.removed.isEmpty() || last.at + last.inserted.size() != step.at)
                return false;
            last.inserted += step.inserted;
            return true;
        case Run::Backspace:
            if (!step.inserted.isEmpty() || step.at + step.removed.size() != last.at)
                return false;
            last.at = step.at;
            last.removed.prepend(step.removed);
            return true;
        case Run::Delete:
            if (!step.inserted.isEmpty() || step.at != last.at)
                return false;
            last.removed += step.removed;
            return true;
        case Run::None:
            break;
    }
    return false;
}

void EditableLine::Undo() {
    if (!CanUndo())
        return;
    const Step& step = m_history.at(--m_done);
    Apply(step.at, step.inserted.size(), step.removed);
    Select(step.anchorBefore, step.cursorBefore);
}

void EditableLine::Redo() {
    if (!CanRedo())
        return;
    const Step& step = m_history.at(m_done++);
    Apply(step.at, step.removed.size(), step.inserted);
}

// Looks for the next boundary in a stretch of text after `from`, twice as
// long each time the stretch holds none.
template <class Move>
qsizetype EditableLine::StepForward(qsizetype from, Move move) const {
    for (qsizetype look = kFirstLook;; look *= 2) {
        const qsizetype end = std::min(m_text.size(), from + look);
        const QString stretch = m_text.mid(from, end - from);
        const qsizetype found = move(stretch);
        if (found > 0 && (found < stretch.size() || end == m_text.size()))
            return from + found;
        if (end == m_text.size())
            return m_text.size();
    }
}

template <class Move>
qsizetype EditableLine::StepBack(qsizetype from, Move move) const {
    for (qsizetype look = kFirstLook;; look *= 2) {
        const qsizetype begin = std::max<qsizetype>(0, from - look);
        const QString stretch = m_text.mid(begin, from - begin);
        const qsizetype found = move(stretch);
        if ((found > 0 && found < stretch.size()) || begin == 0)
            return begin + std::max<qsizetype>(found, 0);
    }
}

qsizetype EditableLine::NextCharacter(qsizetype from) const {
    if (from >= m_text.size())
        return m_text.size();
    return StepForward(from, [](const QString& stretch) {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, stretch);
        return finder.toNextBoundary();
    });
}

qsizetype EditableLine::PreviousCharacter(qsizetype from) const {
    if (from <= 0)
        return 0;
    return StepBack(from, [](const QString& stretch) {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, stretch);
        finder.toEnd();
        return finder.toPreviousBoundary();
    });
}

// A word step skips a run of separators or a run of other characters, then
// the blanks after it.
qsizetype EditableLine::NextWord(qsizetype from) const {
    const qsizetype size = m_text.size();
    qsizetype at = std::clamp<qsizetype>(from, 0, size);
    if (at < size && IsWordSeparator(m_text.at(at))) {
        while (at < size && IsWordSeparator(m_text.at(at)))
            ++at;
    } else {
        while (at < size && !m_text.at(at).isSpace() && !IsWordSeparator(m_text.at(at)))
            ++at;
    }
    while (at < size && m_text.at(at).isSpace())
        ++at;
    return at;
}

qsizetype EditableLine::PreviousWord(qsizetype from) const {
    qsizetype at = std::clamp<qsizetype>(from, 0, m_text.size());
    while (at > 0 && m_text.at(at - 1).isSpace())
        --at;
    if (at > 0 && IsWordSeparator(m_text.at(at - 1))) {
        while (at > 0 && IsWordSeparator(m_text.at(at - 1)))
            --at;
    } else {
        while (at > 0 && !m_text.at(at - 1).isSpace() && !IsWordSeparator(m_text.at(at - 1)))
            --at;
    }
    return at;
}

std::pair<qsizetype, qsizetype> EditableLine::WordAt(qsizetype at) const {
    const qsizetype next = std::min(at + 1, m_text.size());
    const qsizetype first = PreviousWord(next);
    qsizetype second = NextWord(first);
    // The blanks after a word are not part of it.
    while (second > at && m_text.at(second - 1).isSpace())
        --second;
    return {first, second};
}
