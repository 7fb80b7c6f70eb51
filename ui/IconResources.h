#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

// The program's icons, kept as drawings under ":/icons/ID.svg" with the icon
// ids of resource.h.

// Icon `iconId` as an icon that draws itself anew for each size and pixel
// ratio asked of it; a null icon when there is no such icon.
QIcon LoadIcon(int iconId);
// The size icon `iconId` is drawn for; empty when there is no such icon.
QSize IconDefaultSize(int iconId);

// Icon `iconId` drawn at `sizePx` device-independent pixels square, or at its
// own size for 0, with `devicePixelRatio` device pixels to each of them.
// A null pixmap when there is no such icon.
QPixmap LoadIconPixmap(int iconId, int sizePx = 0, qreal devicePixelRatio = 1.0);

// The application icon at the sizes title bars, task bars and switchers ask for.
QIcon LoadApplicationIcon();
