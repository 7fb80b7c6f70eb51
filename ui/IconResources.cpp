#include "IconResources.h"

#include <QFile>
#include <QSvgRenderer>

#include "resource.h"

namespace {

QString IconPath(int iconId) {
    return QStringLiteral(":/icons/%1.svg").arg(iconId);
}

}  // namespace

QIcon LoadIcon(int iconId) {
    // The renderer warns about a missing file; a missing icon is no fault here.
    const QString path = IconPath(iconId);
    if (!QFile::exists(path) || !QSvgRenderer(path).isValid())
        return {};
    return QIcon(path);
}

QSize IconDefaultSize(int iconId) {
    const QString path = IconPath(iconId);
    if (!QFile::exists(path))
        return {};
    const QSvgRenderer renderer(path);
    return renderer.isValid() ? renderer.defaultSize() : QSize();
}

QPixmap LoadIconPixmap(int iconId, int sizePx, qreal devicePixelRatio) {
    if (sizePx < 0 || !(devicePixelRatio > 0))
        return {};
    const QIcon icon = LoadIcon(iconId);
    const QSize logical = sizePx == 0 ? IconDefaultSize(iconId) : QSize(sizePx, sizePx);
    if (icon.isNull() || logical.isEmpty())
        return {};
    return icon.pixmap(logical, devicePixelRatio);
}

QIcon LoadApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        const QPixmap pixmap = LoadIconPixmap(IDR_MAINFRAME, size);
        if (!pixmap.isNull())
            icon.addPixmap(pixmap);
    }
    return icon;
}
