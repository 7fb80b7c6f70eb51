#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <string_view>

#include "VarTable.h"

class ExpException;
class ExpressionTree;
class SharedVariables;

// What the expression box's text comes to as it stands: a value, an error
// with its place, or nothing for an empty box.
struct LiveOutcome {
    // The value as the result box shows a result; empty without one.
    QString value;
    // The error's message, as the compute command's error box words it,
    // and the stretch of the box's text (its UTF-16 units) it marks.
    QString message;
    qsizetype markFrom = 0;
    qsizetype markTo = 0;
    // The expression as the engine read it, when it reads (its value may
    // still have failed): what the natural form draws. Shared, never
    // changed, so any thread may read it.
    std::shared_ptr<const ExpressionTree> tree;

    bool HasMark() const { return markFrom < markTo; }
};

// Computes `text` (the box's text, blanks and all) with `variables` as the
// compute command would, and says where an error stands in `text`. Reads
// nothing but its arguments, so any thread may run it. Once `cancel` is
// set, gives up with ExpCancelled.
LiveOutcome ComputeLive(const QString& text, const VarTable& variables,
                        const std::atomic<bool>* cancel = nullptr);
// What `error`, met computing `stripped` (`text` without its blanks, in
// the engine's bytes), comes to: its message and its place in `text`.
LiveOutcome ErrorOutcome(const QString& text, const ExpException& error, std::string_view stripped);

// Computes the expression box's text after each edit, without ever holding
// the typing up: a short text at once, a long one on a worker thread, one
// at a time. A request replaces every earlier one and stops a job still
// computing an earlier text; an answer to a text that has since changed is
// never reported.
//
// A job owns what it reads (the text, shared copy-on-write, and a snapshot
// of the variables nobody changes) and builds its own parser, tree and
// evaluator, and the engine keeps no state outside those objects: nothing
// a job touches is touched by the window or by another job.
class LiveComputation : public QObject {
    Q_OBJECT
  public:
    // A text up to this long is computed right away on the GUI thread: its
    // answer takes a small part of a frame, and shows with the key.
    static constexpr qsizetype kComputedAtOnce = 4096;

    explicit LiveComputation(QObject* parent = nullptr);
    ~LiveComputation() override;

    // The box now holds `text`.
    void Request(const QString& text, SharedVariables& variables);
    // Forgets every request and stops the job under way: nothing is
    // reported until the next request.
    void Cancel();
    // Whether an answer is still to come.
    bool IsBusy() const { return m_running || m_pending.has_value(); }

  signals:
    void Computed(const LiveOutcome& outcome);

  private:
    struct Job {
        QString text;
        std::shared_ptr<const VarTable> variables;
        quint64 generation = 0;
    };
    // What a worker reports back through; the window may be gone by then.
    struct Channel;

    void StartPending();
    void StopRunning();
    void Finish(quint64 generation, const LiveOutcome& outcome);

    std::shared_ptr<Channel> m_channel;
    std::optional<Job> m_pending;
    bool m_running = false;
    // Set to stop the job under way.
    std::shared_ptr<std::atomic<bool>> m_stopRunning;
    bool m_startQueued = false;
    // Counts the requests: an answer counts only for the latest.
    quint64 m_generation = 0;
};
