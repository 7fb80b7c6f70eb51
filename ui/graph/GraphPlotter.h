#pragma once

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AxisTicks.h"
#include "CurveSampler.h"
#include "ExpException.h"
#include "ValueTable.h"
#include "VarTable.h"

// What the graph window asks for: the main window's expression and grid as
// they stand, the variable the user picked, and the view to fill.
struct GraphQuestion {
    std::string expression;  // without blanks, the engine's UTF-8
    VarTable variables;
    std::string pickedVariable;  // empty: none picked
    SampleRequest sample;        // its cancel flag is the plotter's
    std::vector<AxisTick> xTicks;
};

// What it comes to. Nothing is drawn when `variable` is empty; the other
// members then say why.
struct GraphAnswer {
    std::string expression;
    std::string variable;
    // The names the expression reads that the grid does not define, and
    // those it does: the variables the user may pick from.
    std::vector<std::string> undefinedNames;
    std::vector<std::string> gridNames;
    std::optional<ExpException> parseError;
    bool outOfMemory = false;
    double xLow = 0;
    double xHigh = 0;
    SampledCurve curve;
    std::vector<ValueRow> rows;
};

// Answers `question` on the calling thread: parses the expression, chooses
// its variable, samples the curve and computes the table of values.
GraphAnswer AnswerGraphQuestion(const GraphQuestion& question);

// Answers questions on a thread of its own, one at a time. A question
// cancels every earlier one (a curve being sampled stops at its next pixel
// column) and only the latest is ever answered: for a long expression
// first with a sketch of its curve, then with the whole.
class GraphPlotter : public QObject {
    Q_OBJECT
  public:
    explicit GraphPlotter(QObject* parent = nullptr);
    ~GraphPlotter() override;

    void Ask(GraphQuestion question);
    void Cancel();
    // Whether the latest question's whole answer is still to come.
    bool IsBusy() const { return m_busy; }

  signals:
    void Answered(const std::shared_ptr<const GraphAnswer>& answer);

  private:
    QThreadPool m_pool;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    quint64 m_generation = 0;
    bool m_busy = false;
};
