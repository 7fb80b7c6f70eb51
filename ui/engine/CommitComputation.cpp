#include "CommitComputation.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <new>
#include <utility>

#include "ExpCancelled.h"
#include "ExpCompute.h"
#include "SharedVariables.h"
#include "UiText.h"

CommitOutcome ComputeCommit(const QString& text, const VarTable& variables,
                            const std::atomic<bool>* cancel) {
    CommitOutcome outcome;
    try {
        outcome.expression = ToEngineText(text);
        ComputedExpression computed = ComputeExpressionTree(outcome.expression, variables, cancel);
        outcome.value = computed.value;
        outcome.tree = std::move(computed.tree);
    } catch (const ExpException& error) {
        outcome.error = error;
    } catch (const std::bad_alloc&) {
        // Everything the computation built is freed by now.
        outcome.outOfMemory = true;
    }
    return outcome;
}

CommitComputation::CommitComputation(QObject* parent) : QObject(parent) {
    // One at a time: a cancelled computation gives back its memory before
    // the next one takes more.
    m_pool.setMaxThreadCount(1);
}

CommitComputation::~CommitComputation() {
    Cancel();
    WaitForDone();
}

void CommitComputation::Start(const QString& text, SharedVariables& variables) {
    if (IsRunning())
        return;
    if (text.size() <= kComputedAtOnce) {
        emit Computed(ComputeCommit(text, variables.Table()));
        return;
    }
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    const quint64 generation = ++m_started;
    // Made here, so that running out of memory on the thread still has an
    // outcome to report.
    auto outcome = std::make_shared<CommitOutcome>();
    QFuture<Result> future = QtConcurrent::run(
        &m_pool, [text, variables = variables.Snapshot(), cancelled, outcome]() -> Result {
            try {
                *outcome = ComputeCommit(text, *variables, cancelled.get());
            } catch (const ExpCancelled&) {
                return nullptr;
            } catch (const std::bad_alloc&) {
                *outcome = CommitOutcome();
                outcome->outOfMemory = true;
            }
            return outcome;
        });
    auto* watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        Deliver(generation, watcher->result());
    });
    watcher->setFuture(future);
    m_running = Job{generation, std::move(cancelled)};
}

void CommitComputation::Cancel() {
    if (m_running)
        m_running->cancelled->store(true, std::memory_order_relaxed);
    m_running.reset();
}

void CommitComputation::WaitForDone() {
    m_pool.waitForDone();
}

void CommitComputation::Deliver(quint64 generation, const Result& outcome) {
    // A computation cancelled since reports nothing, even if it ended
    // before it saw its flag.
    if (!m_running || m_running->generation != generation)
        return;
    m_running.reset();
    if (outcome)
        emit Computed(*outcome);
}
