#include "ExprEditDlg.h"

#include <QTextCursor>

#include "DialogFonts.h"
#include "WindowStacking.h"
#include "ui_ExprEditDlg.h"

ExprEditDlg::ExprEditDlg(const QString& text, QWidget* parent) : QDialog(parent) {
    // A tool window: small caption, no task-bar entry of its own.
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    Ui::ExprEditDlg form;
    form.setupUi(this);
    m_edit = form.expressionEdit;
    connect(form.okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(form.cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    KeepAboveOwner(this, parent);
    m_edit->setPlainText(text);
    // The caret waits where the expression goes on, as in the box it came from.
    m_edit->moveCursor(QTextCursor::End);
    m_edit->setFocus();
}

QString ExprEditDlg::Text() const {
    return m_edit->toPlainText();
}
