#include "EngravedIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace {

// The pixels of `image` that would not be white when drawn over white, in
// one colour: the shape an engraved image is made of.
QImage ImageShape(const QImage& image, const QColor& colour) {
    QImage shape(image.size(), QImage::Format_ARGB32);
    shape.fill(Qt::transparent);
    QImage onWhite(image.size(), QImage::Format_ARGB32);
    onWhite.fill(Qt::white);
    {
        QPainter painter(&onWhite);
        painter.drawImage(0, 0, image);
    }
    const QRgb ink = colour.rgb();
    for (int y = 0; y < image.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(onWhite.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(shape.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((from[x] & RGB_MASK) != (qRgb(255, 255, 255) & RGB_MASK))
                to[x] = ink;
        }
    }
    return shape;
}

class EngravedIconEngine : public QIconEngine {
  public:
    EngravedIconEngine(QIcon source, QColor highlight, QColor shadow)
        : m_source(std::move(source)), m_highlight(highlight), m_shadow(shadow) {}

    QIconEngine* clone() const override { return new EngravedIconEngine(*this); }
    bool isNull() override { return m_source.isNull(); }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return m_source.actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return m_source.availableSizes(mode, state);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // `size` in device pixels, `scale` of them to each pixel of the icon.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap drawn =
            m_source.pixmap(size, 1.0, mode == QIcon::Disabled ? QIcon::Normal : mode, state);
        if (mode != QIcon::Disabled || drawn.isNull())
            return drawn;
        // The shapes are taken pixel for pixel and only then given the
        // ratio, so that the highlight lies one pixel of the icon, not of
        // the screen, down and to the right.
        const QImage source = drawn.toImage();
        QImage highlight = ImageShape(source, m_highlight);
        QImage shadow = ImageShape(source, m_shadow);
        highlight.setDevicePixelRatio(scale);
        shadow.setDevicePixelRatio(scale);
        QImage engraved(source.size(), QImage::Format_ARGB32_Premultiplied);
        engraved.setDevicePixelRatio(scale);
        engraved.fill(Qt::transparent);
        {
            QPainter painter(&engraved);
            painter.drawImage(QPoint(1, 1), highlight);
            painter.drawImage(QPoint(0, 0), shadow);
        }
        engraved.setDevicePixelRatio(1.0);
        return QPixmap::fromImage(engraved);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal scale = painter->device()->devicePixelRatioF();
        painter->drawPixmap(rect, scaledPixmap(rect.size() * scale, mode, state, scale));
    }

  private:
    QIcon m_source;
    QColor m_highlight;
    QColor m_shadow;
};

}  // namespace

QIcon EngravedIcon(const QIcon& source, const QColor& highlight, const QColor& shadow) {
    if (source.isNull())
        return {};
    return QIcon(new EngravedIconEngine(source, highlight, shadow));
}
