#pragma once

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QString>
#include <optional>

// The editor that opens over one cell of a grid. It lives until it loses
// the focus (Enter, Escape, a click elsewhere, scrolling the grid); then it
// reports the edit by EditEnded, Escape as a cancelled one, and deletes
// itself.
class CCellEdit : public QLineEdit {
    Q_OBJECT
  public:
    CCellEdit(QAbstractScrollArea* grid, int row, int column, const QString& initialText);

    int Row() const { return m_row; }
    int Column() const { return m_column; }

    // Shows the editor at `rect` (in the grid's viewport) with the initial
    // text, all of it selected, and gives it the focus.
    void Open(const QRect& rect);
    // Ends the edit as Escape does: the text is dropped unchecked.
    void Cancel();

  signals:
    // `text` is none when the edit was cancelled. The editor may be gone
    // when a receiver's message box returns.
    void EditEnded(int row, int column, const std::optional<QString>& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void WidenForText();
    void EndEdit();

    QAbstractScrollArea* m_grid;
    int m_row;
    int m_column;
    QString m_initialText;
    bool m_cancelled = false;
    bool m_ended = false;
};
