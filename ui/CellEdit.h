#pragma once

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QString>
#include <optional>

// The editor that opens over one cell of a grid. It lives until it loses
// the focus (Enter, Escape, a click elsewhere, scrolling the grid); then it
// reports the edit by EditEnded, Escape as a cancelled one, and deletes
// itself. The full-width forms an input method types stand for the ASCII
// characters the editor takes instead.
class CellEdit : public QLineEdit {
    Q_OBJECT
  public:
    CellEdit(QAbstractItemView* grid, int row, int column, const QString& initialText);

    // The edited cell's row follows rows inserted or removed above it; -1
    // once the row itself is gone.
    int Row() const { return m_cell.row(); }
    int Column() const { return m_column; }

    // Shows the editor at `rect` (in the grid's viewport) with the initial
    // text, all of it selected, and gives it the focus.
    void Open(const QRect& rect);
    // Ends the edit as Enter does: the text is reported for checking.
    void Commit();
    // Ends the edit as Escape does: the text is dropped unchecked.
    void Cancel();

  signals:
    // `text` is none when the edit was cancelled; `row` is -1 when the row
    // went while it was edited. The editor may be gone when a receiver's
    // message box returns.
    void EditEnded(int row, int column, const std::optional<QString>& text);

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void WidenForText();
    void EndEdit();

    QAbstractItemView* m_grid;
    QPersistentModelIndex m_cell;
    int m_column;
    QString m_initialText;
    bool m_cancelled = false;
    bool m_ended = false;
};
