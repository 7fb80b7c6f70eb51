#include "IconResources.h"

#include <QFile>
#include <QSvgRenderer>

namespace {

QString IconPath(WindowIcon icon) {
    // In the order of WindowIcon.
    static constexpr const char* kNames[] = {"application", "exit", "help", "pin",    "unpin",
                                             "more",        "less", "add",  "delete", "editor"};
    return QStringLiteral(":/icons/%1.svg").arg(QLatin1String(kNames[static_cast<int>(icon)]));
}

}  // namespace

QIcon LoadIcon(WindowIcon icon) {
    // The renderer warns about a missing file; a missing icon is no fault here.
    const QString path = IconPath(icon);
    if (!QFile::exists(path) || !QSvgRenderer(path).isValid())
        return {};
    return QIcon(path);
}

QSize IconDefaultSize(WindowIcon icon) {
    const QString path = IconPath(icon);
    if (!QFile::exists(path))
        return {};
    const QSvgRenderer renderer(path);
    return renderer.isValid() ? renderer.defaultSize() : QSize();
}

QPixmap LoadIconPixmap(WindowIcon icon, int sizePx, qreal devicePixelRatio) {
    if (sizePx < 0 || !(devicePixelRatio > 0))
        return {};
    const QIcon drawing = LoadIcon(icon);
    const QSize logical = sizePx == 0 ? IconDefaultSize(icon) : QSize(sizePx, sizePx);
    if (drawing.isNull() || logical.isEmpty())
        return {};
    return drawing.pixmap(logical, devicePixelRatio);
}

QIcon LoadApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        const QPixmap pixmap = LoadIconPixmap(WindowIcon::Application, size);
        if (!pixmap.isNull())
            icon.addPixmap(pixmap);
    }
    return icon;
}
