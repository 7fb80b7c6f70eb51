#include "GraphPicture.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {

// Labels stay at least this far apart along their axis.
constexpr double kLabelGap = 12;
// Between an axis and its labels.
constexpr double kLabelOffset = 3;
constexpr double kTickLength = 4;
// On the screen the curve is three hairlines side by side, which look as
// wide as a pen of two pixels: the raster painter strokes a wider pen
// through its general stroker, some twenty times slower for a curve of
// thousands of points (28 ms against 1.5 ms a frame at 2,000 points). A
// picture saved as vectors gets the wide pen.
constexpr double kCurveWidth = 2;
constexpr QPointF kCurveStrokes[] = {{0, 0}, {0.75, 0}, {0, 0.75}};
constexpr double kDotDiameter = 4;
constexpr double kMarkerDiameter = 7;
// The grid's lines are the text colour this faint.
constexpr double kGridAlpha = 0.12;
// Lines are cut this far outside the area: a point far beyond it (near a
// pole, 1e300) would overflow the painter's fixed-point coordinates.
constexpr double kClipMargin = 8;

// The part of the segment a-b inside `box`, if any (Liang and Barsky).
std::optional<std::pair<QPointF, QPointF>> ClipSegment(QPointF a, QPointF b, const QRectF& box) {
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double from = 0;
    double to = 1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(),
                        box.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return std::nullopt;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            from = std::max(from, t);
        else
            to = std::min(to, t);
        if (from > to)
            return std::nullopt;
    }
    const QPointF start(a.x() + from * dx, a.y() + from * dy);
    const QPointF end(a.x() + to * dx, a.y() + to * dy);
    if (!std::isfinite(start.x()) || !std::isfinite(start.y()) || !std::isfinite(end.x()) ||
        !std::isfinite(end.y()))
        return std::nullopt;
    return std::pair{start, end};
}

QColor Faint(QColor color, double alpha) {
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

bool OnRaster(const QPainter& painter) {
    return painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
}

void DrawCurveLine(QPainter& painter, const QPolygonF& line) {
    if (!OnRaster(painter)) {
        painter.drawPolyline(line);
        return;
    }
    for (const QPointF shift : kCurveStrokes)
        painter.drawPolyline(line.translated(shift));
}

void PaintPiece(QPainter& painter, const GraphMapping& map, const CurvePiece& piece,
                const QRectF& box) {
    if (piece.size() == 1) {
        const QPointF at = map.ToPixel(piece[0].x, piece[0].y);
        if (box.contains(at))
            painter.drawEllipse(at, kDotDiameter / 2, kDotDiameter / 2);
        return;
    }
    // One polyline for each stretch that stays in the box.
    QPolygonF line;
    QPointF previous = map.ToPixel(piece[0].x, piece[0].y);
    for (std::size_t i = 1; i < piece.size(); ++i) {
        const QPointF next = map.ToPixel(piece[i].x, piece[i].y);
        const auto clipped = ClipSegment(previous, next, box);
        if (clipped) {
            if (line.isEmpty() || line.back() != clipped->first) {
                if (line.size() > 1)
                    DrawCurveLine(painter, line);
                line.clear();
                line << clipped->first;
            }
            line << clipped->second;
        }
        previous = next;
    }
    if (line.size() > 1)
        DrawCurveLine(painter, line);
}

}  // namespace

GraphMapping::GraphMapping(const QRectF& area, double xLow, double xHigh, const ValueRange& y)
    : m_area(area),
      m_xLow(xLow),
      m_yLow(y.low),
      m_xScale(area.width() / (xHigh - xLow)),
      m_yScale(area.height() / (y.high - y.low)) {}

QPointF GraphMapping::ToPixel(double x, double y) const {
    return {m_area.left() + (x - m_xLow) * m_xScale, m_area.bottom() - (y - m_yLow) * m_yScale};
}

double GraphMapping::XAt(double pixelX) const {
    return m_xLow + (pixelX - m_area.left()) / m_xScale;
}

double GraphMapping::YAt(double pixelY) const {
    return m_yLow + (m_area.bottom() - pixelY) / m_yScale;
}

std::vector<AxisTick> XAxisTicks(double xLow, double xHigh, double width, const QFont& font) {
    const QFontMetricsF metrics(font);
    return AxisTicks(
        xLow, xHigh, width,
        [&](std::string_view label) {
            return metrics.horizontalAdvance(
                QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
        },
        kLabelGap);
}

void PaintGraph(QPainter& painter, const QRectF& area, const GraphScene& scene,
                const QPalette& palette, const QFont& font) {
    painter.save();
    painter.setClipRect(area);
    painter.fillRect(area, palette.color(QPalette::Base));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const GraphMapping map(area, scene.xLow, scene.xHigh, scene.y);
    const QColor text = palette.color(QPalette::Text);

    const std::vector<AxisTick> xTicks = XAxisTicks(scene.xLow, scene.xHigh, area.width(), font);
    const std::vector<AxisTick> yTicks = AxisTicks(
        scene.y.low, scene.y.high, area.height(),
        [&](std::string_view) { return metrics.height(); }, kLabelGap / 2);

    // The axes run through zero, or along the edge nearer to it.
    const QPointF zero = map.ToPixel(0, 0);
    const double xAxisY = std::clamp(zero.y(), area.top(), area.bottom() - 1);
    const double yAxisX = std::clamp(zero.x(), area.left(), area.right() - 1);

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Faint(text, kGridAlpha), 1));
    for (const AxisTick& tick : xTicks) {
        const double x = area.left() + tick.position;
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    for (const AxisTick& tick : yTicks) {
        const double y = area.bottom() - tick.position;
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    painter.setPen(QPen(text, 1));
    painter.drawLine(QPointF(area.left(), xAxisY), QPointF(area.right(), xAxisY));
    painter.drawLine(QPointF(yAxisX, area.top()), QPointF(yAxisX, area.bottom()));

    // Labels below the x axis (above it at the bottom edge) and beside the
    // y axis; a y label that would cover an x label is left out, and so is
    // the y axis's zero where the x axis's names it. Ticks are spaced for
    // their labels, so no two labels of one axis meet.
    const bool xLabelsAbove = xAxisY + kLabelOffset + metrics.height() > area.bottom();
    std::vector<QRectF> taken;
    for (const AxisTick& tick : xTicks) {
        const QString label = QString::fromStdString(tick.label);
        const double x = area.left() + tick.position;
        painter.drawLine(QPointF(x, xAxisY - kTickLength / 2),
                         QPointF(x, xAxisY + kTickLength / 2));
        const double width = metrics.horizontalAdvance(label);
        QRectF box(x - width / 2, 0, width, metrics.height());
        box.moveTop(xLabelsAbove ? xAxisY - kLabelOffset - box.height() : xAxisY + kLabelOffset);
        // A label cut by the edge is left out, not moved onto its neighbour.
        if (box.left() < area.left() || box.right() > area.right())
            continue;
        painter.drawText(box, Qt::AlignCenter, label);
        taken.push_back(box);
    }
    double widest = 0;
    for (const AxisTick& tick : yTicks)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(tick.label)));
    const bool yLabelsRight = yAxisX - kLabelOffset - widest < area.left();
    for (const AxisTick& tick : yTicks) {
        if (tick.value == 0 && zero.x() == yAxisX)
            continue;
        const QString label = QString::fromStdString(tick.label);
        const double y = area.bottom() - tick.position;
        painter.drawLine(QPointF(yAxisX - kTickLength / 2, y),
                         QPointF(yAxisX + kTickLength / 2, y));
        const double width = metrics.horizontalAdvance(label);
        QRectF box(0, y - metrics.height() / 2, width, metrics.height());
        box.moveLeft(yLabelsRight ? yAxisX + kLabelOffset : yAxisX - kLabelOffset - width);
        if (box.top() < area.top() || box.bottom() > area.bottom() ||
            std::ranges::any_of(taken, [&](const QRectF& other) { return other.intersects(box); }))
            continue;
        painter.drawText(box, Qt::AlignCenter, label);
    }

    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor curveColor = palette.color(QPalette::Highlight);
    if (scene.curve) {
        QPen pen(curveColor, OnRaster(painter) ? 1 : kCurveWidth);
        pen.setCosmetic(OnRaster(painter));
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(curveColor);
        const QRectF box = area.adjusted(-kClipMargin, -kClipMargin, kClipMargin, kClipMargin);
        for (const CurvePiece& piece : scene.curve->pieces)
            PaintPiece(painter, map, piece, box);
    }
    if (scene.marker) {
        const QPointF at = map.ToPixel(scene.marker->x, scene.marker->y);
        painter.setPen(QPen(Faint(text, 0.5), 1, Qt::DashLine));
        painter.drawLine(QPointF(at.x(), area.top()), QPointF(at.x(), area.bottom()));
        painter.drawLine(QPointF(area.left(), at.y()), QPointF(area.right(), at.y()));
        painter.setPen(QPen(text, 1));
        painter.setBrush(palette.color(QPalette::Base));
        painter.drawEllipse(at, kMarkerDiameter / 2, kMarkerDiameter / 2);
    }
    painter.restore();
}
