#pragma once

#include <QFont>
#include <QPalette>
#include <QPointF>
#include <QRectF>
#include <optional>
#include <vector>

#include "AxisTicks.h"
#include "CurveSampler.h"
#include "YRangeFit.h"

// Where the graph's values land in a rectangle of pixels, and back.
class GraphMapping {
  public:
    GraphMapping(const QRectF& area, double xLow, double xHigh, const ValueRange& y);

    QPointF ToPixel(double x, double y) const;
    double XAt(double pixelX) const;
    double YAt(double pixelY) const;
    const QRectF& Area() const { return m_area; }

  private:
    QRectF m_area;
    double m_xLow;
    double m_yLow;
    double m_xScale;  // pixels per unit
    double m_yScale;
};

// The ticks of the x axis over `width` pixels, their labels in `font`: the
// graph's and the table of values', which must agree.
std::vector<AxisTick> XAxisTicks(double xLow, double xHigh, double width, const QFont& font);

// What one picture of the graph shows.
struct GraphScene {
    double xLow = -10;
    double xHigh = 10;
    ValueRange y{-1, 1};
    const SampledCurve* curve = nullptr;  // none: axes alone
    // The point the crosshair or the keyboard's trace stands on.
    std::optional<CurvePoint> marker;
};

// Paints `scene` into `area`: the background, a light grid at the ticks,
// the axes through zero where zero is in view (else along the edges), the
// tick labels, the curve's pieces each on its own, and the marker, all in
// the colours of `palette`.
void PaintGraph(QPainter& painter, const QRectF& area, const GraphScene& scene,
                const QPalette& palette, const QFont& font);
