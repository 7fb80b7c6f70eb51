#include "LiveComputation.h"

#include <QThreadPool>
#include <mutex>
#include <new>
#include <string>

#include "EngineTexts.h"
#include "ExpCancelled.h"
#include "ExpCompute.h"
#include "ExpException.h"
#include "ExpParser.h"
#include "SharedVariables.h"
#include "UiText.h"

namespace {

// The characters the compute command strips before the engine reads.
bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

qsizetype CharacterLength(const QString& text, qsizetype at) {
    return at + 1 < text.size() && text.at(at).isHighSurrogate() && text.at(at + 1).isLowSurrogate()
               ? 2
               : 1;
}

// Where the character at byte `offset` of the stripped UTF-8 text stands
// in `text`, which still has its blanks; the text's length past the end.
qsizetype IndexOfStrippedByte(const QString& text, std::size_t offset) {
    std::size_t bytes = 0;
    for (qsizetype at = 0; at < text.size(); at += CharacterLength(text, at)) {
        const QChar c = text.at(at);
        if (IsBlank(c))
            continue;
        if (bytes >= offset)
            return at;
        const char16_t unit = c.unicode();
        bytes += unit < 0x80 ? 1 : unit < 0x800 ? 2 : CharacterLength(text, at) == 2 ? 4 : 3;
    }
    return text.size();
}

// The character an error at `at` marks: the one there, or for an error at
// the end (something missing) the last one written.
std::pair<qsizetype, qsizetype> MarkedCharacter(const QString& text, qsizetype at) {
    if (at >= text.size()) {
        at = text.size();
        while (at > 0 && IsBlank(text.at(at - 1)))
            --at;
        if (at == 0)
            return {0, 0};
        --at;
        if (at > 0 && text.at(at).isLowSurrogate() && text.at(at - 1).isHighSurrogate())
            --at;
    }
    return {at, at + CharacterLength(text, at)};
}

// The tree of a text whose value failed, for the natural form to show how
// it was read; none for a text that does not read, which another reading
// would only fail on again.
std::shared_ptr<const ExpressionTree> TreeOfFailedValue(const ExpException& error,
                                                        std::string_view stripped,
                                                        const std::atomic<bool>* cancel) {
    switch (error.GetCode()) {
        case EXP_ERR_DIVZERO:
        case EXP_ERR_NAN:
        case EXP_ERR_INFINITE:
        case EXP_ERR_UNDEFINED:
            break;
        default:
            return nullptr;
    }
    try {
        ExpParser parser(stripped);
        parser.SetCancel(cancel);
        return parser.Parse();
    } catch (const ExpException&) {
        return nullptr;
    }
}

}  // namespace

LiveOutcome ErrorOutcome(const QString& text, const ExpException& error,
                         std::string_view stripped) {
    LiveOutcome outcome;
    outcome.message = ComputeErrorText(error, stripped);
    // Marked where it arose; the message quotes from its position.
    const int position = error.GetPlace();
    const qsizetype at =
        IndexOfStrippedByte(text, position > 0 ? static_cast<std::size_t>(position) : 0);
    std::tie(outcome.markFrom, outcome.markTo) = MarkedCharacter(text, at);
    return outcome;
}

LiveOutcome ComputeLive(const QString& text, const VarTable& variables,
                        const std::atomic<bool>* cancel) {
    try {
        const std::string stripped = StripWhitespace(ToEngineText(text));
        if (stripped.empty())
            return {};
        try {
            ComputedExpression computed = ComputeExpressionTree(stripped, variables, cancel);
            char buffer[kFormattedResultSize];
            LiveOutcome outcome;
            outcome.value = FromEngineText(FormatResult(computed.value, buffer));
            outcome.tree = std::move(computed.tree);
            return outcome;
        } catch (const ExpException& error) {
            LiveOutcome outcome = ErrorOutcome(text, error, stripped);
            outcome.tree = TreeOfFailedValue(error, stripped, cancel);
            return outcome;
        }
    } catch (const std::bad_alloc&) {
        // Too large to compute now: nothing shows, and nothing is wrong
        // with it; Enter says so if it is still too large then.
        return {};
    }
}

struct LiveComputation::Channel {
    std::mutex mutex;
    LiveComputation* receiver = nullptr;
};

LiveComputation::LiveComputation(QObject* parent)
    : QObject(parent), m_channel(std::make_shared<Channel>()) {
    m_channel->receiver = this;
}

LiveComputation::~LiveComputation() {
    // A job still running stops and reports to no one; what it posted
    // before this goes with the object.
    StopRunning();
    const std::lock_guard<std::mutex> lock(m_channel->mutex);
    m_channel->receiver = nullptr;
}

void LiveComputation::Request(const QString& text, SharedVariables& variables) {
    ++m_generation;
    m_pending.reset();
    StopRunning();
    if (text.size() <= kComputedAtOnce) {
        emit Computed(ComputeLive(text, variables.Table()));
        return;
    }
    m_pending = Job{text, variables.Snapshot(), m_generation};
    // Started from the event loop, so that edits made together (and a
    // commit right after, which cancels) start no job that is stale at once.
    if (!m_running && !m_startQueued) {
        m_startQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_startQueued = false;
                if (m_pending && !m_running)
                    StartPending();
            },
            Qt::QueuedConnection);
    }
}

void LiveComputation::Cancel() {
    ++m_generation;
    m_pending.reset();
    StopRunning();
}

void LiveComputation::StopRunning() {
    // Its answer would be dropped anyway; the next text waits for it.
    if (m_stopRunning)
        m_stopRunning->store(true, std::memory_order_relaxed);
    m_stopRunning.reset();
}

void LiveComputation::StartPending() {
    m_running = true;
    m_stopRunning = std::make_shared<std::atomic<bool>>(false);
    QThreadPool::globalInstance()->start(
        [channel = m_channel, job = std::move(*m_pending), stop = m_stopRunning] {
            LiveOutcome outcome;
            try {
                outcome = ComputeLive(job.text, *job.variables, stop.get());
            } catch (const ExpCancelled&) {
                // A later request stopped it: its generation is no longer the
                // latest, so nothing is shown.
            }
            const std::lock_guard<std::mutex> lock(channel->mutex);
            if (LiveComputation* receiver = channel->receiver) {
                QMetaObject::invokeMethod(
                    receiver,
                    [receiver, generation = job.generation, outcome] {
                        receiver->Finish(generation, outcome);
                    },
                    Qt::QueuedConnection);
            }
        });
    m_pending.reset();
}

void LiveComputation::Finish(quint64 generation, const LiveOutcome& outcome) {
    m_running = false;
    m_stopRunning.reset();
    if (generation == m_generation)
        emit Computed(outcome);
    // Edits that came while this one was computed: only the last counts.
    if (m_pending)
        StartPending();
}
