#pragma once

#include <QKeyEvent>
#include <QKeySequence>
#include <QList>

// Keys of the main window's commands that more than one widget needs to
// know: the window binds them to its actions, and a widget that keeps some
// of them for itself, or lets them through where it would use them, asks
// here.

// The key below Escape copies the result: grave accent, or tilde with
// Shift, or a dead grave where the keyboard map makes it one.
inline QList<QKeySequence> CopyResultKeys() {
    return {QKeySequence(Qt::Key_QuoteLeft), QKeySequence(Qt::Key_AsciiTilde),
            QKeySequence(Qt::ShiftModifier | Qt::Key_AsciiTilde),
            QKeySequence(Qt::ShiftModifier | Qt::Key_QuoteLeft), QKeySequence(Qt::Key_Dead_Grave)};
}

// The keys that open a window's menu from the keyboard: the menu key and
// Shift+F10, and Alt+Space where the window manager leaves it to the window.
inline QList<QKeySequence> WindowMenuKeys() {
    return {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::ShiftModifier | Qt::Key_F10),
            QKeySequence(Qt::AltModifier | Qt::Key_Space)};
}

// Whether `event` is one of `keys`, a key of the keypad counting as the
// same key elsewhere.
inline bool IsOneOf(const QKeyEvent* event, const QList<QKeySequence>& keys) {
    const QKeySequence pressed(
        QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    return keys.contains(pressed);
}
