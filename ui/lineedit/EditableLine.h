#pragma once

#include <QList>
#include <QString>
#include <algorithm>
#include <utility>

// The text of a one-line box with its caret, its selection and its undo
// history, and the steps the keys take through it. Every step looks only at
// the characters near the caret, so a key costs as little on a line of
// megabytes as on a short one (an edit still moves the text behind it).
class EditableLine {
  public:
    // What the last edit did: at `at`, `removed` gave way to `inserted`
    // characters.
    struct Change {
        qsizetype at = 0;
        QString removed;
        qsizetype inserted = 0;
    };

    const QString& Text() const { return m_text; }
    qsizetype Cursor() const { return m_cursor; }
    // The other end of the selection; the cursor itself when nothing is
    // selected.
    qsizetype Anchor() const { return m_anchor; }
    bool HasSelection() const { return m_cursor != m_anchor; }
    qsizetype SelectionStart() const { return std::min(m_cursor, m_anchor); }
    qsizetype SelectionEnd() const { return std::max(m_cursor, m_anchor); }
    QString SelectedText() const;
    // Counts the edits, so that a caller sees whether the text changed
    // without comparing it.
    quint64 Revision() const { return m_revision; }
    // The last edit, handed over once: the line does not keep a removed
    // text alive for nobody.
    Change TakeLastChange() { return std::exchange(m_lastChange, {}); }

    // Which edits one step to undo gathers, as a line edit gathers them: the
    // characters typed one after another, a run of Backspaces, a run of
    // Deletes (each run may begin by removing a selection).
    enum class Run { None, Typing, Backspace, Delete };

    // A new text, the caret at its end; what was undoable is forgotten. The
    // same text again is no edit.
    void SetText(const QString& text);
    // Moves the caret, extending the selection from where it was or
    // dropping it.
    void MoveCursor(qsizetype to, bool select);
    void Select(qsizetype anchor, qsizetype cursor);
    // Writes `text` over the selection, or at the caret.
    void Insert(const QString& text, Run run = Run::None);
    // Replaces [from, to) with `text` and puts the caret after it.
    void Replace(qsizetype from, qsizetype to, const QString& text, Run run = Run::None);
    void RemoveSelection() { Replace(SelectionStart(), SelectionEnd(), {}); }
    bool CanUndo() const { return m_done > 0; }
    bool CanRedo() const { return m_done < m_history.size(); }
    void Undo();
    void Redo();

    // Where the caret goes one character, or one word, on; a character is
    // what a reader sees as one (a letter with its accents, a surrogate
    // pair).
    qsizetype NextCharacter(qsizetype from) const;
    qsizetype PreviousCharacter(qsizetype from) const;
    qsizetype NextWord(qsizetype from) const;
    qsizetype PreviousWord(qsizetype from) const;
    // The word a double click at `at` selects: [first, second).
    std::pair<qsizetype, qsizetype> WordAt(qsizetype at) const;

  private:
    struct Step {
        qsizetype at;
        QString removed;
        QString inserted;
        qsizetype cursorBefore, anchorBefore;
        Run run;
    };
    void Apply(qsizetype at, qsizetype removedLength, const QString& inserted);
    void Record(Step step);
    // Adds `step` to the last step when both belong to one run.
    bool Join(const Step& step);
    template <class Move>
    qsizetype StepForward(qsizetype from, Move move) const;
    template <class Move>
    qsizetype StepBack(qsizetype from, Move move) const;

    QString m_text;
    qsizetype m_cursor = 0;
    qsizetype m_anchor = 0;
    quint64 m_revision = 0;
    Change m_lastChange;
    // Steps [0, m_done) are done and can be undone; the rest were undone
    // and can be redone until the next edit.
    QList<Step> m_history;
    qsizetype m_done = 0;
};
