#pragma once

#include <QFuture>
#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "NaturalFormDrawing.h"

class ExpressionTree;

// Draws natural forms on a thread of its own, one at a time, and hands the
// drawing asked for last to the window's thread; a drawing asked for
// earlier is dropped, and stopped if it is under way.
//
// Each job owns everything it reads: a share of the tree, which nobody
// changes, and its own copy of the note; the engine and the drawing code
// keep no state besides. The only thing it shares is its atomic
// "cancelled" flag, and its drawing, which nobody writes once made.
class NaturalFormDrawer : public QObject {
    Q_OBJECT
  public:
    // Drawings are cut for `width` columns.
    explicit NaturalFormDrawer(int width, QObject* parent = nullptr);
    ~NaturalFormDrawer() override;

    // Starts drawing the natural form of `tree`; a drawing too large to
    // make becomes `tooLargeNote`'s line. One the parser's count already
    // tells too large is not started: the note is delivered at once.
    void Draw(std::shared_ptr<const ExpressionTree> tree, std::string tooLargeNote);
    // Waits for the drawing asked for last, if any, and delivers it now.
    void Finish();
    // Stops the drawing asked for last, if any: nothing is delivered.
    void Cancel();
    bool IsDrawing() const { return m_pending.has_value(); }

  signals:
    // The drawing asked for last; null if memory ran out for it.
    void Drawn(std::shared_ptr<const NaturalFormDrawing> drawing);

  private:
    using Result = std::shared_ptr<const NaturalFormDrawing>;
    struct Job {
        quint64 generation;
        QFuture<Result> future;
        std::shared_ptr<std::atomic<bool>> cancelled;
    };
    void Deliver(quint64 generation);

    int m_width;
    QThreadPool m_pool;
    quint64 m_requested = 0;
    std::optional<Job> m_pending;
};
