#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

// The program's icons, kept as drawings under ":/icons/NAME.svg".
enum class WindowIcon { Application, Exit, Help, Pin, Unpin, More, Less, Add, Delete, Editor };

// `icon` as an icon that draws itself anew for each size and pixel ratio
// asked of it; a null icon when its drawing is missing.
QIcon LoadIcon(WindowIcon icon);
// The size `icon` is drawn for; empty when its drawing is missing.
QSize IconDefaultSize(WindowIcon icon);

// `icon` drawn at `sizePx` device-independent pixels square, or at its
// own size for 0, with `devicePixelRatio` device pixels to each of them.
// A null pixmap when its drawing is missing.
QPixmap LoadIconPixmap(WindowIcon icon, int sizePx = 0, qreal devicePixelRatio = 1.0);

// The application icon at the sizes title bars, task bars and switchers ask for.
QIcon LoadApplicationIcon();
