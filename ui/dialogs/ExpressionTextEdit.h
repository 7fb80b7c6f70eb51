#pragma once

#include <QPlainTextEdit>

// The expression editor's text box. What the user writes in it (typed,
// committed by an input method, pasted, dropped or pasted with the middle
// button) arrives in ASCII forms, as in the expression box: a Chinese input
// method types "（" for "(" and "１" for "1". Tab and Ctrl+Tab go on to the
// next control, with Shift to the one before.
class ExpressionTextEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit ExpressionTextEdit(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};
