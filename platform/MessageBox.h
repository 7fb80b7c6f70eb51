#pragma once

#include <QString>
#include <functional>

class QWidget;

// The window's message boxes, all through one function so that tests can
// answer them instead of a user.

// Button and icon flags, combined with |.
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONWARNING = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;

struct MessageBoxRequest {
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    unsigned type = MB_OK;
};

// Shows a modal box over `owner` and returns the button pressed (1 = OK).
// A box over a window that stays on top stays on top too, so it is never
// hidden behind its owner.
int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned type);

// While a hook is set, ShowMessageBox hands every request to it and returns
// its answer; no box appears. Returns the previous hook. An empty hook
// restores the real boxes.
using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);
