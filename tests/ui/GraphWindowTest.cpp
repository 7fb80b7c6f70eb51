// The graph window following the main window's expression: each key redraws
// the curve and its description, a pole is never joined across, and the
// table of values names the error of a gap.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <optional>
#include <vector>

#include "CalcWindowTest.h"
#include "ExpressionEdit.h"
#include "GraphPicture.h"
#include "GraphPlotter.h"
#include "GraphView.h"
#include "GraphWindow.h"
#include "SessionTestSupport.h"
#include "UiTestSupport.h"

namespace {

class GraphWindowTest : public CalcWindowTest {
  protected:
    ExpressionEdit* Expr() const {
        return ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit");
    }
    GraphView* View() const { return ControlNamed<GraphView>(m_graph, "graphView"); }

    // F5 in the main window opens the graph.
    void OpenGraph() {
        QTest::keyClick(Expr(), Qt::Key_F5);
        m_graph = m_window->findChild<GraphWindow*>();
        ASSERT_NE(m_graph, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_graph));
        WaitForCurve();
    }
    void Type(const char* keys) {
        QTest::keyClicks(Expr(), QString::fromUtf8(keys));
        WaitForCurve();
    }
    void WaitForCurve() const {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !m_graph->IsBusy(); }, 10'000));
    }

    GraphWindow* m_graph = nullptr;
};

TEST_F(GraphWindowTest, EachKeyTypedRedrawsTheGraphAndItsDescription) {
    OpenGraph();
    const struct {
        const char* keys;
        const char* drawn;  // the expression the curve is of; "" for none
        const char* description;
    } steps[] = {
        {"1/x", "1/x", "y = 1/x，x 从 −10 到 10，y 从 "},
        {"+(", "", "表达式有误"},
        {"y)", "", "x、y 都未定义"},
        {"\b\b\b\b", "1/x", "y = 1/x，x 从 −10 到 10"},
        {"*sin(x)", "1/x*sin(x)", "y = 1/x*sin(x)，x 从 −10 到 10，y 从 "},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.keys);
        for (const char* key = step.keys; *key; ++key) {
            if (*key == '\b')
                QTest::keyClick(Expr(), Qt::Key_Backspace);
            else
                QTest::keyClick(Expr(), *key);
        }
        WaitForCurve();
        const GraphAnswer* answer = View()->Answer();
        ASSERT_NE(answer, nullptr);
        EXPECT_EQ(answer->variable.empty() ? "" : answer->expression, step.drawn);
        EXPECT_TRUE(View()->accessibleDescription().startsWith(QString::fromUtf8(step.description)))
            << View()->accessibleDescription().toStdString();
    }
}

TEST_F(GraphWindowTest, APastedLongExpressionIsLabelledInPartAndDescribedWhole) {
    OpenGraph();
    QString sum = QStringLiteral("x");
    while (sum.size() < 2000)
        sum += QStringLiteral("+x");
    QGuiApplication::clipboard()->setText(sum);
    QTest::keyClick(Expr(), Qt::Key_V, Qt::ControlModifier);
    WaitForCurve();
    const QString label = ControlNamed<QLabel>(m_graph, "graphStatus")->text();
    EXPECT_LT(label.size(), 600);
    EXPECT_TRUE(label.startsWith(QStringLiteral("y = x+x")));
    EXPECT_TRUE(label.contains(QStringLiteral("…，x 从 −10 到 10"))) << label.toStdString();
    EXPECT_TRUE(View()->accessibleDescription().startsWith(QStringLiteral("y = ") + sum +
                                                           QStringLiteral("，x 从 −10 到 10")));
}

// Where on a row of pixels the curve's colour shows: the grid, the axes and
// the labels are grey.
bool CurveColourIn(const QImage& image, int column) {
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixelColor(column, y).hsvSaturation() > 80)
            return true;
    }
    return false;
}

TEST_F(GraphWindowTest, APoleIsNotJoinedAcrossAndItsRowNamesTheError) {
    OpenGraph();
    Type("1/x");
    const QImage picture = m_graph->Picture().scaled(View()->size());
    const GraphMapping map(QRectF(View()->rect()), View()->XLow(), View()->XHigh(),
                           View()->ShownYRange());
    const int pole = static_cast<int>(map.ToPixel(0, 0).x());
    // The columns either side of x = 0 hold no curve; those at x = ±1 do.
    EXPECT_FALSE(CurveColourIn(picture, pole - 1));
    EXPECT_FALSE(CurveColourIn(picture, pole));
    EXPECT_TRUE(CurveColourIn(picture, static_cast<int>(map.ToPixel(1, 0).x())));
    EXPECT_TRUE(CurveColourIn(picture, static_cast<int>(map.ToPixel(-1, 0).x())));

    auto* table = ControlNamed<QTableView>(m_graph, "valueTable");
    const QAbstractItemModel* model = table->model();
    const struct {
        const char* x;
        const char* y;
    } rows[] = {{"0", "除数为零"}, {"10", "0.1"}, {"-10", "-0.1"}};
    for (const auto& expected : rows) {
        SCOPED_TRACE(expected.x);
        int found = -1;
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 0).data().toString() == QLatin1String(expected.x))
                found = row;
        }
        ASSERT_GE(found, 0);
        EXPECT_EQ(model->index(found, 1).data().toString(), QString::fromUtf8(expected.y));
    }

    // The table is the next stop after the graph.
    QApplication::setActiveWindow(m_graph);
    View()->setFocus();
    QTest::keyClick(View(), Qt::Key_Tab);
    EXPECT_TRUE(table->hasFocus());
}

TEST_F(GraphWindowTest, TheKeysPanZoomFitAndTraceWithoutMovingEachOther) {
    OpenGraph();
    Type("x^2");
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        double xLow;
        double xHigh;
        bool yFixed;
        std::optional<double> markerX;
    } steps[] = {
        {Qt::Key_Right, Qt::NoModifier, -8, 12, true, std::nullopt},
        {Qt::Key_Home, Qt::NoModifier, -8, 12, false, std::nullopt},
        // The trace starts in the middle and leaves the range alone.
        {Qt::Key_Right, Qt::ShiftModifier, -8, 12, false, 2},
        {Qt::Key_Minus, Qt::NoModifier, -10.5, 14.5, true, 2},
        {Qt::Key_Left, Qt::NoModifier, -13, 12, true, 2},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(QKeySequence(step.key | step.modifiers).toString().toStdString());
        QTest::keyClick(View(), step.key, step.modifiers);
        WaitForCurve();
        // The trace stands on a sampled point, within a pixel column of
        // where it aims, and zooming about it moves the range as much.
        const double column = (step.xHigh - step.xLow) / View()->width();
        EXPECT_NEAR(View()->XLow(), step.xLow, column);
        EXPECT_NEAR(View()->XHigh(), step.xHigh, column);
        EXPECT_EQ(View()->FixedYRange().has_value(), step.yFixed);
        const std::optional<CurvePoint> marker = View()->Marker();
        ASSERT_EQ(marker.has_value(), step.markerX.has_value());
        if (marker) {
            EXPECT_NEAR(marker->x, *step.markerX, column);
            EXPECT_DOUBLE_EQ(marker->y, marker->x * marker->x);
        }
    }
}

TEST(GraphWindowKeptTest, TheRangeLeftIsTheRangeTheGraphOpensWithNextTime) {
    const TemporaryXdgHome home;
    auto openGraph = [](CalcDlg& window) {
        window.findChild<QAction*>("graphAction")->trigger();
        return window.findChild<GraphWindow*>();
    };
    {
        CalcDlg window(nullptr, SessionUse::Kept);
        GraphWindow* graph = openGraph(window);
        ASSERT_NE(graph, nullptr);
        QSignalSpy kept(graph, &GraphWindow::XRangeChanged);
        graph->SetXRange(2, 5);
        ASSERT_TRUE(kept.wait(5000));
    }
    CalcDlg window(nullptr, SessionUse::Kept);
    const GraphView* view = ControlNamed<GraphView>(openGraph(window), "graphView");
    EXPECT_EQ(view->XLow(), 2);
    EXPECT_EQ(view->XHigh(), 5);
}

}  // namespace
