#include "ExprEditDlg.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "DialogBuilder.h"
#include "WindowStacking.h"
#include "resource.h"

CExprEditDlg::CExprEditDlg(QWidget* parent) : QDialog(parent) {
    // A tool window: small caption, no task-bar entry of its own.
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const DialogControls controls = BuildCaptionedDialog(this, IDD_EXPR_EDIT);
    m_edit = controls.Get<QPlainTextEdit>(IDC_EXPR);
    connect(controls.Get<QPushButton>(IDOK), &QPushButton::clicked, this, &CExprEditDlg::accept);
    connect(controls.Get<QPushButton>(IDCANCEL), &QPushButton::clicked, this, &QDialog::reject);
    KeepAboveOwner(this, parent);
}

int CExprEditDlg::DoModal() {
    m_edit->setPlainText(m_strText);
    // The caret waits where the expression goes on, as in the box it came from.
    m_edit->moveCursor(QTextCursor::End);
    m_edit->setFocus();
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CExprEditDlg::accept() {
    m_strText = m_edit->toPlainText();
    QDialog::accept();
}
