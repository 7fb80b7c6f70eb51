#include "GraphView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <limits>

#include "GraphPlotter.h"

namespace {

// A wheel's notch, and a press of + or -, zoom by this much.
constexpr double kZoomStep = 0.8;
// An arrow pans by this part of the view.
constexpr double kPanStep = 0.1;
// A range narrower than this many of its doubles cannot be drawn apart.
constexpr double kNarrowest = 1e3 * std::numeric_limits<double>::epsilon();
constexpr double kWidest = 1e200;
// A drag shorter than this is a click.
constexpr int kDragStart = 2;

bool Drawable(double low, double high) {
    const double span = high - low;
    const double size = std::max({std::abs(low), std::abs(high), 1e-300});
    return std::isfinite(span) && span < kWidest && span > kNarrowest * size;
}

}  // namespace

GraphView::GraphView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

GraphView::~GraphView() = default;

QSize GraphView::sizeHint() const {
    return {600, 400};
}

QSize GraphView::minimumSizeHint() const {
    return {160, 120};
}

void GraphView::SetAnswer(std::shared_ptr<const GraphAnswer> answer) {
    m_answer = std::move(answer);
    update();
    emit MarkerMoved();
}

void GraphView::SetXRange(double low, double high) {
    if (!Drawable(low, high))
        return;
    m_xLow = low;
    m_xHigh = high;
    m_fixedY.reset();
    update();
    emit ViewChanged();
}

ValueRange GraphView::ShownYRange() const {
    if (m_fixedY)
        return *m_fixedY;
    if (m_answer && !m_answer->variable.empty())
        return m_answer->curve.yRange;
    return {-1, 1};
}

void GraphView::Fit() {
    m_fixedY.reset();
    update();
    emit ViewChanged();
}

GraphMapping GraphView::Mapping() const {
    return GraphMapping(QRectF(rect()), m_xLow, m_xHigh, ShownYRange());
}

void GraphView::SetRange(double xLow, double xHigh, const ValueRange& y) {
    if (!Drawable(xLow, xHigh) || !Drawable(y.low, y.high))
        return;
    m_xLow = xLow;
    m_xHigh = xHigh;
    m_fixedY = y;
    update();
    emit ViewChanged();
}

void GraphView::ZoomAbout(double factor, QPointF pixel) {
    const GraphMapping map = Mapping();
    const double x = map.XAt(pixel.x());
    const double y = map.YAt(pixel.y());
    const ValueRange shown = ShownYRange();
    SetRange(x + (m_xLow - x) * factor, x + (m_xHigh - x) * factor,
             {y + (shown.low - y) * factor, y + (shown.high - y) * factor});
}

void GraphView::PanBy(QPointF pixels) {
    const GraphMapping map = Mapping();
    const double dx = map.XAt(pixels.x()) - map.XAt(0);
    const double dy = map.YAt(pixels.y()) - map.YAt(0);
    const ValueRange shown = ShownYRange();
    SetRange(m_xLow + dx, m_xHigh + dx, {shown.low + dy, shown.high + dy});
}

std::optional<CurvePoint> GraphView::PointNear(double x) const {
    if (!m_answer || width() <= 0)
        return std::nullopt;
    const double halfColumn = (m_xHigh - m_xLow) / width() / 2;
    std::optional<CurvePoint> nearest;
    for (const CurvePiece& piece : m_answer->curve.pieces) {
        if (piece.empty() || piece.back().x < x - halfColumn || piece.front().x > x + halfColumn)
            continue;
        auto at = std::ranges::lower_bound(piece, x, {}, &CurvePoint::x);
        for (auto candidate : {at, at == piece.begin() ? at : at - 1}) {
            if (candidate == piece.end() || std::abs(candidate->x - x) > halfColumn)
                continue;
            if (!nearest || std::abs(candidate->x - x) < std::abs(nearest->x - x))
                nearest = *candidate;
        }
    }
    return nearest;
}

std::optional<CurvePoint> GraphView::Marker() const {
    return m_markerX ? PointNear(*m_markerX) : std::nullopt;
}

void GraphView::SetMarkerX(std::optional<double> x) {
    if (m_markerX == x)
        return;
    m_markerX = x;
    update();
    emit MarkerMoved();
}

void GraphView::Trace(int direction) {
    if (!m_answer || width() <= 0)
        return;
    const double column = (m_xHigh - m_xLow) / width();
    const double from = m_markerX.value_or((m_xLow + m_xHigh) / 2);
    // The first step from nowhere lands on the middle of the view.
    const double beyond = m_markerX ? from + direction * column / 2 : from - direction * column;
    std::optional<double> next;
    for (const CurvePiece& piece : m_answer->curve.pieces) {
        for (const CurvePoint& point : piece) {
            const bool ahead = direction > 0 ? point.x > beyond : point.x < beyond;
            if (ahead && (!next || std::abs(point.x - beyond) < std::abs(*next - beyond)))
                next = point.x;
        }
    }
    if (!next)
        return;
    // The view follows the trace out of it.
    if (*next < m_xLow || *next > m_xHigh) {
        const double shift = *next < m_xLow ? *next - m_xLow - (m_xHigh - m_xLow) * kPanStep
                                            : *next - m_xHigh + (m_xHigh - m_xLow) * kPanStep;
        SetRange(m_xLow + shift, m_xHigh + shift, ShownYRange());
    }
    SetMarkerX(next);
}

GraphScene GraphView::Scene() const {
    GraphScene scene;
    scene.xLow = m_xLow;
    scene.xHigh = m_xHigh;
    scene.y = ShownYRange();
    if (m_answer && !m_answer->variable.empty())
        scene.curve = &m_answer->curve;
    return scene;
}

void GraphView::Render(QPainter& painter, const QRectF& area) const {
    PaintGraph(painter, area, Scene(), palette(), font());
}

void GraphView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    GraphScene scene = Scene();
    scene.marker = Marker();
    PaintGraph(painter, QRectF(rect()), scene, palette(), font());
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void GraphView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit ViewChanged();
}

void GraphView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    ZoomAbout(std::pow(kZoomStep, notches), event->position());
    event->accept();
}

void GraphView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragFrom = event->position();
    m_dragXLow = m_xLow;
    m_dragXHigh = m_xHigh;
    m_dragY = ShownYRange();
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragFrom && (event->buttons() & Qt::LeftButton)) {
        const QPointF moved = *m_dragFrom - event->position();
        if (moved.manhattanLength() < kDragStart && m_xLow == m_dragXLow)
            return;
        // Measured from where the drag began, so that rounding never adds up.
        const GraphMapping map(QRectF(rect()), m_dragXLow, m_dragXHigh, m_dragY);
        const double dx = map.XAt(moved.x()) - map.XAt(0);
        const double dy = map.YAt(moved.y()) - map.YAt(0);
        SetRange(m_dragXLow + dx, m_dragXHigh + dx, {m_dragY.low + dy, m_dragY.high + dy});
    }
    SetMarkerX(Mapping().XAt(event->position().x()));
}

void GraphView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragFrom.reset();
    QWidget::mouseReleaseEvent(event);
}

void GraphView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Fit();
}

void GraphView::leaveEvent(QEvent* event) {
    if (!m_dragFrom)
        SetMarkerX(std::nullopt);
    QWidget::leaveEvent(event);
}

void GraphView::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const QPointF middle = QRectF(rect()).center();
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const int direction = event->key() == Qt::Key_Left ? -1 : 1;
            if (shift)
                Trace(direction);
            else
                PanBy({direction * kPanStep * width(), 0});
            return;
        }
        case Qt::Key_Up:
        case Qt::Key_Down:
            PanBy({0, (event->key() == Qt::Key_Up ? -1 : 1) * kPanStep * height()});
            return;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
        case Qt::Key_Minus: {
            // About the trace where there is one.
            QPointF about = middle;
            if (const auto marker = Marker())
                about = Mapping().ToPixel(marker->x, marker->y);
            ZoomAbout(event->key() == Qt::Key_Minus ? 1 / kZoomStep : kZoomStep, about);
            return;
        }
        case Qt::Key_Home:
            Fit();
            return;
        case Qt::Key_Escape:
            if (m_markerX) {
                SetMarkerX(std::nullopt);
                return;
            }
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}
