#pragma once
// What the benchmarks of the real windows share: counting a widget's
// paints, reading a timer in milliseconds, and the percentiles they report.

#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <algorithm>
#include <cstddef>
#include <vector>

// Counts the paints of a widget.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int Count() const { return m_count; }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++m_count;
        return false;
    }

  private:
    int m_count = 0;
};

inline double Milliseconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The value at `share` (0.5 the median, 1 the largest) of `values`.
inline double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1));
    return values[at];
}
