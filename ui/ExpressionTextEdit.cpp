#include "ExpressionTextEdit.h"

#include <QKeyEvent>
#include <QMimeData>

#include "FullWidthForms.h"

ExpressionTextEdit::ExpressionTextEdit(QWidget* parent) : QPlainTextEdit(parent) {}

void ExpressionTextEdit::keyPressEvent(QKeyEvent* event) {
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
