#include "NaturalFormDrawer.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <new>

#include "NaturalForm.h"

NaturalFormDrawer::NaturalFormDrawer(int width, QObject* parent) : QObject(parent), m_width(width) {
    // One drawing at a time: a stale one stops at its next line, and two
    // big ones never hold their memory at once.
    m_pool.setMaxThreadCount(1);
}

NaturalFormDrawer::~NaturalFormDrawer() {
    if (m_pending)
        m_pending->cancelled->store(true);
    m_pool.waitForDone();
}

void NaturalFormDrawer::Draw(std::shared_ptr<const ExpressionTree> tree, std::string tooLargeNote) {
    Cancel();
    const quint64 generation = ++m_requested;
    if (tree && NaturalForm::IsSurelyTooLarge(*tree)) {
        // Measuring a tree that big would take a second or more only to
        // come to the same note.
        emit Drawn(std::make_shared<const NaturalFormDrawing>(std::move(tooLargeNote)));
        return;
    }
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    QFuture<Result> future = QtConcurrent::run(
        &m_pool,
        [form = std::make_unique<NaturalForm>(std::move(tree)), note = std::move(tooLargeNote),
         cancelled, width = m_width]() mutable -> Result {
            if (cancelled->load())
                return nullptr;
            Result drawing;
            try {
                drawing = NaturalFormDrawing::Draw(*form, width, note, *cancelled);
            } catch (const std::bad_alloc&) {
                // Not even the note fitted: the box shows nothing.
            }
            // The tree goes here, off the window's thread, unless the window
            // still holds it.
            form.reset();
            return drawing;
        });
    auto* watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        Deliver(generation);
    });
    watcher->setFuture(future);
    m_pending = Job{generation, std::move(future), std::move(cancelled)};
}

void NaturalFormDrawer::Finish() {
    if (!m_pending)
        return;
    m_pending->future.waitForFinished();
    Deliver(m_pending->generation);
}

void NaturalFormDrawer::Cancel() {
    if (m_pending)
        m_pending->cancelled->store(true);
    m_pending.reset();
}

void NaturalFormDrawer::Deliver(quint64 generation) {
    // A drawing asked for before the last one, or delivered already by
    // Finish, is dropped.
    if (!m_pending || m_pending->generation != generation)
        return;
    Result drawing = m_pending->future.result();
    m_pending.reset();
    emit Drawn(std::move(drawing));
}
