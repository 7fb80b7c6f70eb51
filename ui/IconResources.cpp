#include "IconResources.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

#include "resource.h"

QPixmap LoadIconPixmap(int iconId, int sizePx, qreal devicePixelRatio) {
    const QString path = QStringLiteral(":/icons/%1.svg").arg(iconId);
    // The renderer warns about a missing file; a missing icon is no fault here.
    if (!QFile::exists(path))
        return {};
    QSvgRenderer renderer(path);
    if (!renderer.isValid() || sizePx < 0 || !(devicePixelRatio > 0))
        return {};
    const QSize logical = sizePx == 0 ? renderer.defaultSize() : QSize(sizePx, sizePx);
    if (logical.isEmpty())
        return {};
    const QSize device(static_cast<int>(std::lround(logical.width() * devicePixelRatio)),
                       static_cast<int>(std::lround(logical.height() * devicePixelRatio)));

    // An image rather than a pixmap, so that the alpha channel survives on
    // any platform; the pixmap is made from it once it is complete.
    QImage image(device, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(device)));
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return QPixmap::fromImage(std::move(image));
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
