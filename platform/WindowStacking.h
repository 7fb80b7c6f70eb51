#pragma once

class QWidget;

// Keeping windows above others.

// Turns staying on top on or off for a shown top-level window, without
// hiding it (changing a widget's window flags the usual way would unmap
// and map it again).
void SetWindowStaysOnTop(QWidget* window, bool on);

// A dialog opened from a window that stays on top stays on top too, so it
// never opens behind its owner. Call before showing the dialog.
void KeepAboveOwner(QWidget* dialog, const QWidget* owner);
