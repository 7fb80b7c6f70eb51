#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

// The enlarged expression editor: a multi-line box for writing a long
// expression over several lines, shown modally with exec(). When it is
// accepted, Text() is what was written; the caller joins the lines by
// stripping the white space.
class ExprEditDlg : public QDialog {
    Q_OBJECT
  public:
    explicit ExprEditDlg(const QString& text, QWidget* parent = nullptr);

    QString Text() const;

  private:
    QPlainTextEdit* m_edit = nullptr;
};
