#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// The window's message boxes, all through one function so that tests can
// answer them instead of a user.

struct MessageBoxRequest {
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Shows a modal box with an OK button over `owner` and returns when it is
// closed. A box over a window that stays on top stays on top too, so it is
// never hidden behind its owner.
void ShowMessageBox(QWidget* owner, const QString& text, const QString& caption,
                    QMessageBox::Icon icon);

// While a hook is set, ShowMessageBox hands every request to it instead; no
// box appears. Returns the previous hook. An empty hook restores the real
// boxes.
using MessageBoxHook = std::function<void(const MessageBoxRequest&)>;
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);
