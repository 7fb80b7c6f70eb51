#pragma once

#include <QBasicTimer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

#include "EditableLine.h"
#include "LineView.h"

class QHelpEvent;
class QMenu;
class QStyleOptionFrame;
class TypingHelper;

// The one-line expression box. A line wider than the box scrolls to keep
// the caret in view, as in a line edit: nothing typed is ever turned away.
// Up and Down walk the history, newest first, and come back to the text that
// was being typed.
//
// It looks and answers like a QLineEdit, whose names its functions keep
// (text, setText, selectAll...), but keeps, edits and draws its text
// itself: a QLineEdit lays out its whole line again after every edit and
// scans the whole text for its writing direction whenever it places the
// caret, which takes seconds a key once the program has set a text of
// megabytes. This box lays out only the part of the line in view and steps
// through the characters around the caret.
//
// What a QLineEdit does and this box deliberately does not:
// - right-to-left text: the line is always laid out and walked left to
//   right, as expressions are written; a right-to-left layout direction or
//   right-to-left characters do not turn it, and the arrow keys move by
//   logical order;
// - dragging a selection out: a press inside the selection starts a new
//   selection rather than a drag, so a text goes to another program only by
//   the clipboard (a text dragged in from elsewhere is still dropped in);
// - validators, input masks, echo modes, placeholder text, a clear button
//   and a maximum length, which no caller asks of it; its completion is its
//   own (TypingHelper), as a completer's popup would take the keyboard.
class ExpressionEdit : public QWidget {
    Q_OBJECT
  public:
    explicit ExpressionEdit(QWidget* parent = nullptr);
    ~ExpressionEdit() override;

    // The line edit's own names, so that the box stands where a QLineEdit
    // stood and its callers read as Qt code.
    // NOLINTBEGIN(readability-identifier-naming)
    QString text() const { return m_line.Text(); }
    void setText(const QString& text);
    void clear() { setText(QString()); }
    int cursorPosition() const { return static_cast<int>(m_line.Cursor()); }
    void setCursorPosition(int position);
    bool hasSelectedText() const { return m_line.HasSelection(); }
    QString selectedText() const { return m_line.SelectedText(); }
    // -1 when nothing is selected, as QLineEdit answers.
    int selectionStart() const;
    int selectionEnd() const;
    void setSelection(int start, int length);
    void selectAll();
    void deselect();
    // Writes `text` over the selection, or at the caret, as the user would:
    // full-width forms, as a Chinese input method types them, become the
    // ASCII characters they stand for. Pasting and dropping write so too.
    void insert(const QString& text);
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);

    void undo();
    void redo();
    void cut();
    void copy() const;
    void paste();
    // The edit menu a right click opens, in Qt's words (and so in the
    // language of Qt's translations); the caller owns it.
    QMenu* createStandardContextMenu();
    // NOLINTEND(readability-identifier-naming)

    // The helps while typing: names completed, brackets paired, a call's
    // usage shown.
    TypingHelper& TypingHelp() const { return *m_typingHelp; }

    // The history entries, oldest first, as the walk reads them.
    void SetHistorySource(std::function<QStringList()> source) {
        m_historySource = std::move(source);
    }
    // Forgets the walk: the next Up starts again at the newest entry.
    void ResetHistoryWalk() { m_historyIndex = -1; }

    // Marks [from, to) of the text as the place of an error, underlined as
    // a misspelling is, with the error's message as the tooltip there and
    // as the box's description, which a screen reader speaks. The mark
    // belongs to the text it was set on: any edit takes it away.
    void SetErrorMark(qsizetype from, qsizetype to, const QString& message);
    void ClearErrorMark();
    bool HasErrorMark() const { return m_markFrom < m_markTo; }
    qsizetype ErrorMarkStart() const { return m_markFrom; }
    qsizetype ErrorMarkEnd() const { return m_markTo; }
    const QString& ErrorMarkMessage() const { return m_markMessage; }

    // Where the character at `position` is drawn, and which position is
    // nearest to `point`, in the box's coordinates: the part of the line
    // last drawn answers, and a position outside it has no rectangle.
    // Both settle the scrolling first, as a paint would.
    QRect CharacterRect(int position);
    int PositionAt(QPoint point);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  signals:
    // NOLINTBEGIN(readability-identifier-naming): QLineEdit's signals
    void textChanged(const QString& text);
    // Only when the user changed the text, as QLineEdit's.
    void textEdited(const QString& text);
    void cursorPositionChanged(int oldPosition, int newPosition);
    void selectionChanged();
    // NOLINTEND(readability-identifier-naming)
    // The copy key pressed with nothing selected: the window copies its
    // result, as calculators do.
    void CopyWithNothingSelected();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

  private:
    // Runs `action` on the line, then tells the world what it changed: the
    // signals, screen readers, the scrolling and the caret's blink.
    // `byUser` says whether the text changed at the user's hand.
    template <class Action>
    void Change(bool byUser, Action action);
    bool HandleEditingKey(QKeyEvent* event);
    // The copy key: the selection to the clipboard, or with nothing
    // selected the window's turn.
    void CopyOrHandOver();
    void WalkHistory(int step);
    void InitStyleOption(QStyleOptionFrame* option) const;
    QRect TextArea() const;
    // Lays out and places the part of the line in view, unless nothing
    // moved since the last time.
    void Arrange();
    void RestartBlink();
    void CommitComposition();
    void CopyToSelection() const;
    // The mark's tooltip, for a help event at the marked place.
    bool ShowMarkTip(const QHelpEvent* event);

    EditableLine m_line;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;

    std::function<QStringList()> m_historySource;
    int m_historyIndex = -1;  // -1: not walking, the typed text is shown
    QString m_draft;

    LineView m_view;
    qsizetype m_markFrom = 0;
    qsizetype m_markTo = 0;
    QString m_markMessage;
    Composition m_composing;

    TypingHelper* m_typingHelp = nullptr;

    QBasicTimer m_blinkTimer;
    bool m_caretOn = true;
    bool m_dropHovering = false;
    // A press that starts a selection by dragging, and whether a third
    // click (soon after a double click) selects everything.
    bool m_selecting = false;
    // The word a double click selected, while the button stays down.
    std::optional<std::pair<qsizetype, qsizetype>> m_doubleClickedWord;
    QBasicTimer m_tripleClickTimer;
    QPoint m_tripleClickAt;
};
