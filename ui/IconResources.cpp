#include "IconResources.h"

#include <QFile>
#include <QSvgRenderer>

namespace {

QString IconPath(WindowIcon icon) {
    switch (icon) {
        case WindowIcon::Application:
            return QStringLiteral(":/icons/application.svg");
        case WindowIcon::Exit:
            return QStringLiteral(":/icons/exit.svg");
        case WindowIcon::Help:
            return QStringLiteral(":/icons/help.svg");
        case WindowIcon::Pin:
            return QStringLiteral(":/icons/pin.svg");
        case WindowIcon::Unpin:
            return QStringLiteral(":/icons/unpin.svg");
        case WindowIcon::More:
            return QStringLiteral(":/icons/more.svg");
        case WindowIcon::Less:
            return QStringLiteral(":/icons/less.svg");
        case WindowIcon::Add:
            return QStringLiteral(":/icons/add.svg");
        case WindowIcon::Delete:
            return QStringLiteral(":/icons/delete.svg");
        case WindowIcon::Editor:
            return QStringLiteral(":/icons/editor.svg");
    }
    return {};
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
