#pragma once

#include <QPointF>
#include <QWidget>
#include <memory>
#include <optional>

#include "CurveSampler.h"
#include "GraphPicture.h"

struct GraphAnswer;

// The graph itself: the latest curve over the view's range, which the
// mouse and the keyboard move. The wheel zooms about the pointer, dragging
// pans, a double click or Home fits y to the curve again; arrows pan, + and
// - zoom, Shift+Left and Shift+Right trace the curve. A crosshair follows
// the pointer. Every change of the range asks for the curve anew
// (ViewChanged); until it comes, the one there is drawn in the new range.
class GraphView : public QWidget {
    Q_OBJECT
  public:
    explicit GraphView(QWidget* parent = nullptr);
    ~GraphView() override;

    void SetAnswer(std::shared_ptr<const GraphAnswer> answer);
    const GraphAnswer* Answer() const { return m_answer.get(); }

    double XLow() const { return m_xLow; }
    double XHigh() const { return m_xHigh; }
    // A new range of x, with y fitted to the curve in it.
    void SetXRange(double low, double high);
    // The y range shown: the one panning or zooming left, else the curve's.
    ValueRange ShownYRange() const;
    // Fixed by panning or zooming; none while y follows the curve.
    std::optional<ValueRange> FixedYRange() const { return m_fixedY; }
    // y fits the curve again.
    void Fit();

    // The point the crosshair or the trace stands on.
    std::optional<CurvePoint> Marker() const;
    // The graph as the window shows it, without the crosshair.
    void Render(QPainter& painter, const QRectF& area) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    // The range or the size changed: the curve is to be sampled again.
    void ViewChanged();
    void MarkerMoved();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    GraphMapping Mapping() const;
    // The range and the curve, without the crosshair.
    GraphScene Scene() const;
    // Sets the range shown, y fixed, when it is one a double can tell apart.
    void SetRange(double xLow, double xHigh, const ValueRange& y);
    void ZoomAbout(double factor, QPointF pixel);
    void PanBy(QPointF pixels);
    // Moves the trace to the next sampled point at least a column away.
    void Trace(int direction);
    // The sampled point nearest to x, within half a pixel column.
    std::optional<CurvePoint> PointNear(double x) const;
    void SetMarkerX(std::optional<double> x);

    std::shared_ptr<const GraphAnswer> m_answer;
    double m_xLow = -10;
    double m_xHigh = 10;
    std::optional<ValueRange> m_fixedY;
    // Where a drag started, and the range then.
    std::optional<QPointF> m_dragFrom;
    double m_dragXLow = 0;
    double m_dragXHigh = 0;
    ValueRange m_dragY;
    // The x of the crosshair or the trace.
    std::optional<double> m_markerX;
};
