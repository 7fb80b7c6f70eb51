#pragma once

#include <QBasicTimer>
#include <QLineEdit>
#include <QList>
#include <QStringList>
#include <QTextLayout>
#include <functional>

// The one-line expression box. It does not scroll while typing: a typed
// character that would not fit the visible width is refused, so the whole
// expression stays in view (a longer one is written in the editor; a text
// the program sets may be wider). Up and Down walk the history, newest
// first, and come back to the text that was being typed.
//
// The box draws itself: QLineEdit lays out and draws its whole line at
// every paint, a caret blink included, which stalls the window once the
// program has set a text of megabytes. This one lays out only the part of
// the line that can come into view around the caret, places it where
// QLineEdit would, and hands QLineEdit the mouse positions in the whole
// line's coordinates, so everything else (editing, selection, clipboard,
// the history walk, accessibility) stays QLineEdit's own.
class ExpressionEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit ExpressionEdit(QWidget* parent = nullptr);
    ~ExpressionEdit() override;

    // The history entries, oldest first, as the walk reads them.
    void SetHistorySource(std::function<QStringList()> source) {
        m_historySource = std::move(source);
    }
    // Forgets the walk: the next Up starts again at the newest entry.
    void ResetHistoryWalk() { m_historyIndex = -1; }

    // Whether `text` fits the visible width.
    bool Fits(const QString& text) const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  private:
    void WalkHistory(int step);
    // Lays out `part` of the line, with the text being composed by an
    // input method at `preeditAt`, as QLineEdit lays out its whole line.
    void LayOut(QTextLayout& layout, const QString& part, qsizetype preeditAt) const;
    QRect TextArea() const;
    void RestartBlink();
    void HoldFlashTime(bool hold);
    template <class Handler>
    void InLineCoordinates(QMouseEvent* event, Handler handler);

    std::function<QStringList()> m_historySource;
    int m_historyIndex = -1;  // -1: not walking, the typed text is shown
    QString m_draft;

    // The whole line's x at the left edge of the visible text, as QLineEdit
    // scrolls: 0 while the text starts at the left edge, negative while a
    // short text sits at the right edge.
    int m_scroll = 0;
    int m_lineTop = 0;  // where the last paint put the line
    // The caret's x in the whole line, -1 until asked again.
    int m_caretLineX = -1;
    QBasicTimer m_blinkTimer;
    bool m_caretOn = true;
    int m_flashTime = -1;  // the application's, while the box holds it at 0
    // What an input method is composing, shown at the caret until
    // committed.
    QString m_preedit;
    int m_preeditCursor = 0;
    bool m_preeditHidesCaret = false;
    QList<QTextLayout::FormatRange> m_preeditFormats;
    // The direction of the whole text, worked out once per text.
    mutable int m_rightToLeft = -1;  // -1: not known yet
};
