// The graph window following the main window's expression, measured on the
// real windows with real key events (run with QT_QPA_PLATFORM=offscreen),
// the graph 1,000 pixels wide:
//
// - edit -> curve repainted: from a key in the expression box to the
//   moment the graph has painted the curve of the new expression (for a
//   long one first a sketch, then the whole), for an expression of 200
//   characters and a pasted one of 10,000; the longest the key itself
//   holds the window's thread, and the longest the window's thread stays
//   away from its event loop at a time between the key and the curve;
// - pan and zoom: from an arrow key or a wheel notch to the frame painted
//   (the old curve in the new range), and to the new curve painted.
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "CalcDlg.h"
#include "ExpressionEdit.h"
#include "GraphPlotter.h"
#include "GraphView.h"
#include "GraphWindow.h"
#include "WindowBenchSupport.h"

namespace {

constexpr int kEdits = 200;
constexpr int kFrames = 200;
constexpr int kGraphWidth = 1000;

// Runs the event loop until `done` holds; false after `limitMs`. It waits
// for events rather than spinning, so that the curve's thread has the
// other core to itself.
bool SpinUntil(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer waited;
    waited.start();
    QTimer wakeUp;
    wakeUp.start(10);
    while (!done()) {
        if (waited.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// How long the window's thread stays away from its event loop at a time:
// a timer due every millisecond notes how late it comes back.
class LoopStalls : public QObject {
  public:
    LoopStalls() {
        m_clock.start();
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] { Note(); });
        m_timer.start(1);
    }
    void Restart() {
        m_last = Milliseconds(m_clock);
        m_longest = 0;
    }
    double Longest() {
        Note();
        return m_longest;
    }

  private:
    void Note() {
        const double now = Milliseconds(m_clock);
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }

    QElapsedTimer m_clock;
    QTimer m_timer;
    double m_last = 0;
    double m_longest = 0;
};

void PrintTimes(const char* what, const std::vector<double>& times) {
    std::printf("%-46s n %4zu  median %7.2f ms  p99 %7.2f ms  max %7.2f ms\n", what, times.size(),
                Percentile(times, 0.5), Percentile(times, 0.99), Percentile(times, 1.0));
}

// A smooth sum of calls, powers and quotients about `length` characters.
QString SmoothExpression(int length) {
    const QString term = QStringLiteral("sin(x)*0.5+x^2/70-cos(x/3)*2+");
    QString text;
    while (text.size() + term.size() < length)
        text += term;
    while (text.size() + 3 < length)
        text += QStringLiteral("0+");
    return text + QStringLiteral("1");
}

struct Windows {
    CalcDlg dialog;
    ExpressionEdit* expression = nullptr;
    GraphWindow* graph = nullptr;
    GraphView* view = nullptr;

    Windows() {
        dialog.show();
        (void)QTest::qWaitForWindowExposed(&dialog);
        expression = dialog.findChild<ExpressionEdit*>(QStringLiteral("expressionEdit"));
        expression->setFocus();
        QTest::keyClick(expression, Qt::Key_F5);
        graph = dialog.findChild<GraphWindow*>();
        view = graph->findChild<GraphView*>();
        graph->resize(graph->width() + kGraphWidth - view->width(), graph->height());
        (void)QTest::qWaitForWindowExposed(graph);
        SpinUntil([&] { return view->width() == kGraphWidth && !graph->IsBusy(); }, 5000);
    }

    // Waits until the graph has painted a curve of the box's text: the
    // first (for a long expression a sketch), or the whole.
    bool CurvePainted(const PaintCounter& paints, int paintsBefore, bool whole) {
        const std::string expected = expression->text().toStdString();
        return SpinUntil(
            [&] {
                const GraphAnswer* answer = view->Answer();
                return answer && answer->expression == expected && (!whole || !graph->IsBusy()) &&
                       paints.Count() > paintsBefore;
            },
            10'000);
    }
};

// Keys that change the expression's last term and back (a 2 after its
// last digit, then Backspace), so that every key gives a new curve.
void MeasureEdits(Windows& windows, const char* what, const QString& start) {
    QGuiApplication::clipboard()->setText(start);
    windows.expression->selectAll();
    QTest::keyClick(windows.expression, Qt::Key_V, Qt::ControlModifier);
    PaintCounter paints(windows.view);
    windows.CurvePainted(paints, 0, true);
    QGuiApplication::clipboard()->setText(QStringLiteral("2"));
    std::vector<double> toFirst;
    std::vector<double> toCurve;
    std::vector<double> held;
    std::vector<double> stalls;
    LoopStalls loop;
    for (int i = 0; i < kEdits; ++i) {
        const int before = paints.Count();
        QElapsedTimer timer;
        timer.start();
        // A digit is pasted: the box takes no typed character beyond its
        // room, as the long expression is.
        if (i % 2 == 0)
            QTest::keyClick(windows.expression, Qt::Key_V, Qt::ControlModifier);
        else
            QTest::keyClick(windows.expression, Qt::Key_Backspace);
        held.push_back(Milliseconds(timer));
        loop.Restart();
        if (!windows.CurvePainted(paints, before, false))
            std::fprintf(stderr, "no curve after edit %d\n", i);
        toFirst.push_back(Milliseconds(timer));
        windows.CurvePainted(paints, before, true);
        toCurve.push_back(Milliseconds(timer));
        stalls.push_back(loop.Longest());
    }
    std::printf("%s (%lld characters)\n", what, static_cast<long long>(start.size()));
    PrintTimes("  edit -> first curve repainted", toFirst);
    PrintTimes("  edit -> whole curve repainted", toCurve);
    PrintTimes("  the key holding the window's thread", held);
    PrintTimes("  then the window's thread held at once, longest", stalls);
}

void MeasureFrames(Windows& windows, const char* what, const std::function<void(int)>& move) {
    PaintCounter paints(windows.view);
    std::vector<double> frames;
    std::vector<double> curves;
    for (int i = 0; i < kFrames; ++i) {
        const int before = paints.Count();
        QElapsedTimer timer;
        timer.start();
        move(i);
        windows.view->repaint();
        frames.push_back(Milliseconds(timer));
        SpinUntil([&] { return !windows.graph->IsBusy() && paints.Count() > before + 1; }, 10'000);
        curves.push_back(Milliseconds(timer));
    }
    std::printf("%s\n", what);
    PrintTimes("  frame painted (the curve there was)", frames);
    PrintTimes("  new curve painted", curves);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Windows windows;
    MeasureEdits(windows, "typed expression", SmoothExpression(200));
    MeasureFrames(windows, "pan with arrows", [&](int i) {
        QTest::keyClick(windows.view, i % 2 ? Qt::Key_Left : Qt::Key_Right);
    });
    MeasureFrames(windows, "zoom with the wheel", [&](int i) {
        const QPointF at(kGraphWidth / 3.0, windows.view->height() / 2.0);
        QWheelEvent wheel(at, windows.view->mapToGlobal(at), QPoint(),
                          QPoint(0, i % 2 ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(windows.view, &wheel);
    });
    MeasureEdits(windows, "pasted expression", SmoothExpression(10'000));
    return 0;
}
