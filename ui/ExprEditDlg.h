#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

// The enlarged expression editor: a multi-line box for writing a long
// expression over several lines. OK hands the text back; the caller joins
// the lines by stripping the white space.
class CExprEditDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CExprEditDlg(QWidget* parent = nullptr);

    // Shows the editor over m_strText; returns IDOK (m_strText then holds
    // the edited text) or IDCANCEL (m_strText unchanged).
    int DoModal();

    QString m_strText;

  protected:
    void accept() override;  // the OK command

  private:
    QPlainTextEdit* m_edit = nullptr;
};
