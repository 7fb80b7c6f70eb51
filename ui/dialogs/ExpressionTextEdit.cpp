#include "ExpressionTextEdit.h"

#include <QKeyEvent>
#include <QMimeData>

#include "FullWidthForms.h"

ExpressionTextEdit::ExpressionTextEdit(QWidget* parent) : QPlainTextEdit(parent) {}

void ExpressionTextEdit::keyPressEvent(QKeyEvent* event) {
    // Tab leaves the box as in any dialog (a tab would be dropped from the
    // expression anyway), and so does Ctrl+Tab, which Qt leaves to the
    // box to type.
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && (event->modifiers() & Qt::ControlModifier) &&
        !(event->modifiers() & Qt::AltModifier)) {
        const bool back =
            event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        focusNextPrevChild(!back);
        return;
    }
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

void ExpressionTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    event->setCommitString(ToAsciiForms(event->commitString()), event->replacementStart(),
                           event->replacementLength());
    QPlainTextEdit::inputMethodEvent(event);
}

void ExpressionTextEdit::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QMimeData ascii;
    ascii.setText(ToAsciiForms(source->text()));
    QPlainTextEdit::insertFromMimeData(&ascii);
}
