#pragma once

#include <QFuture>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "ExpException.h"
#include "VarTable.h"

class ExpressionTree;
class SharedVariables;

// What the compute command came to: a value with the tree it was computed
// from, the engine's error, or no memory to compute it in.
struct CommitOutcome {
    // The text computed: the expression without its blanks, in the
    // engine's bytes, which an error message quotes.
    std::string expression;
    std::optional<double> value;
    std::shared_ptr<const ExpressionTree> tree;
    std::optional<ExpException> error;
    bool outOfMemory = false;
};

// Computes `text`, the expression box's text without blanks, as the
// compute command does. Reads nothing but its arguments, so any thread may
// run it; once `cancel` is set, gives up with ExpCancelled.
CommitOutcome ComputeCommit(const QString& text, const VarTable& variables,
                            const std::atomic<bool>* cancel = nullptr);

// Runs the compute command's computations, one at a time: a short text at
// once, a long one on a thread of its own, so that the window answers
// while it is computed. A computation cancelled stops within a few
// thousand steps of the engine and reports nothing.
//
// A job owns what it reads: the text, shared copy-on-write, and a snapshot
// of the variables nobody changes. It shares only its "cancelled" flag, and hands
// its outcome, the tree included, to the window's thread.
class CommitComputation : public QObject {
    Q_OBJECT
  public:
    // A text up to this long is computed on the window's thread before
    // Start returns: a few milliseconds.
    static constexpr qsizetype kComputedAtOnce = qsizetype{256} << 10;

    explicit CommitComputation(QObject* parent = nullptr);
    // Stops a computation under way and waits for its thread.
    ~CommitComputation() override;

    // Computes `text` with `variables`; Computed tells the outcome.
    // Nothing starts while an earlier computation is under way.
    void Start(const QString& text, SharedVariables& variables);
    // Stops the computation under way, if any: it reports nothing.
    void Cancel();
    bool IsRunning() const { return m_running.has_value(); }
    // Waits until the thread has ended every computation started, those
    // cancelled included; what is still to be reported comes through the
    // event loop.
    void WaitForDone();

  signals:
    void Computed(const CommitOutcome& outcome);

  private:
    // Null for a computation that was cancelled.
    using Result = std::shared_ptr<CommitOutcome>;
    struct Job {
        quint64 generation;
        std::shared_ptr<std::atomic<bool>> cancelled;
    };
    void Deliver(quint64 generation, const Result& outcome);

    QThreadPool m_pool;
    quint64 m_started = 0;
    std::optional<Job> m_running;
};
