#include "WindowStacking.h"

#include <QWidget>
#include <QWindow>

void SetWindowStaysOnTop(QWidget* window, bool on) {
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    window->overrideWindowFlags(flags);
    if (QWindow* handle = window->windowHandle())
        handle->setFlags(flags);
}

void KeepAboveOwner(QWidget* dialog, const QWidget* owner) {
    if (owner && owner->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
}
