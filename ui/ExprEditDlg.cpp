#include "ExprEditDlg.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "DialogBuilder.h"
#include "FullWidthForms.h"
#include "WindowStacking.h"
#include "WindowTexts.h"
#include "resource.h"

namespace {

// The editor's text box. What the user writes in it (typed, committed by an
// input method, pasted, dropped or pasted with the middle button) arrives in
// ASCII forms, as in the expression box: a Chinese input method types "（"
// for "(" and "１" for "1".
class ExpressionTextEdit : public QPlainTextEdit {
  public:
    using QPlainTextEdit::QPlainTextEdit;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString text = ToAsciiForms(event->text());
        if (text == event->text()) {
            QPlainTextEdit::keyPressEvent(event);
            return;
        }
        QKeyEvent ascii(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                        event->nativeVirtualKey(), event->nativeModifiers(), text,
                        event->isAutoRepeat(), event->count(), event->device());
        QPlainTextEdit::keyPressEvent(&ascii);
        event->setAccepted(ascii.isAccepted());
    }
    void inputMethodEvent(QInputMethodEvent* event) override {
        event->setCommitString(ToAsciiForms(event->commitString()), event->replacementStart(),
                               event->replacementLength());
        QPlainTextEdit::inputMethodEvent(event);
    }
    void insertFromMimeData(const QMimeData* source) override {
        if (!source->hasText()) {
            QPlainTextEdit::insertFromMimeData(source);
            return;
        }
        QMimeData ascii;
        ascii.setText(ToAsciiForms(source->text()));
        QPlainTextEdit::insertFromMimeData(&ascii);
    }
};

}  // namespace

ExprEditDlg::ExprEditDlg(const QString& text, QWidget* parent) : QDialog(parent) {
    // A tool window: small caption, no task-bar entry of its own.
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const DialogTemplate& layout = FindDialogTemplate(IDD_EXPR_EDIT);
    setWindowTitle(QString::fromUtf8(layout.title));
    setFont(DialogFont());
    const DialogControls controls = BuildDialogControls(
        this, layout, 0, [](const ControlTemplate& c, QWidget* dialog) -> QWidget* {
            return c.id == IDC_EXPR ? new ExpressionTextEdit(dialog) : nullptr;
        });
    setFixedSize(DialogUnitsToPixels(layout.cx), DialogUnitsToPixels(layout.cy));
    m_edit = controls.Get<QPlainTextEdit>(IDC_EXPR);
    // The box has no label of its own for a screen reader to name it after.
    m_edit->setAccessibleName(QString::fromUtf8(WindowTexts::kExpressionName));
    connect(controls.Get<QPushButton>(IDOK), &QPushButton::clicked, this, &QDialog::accept);
    connect(controls.Get<QPushButton>(IDCANCEL), &QPushButton::clicked, this, &QDialog::reject);
    KeepAboveOwner(this, parent);
    m_edit->setPlainText(text);
    // The caret waits where the expression goes on, as in the box it came from.
    m_edit->moveCursor(QTextCursor::End);
    m_edit->setFocus();
}

QString ExprEditDlg::Text() const {
    return m_edit->toPlainText();
}
