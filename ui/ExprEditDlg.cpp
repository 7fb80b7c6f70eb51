#include "ExprEditDlg.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "DialogBuilder.h"
#include "WindowStacking.h"
#include "resource.h"

CExprEditDlg::CExprEditDlg(const QString& text, QWidget* parent) : QDialog(parent) {
    // A tool window: small caption, no task-bar entry of its own.
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const DialogControls controls = BuildCaptionedDialog(this, IDD_EXPR_EDIT);
    m_edit = controls.Get<QPlainTextEdit>(IDC_EXPR);
    connect(controls.Get<QPushButton>(IDOK), &QPushButton::clicked, this, &QDialog::accept);
    connect(controls.Get<QPushButton>(IDCANCEL), &QPushButton::clicked, this, &QDialog::reject);
    KeepAboveOwner(this, parent);
    m_edit->setPlainText(text);
    // The caret waits where the expression goes on, as in the box it came from.
    m_edit->moveCursor(QTextCursor::End);
    m_edit->setFocus();
}

QString CExprEditDlg::Text() const {
    return m_edit->toPlainText();
}
