#include "GraphPlotter.h"

#include <QFutureWatcher>
#include <QPromise>
#include <QThread>
#include <QtConcurrent>
#include <algorithm>
#include <new>

#include "ExpParser.h"
#include "PlotFunction.h"
#include "PlotVariable.h"

namespace {

// The variable to draw over: the one name the grid does not define;
// failing that, with every name defined, the one the user picked or else
// the first the expression reads.
std::string ChosenVariable(const GraphAnswer& answer, const std::string& picked) {
    if (answer.undefinedNames.size() == 1)
        return answer.undefinedNames.front();
    if (!answer.undefinedNames.empty() || answer.gridNames.empty())
        return {};
    if (std::ranges::find(answer.gridNames, picked) != answer.gridNames.end())
        return picked;
    return answer.gridNames.front();
}

using Result = std::shared_ptr<const GraphAnswer>;

// The whole curve of an expression this long takes about a frame on a quiet
// machine and several on a busy one: it is sketched first from a value
// every few pixel columns, then drawn whole.
constexpr std::size_t kSketchedFirst = 8000;
constexpr int kColumnsASketchSkips = 4;
// Above this many characters the values at the columns' edges are computed
// on two threads: they are most of the wait, and the window's own work
// needs a core only for moments. Below it a curve is ready within a frame.
constexpr std::size_t kSharedAbove = 1000;
constexpr int kSharingThreads = 2;

// The answer to `question`, handed to `promise`; none once cancelled.
Result Answer(QPromise<Result>& promise, const GraphQuestion& question,
              const std::atomic<bool>& cancelled) {
    if (cancelled)
        return nullptr;
    auto answer = std::make_shared<GraphAnswer>(AnswerGraphQuestion(question));
    if (cancelled || !answer->curve.complete)
        return nullptr;
    promise.addResult(answer);
    return answer;
}

}  // namespace

GraphAnswer AnswerGraphQuestion(const GraphQuestion& question) {
    GraphAnswer answer;
    answer.expression = question.expression;
    answer.xLow = question.sample.xLow;
    answer.xHigh = question.sample.xHigh;
    if (question.expression.empty())
        return answer;
    try {
        const std::unique_ptr<ExpressionTree> tree = ExpParser(question.expression).Parse();
        answer.undefinedNames = UndefinedNames(*tree, question.variables);
        for (std::string& name : NamesRead(*tree)) {
            if (std::ranges::find(answer.undefinedNames, name) == answer.undefinedNames.end())
                answer.gridNames.push_back(std::move(name));
        }
        answer.variable = ChosenVariable(answer, question.pickedVariable);
        if (answer.variable.empty())
            return answer;
        PlotFunction function(question.expression, answer.variable, question.variables);
        answer.curve = SampleCurve(function, question.sample);
        if (answer.curve.complete)
            answer.rows = TableOfValues(function, question.xTicks);
    } catch (const ExpException& error) {
        answer.parseError = error;
        answer.variable.clear();
    } catch (const std::bad_alloc&) {
        answer = GraphAnswer{};
        answer.expression = question.expression;
        answer.outOfMemory = true;
    }
    return answer;
}

GraphPlotter::GraphPlotter(QObject* parent) : QObject(parent) {
    // One curve at a time: a cancelled one gives its thread up at once, and
    // the window's thread keeps the other core.
    m_pool.setMaxThreadCount(1);
}

GraphPlotter::~GraphPlotter() {
    Cancel();
    m_pool.waitForDone();
}

void GraphPlotter::Cancel() {
    if (m_cancelled)
        *m_cancelled = true;
    m_cancelled.reset();
    ++m_generation;
    m_busy = false;
}

void GraphPlotter::Ask(GraphQuestion question) {
    Cancel();
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    m_cancelled = cancelled;
    question.sample.cancelled = cancelled.get();
    if (question.expression.size() > kSharedAbove)
        question.sample.threads = std::clamp(QThread::idealThreadCount(), 1, kSharingThreads);
    const quint64 generation = m_generation;
    m_busy = true;
    // The job owns its question and its flag: the window may change both,
    // or be gone, before it ends.
    QFuture<Result> future = QtConcurrent::run(
        &m_pool, [question = std::move(question), cancelled](QPromise<Result>& promise) {
            try {
                if (question.expression.size() > kSketchedFirst &&
                    question.sample.pixelWidth > kColumnsASketchSkips) {
                    GraphQuestion sketch = question;
                    sketch.sample.pixelWidth /= kColumnsASketchSkips;
                    const Result sketched = Answer(promise, sketch, *cancelled);
                    // An expression that draws nothing says so once.
                    if (!sketched || sketched->variable.empty())
                        return;
                }
                Answer(promise, question, *cancelled);
            } catch (const std::bad_alloc&) {
                // No room even for the answer: the last curve stays.
            }
        });
    auto* watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcher<Result>::resultReadyAt, this,
            [this, watcher, generation](int index) {
                if (generation == m_generation)
                    emit Answered(watcher->resultAt(index));
            });
    connect(watcher, &QFutureWatcher<Result>::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (generation == m_generation)
            m_busy = false;
    });
    watcher->setFuture(std::move(future));
}
