#include "ConsoleOutput.h"

#include <poll.h>
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr std::size_t kFlushThreshold = std::size_t{1} << 16;
constexpr std::size_t kCapacity = 2 * kFlushThreshold;
constexpr int kEndingSignals[] = {SIGINT, SIGTERM};

// The output a signal handler writes out; one at a time.
std::atomic<ConsoleOutput*> g_signalled{nullptr};
// An ending signal that came while the program itself was writing.
volatile sig_atomic_t g_deferredSignal = 0;
// The ending signal whose handler is writing out what is pending.
volatile sig_atomic_t g_ending = 0;

// Returns 0, or the errno of the failure. A descriptor that is not ready
// (non-blocking, with a slow reader) is waited for. Safe in a signal handler.
int WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd ready{fd, POLLOUT, 0};
                poll(&ready, 1, -1);
                continue;
            }
            return errno;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

[[noreturn]] void EndAsSignalled(int signal) {
    struct sigaction plain {};
    plain.sa_handler = SIG_DFL;
    sigemptyset(&plain.sa_mask);
    sigaction(signal, &plain, nullptr);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    sigaddset(&unblocked, signal);
    sigprocmask(SIG_UNBLOCK, &unblocked, nullptr);
    raise(signal);
    _exit(128 + signal);
}

}  // namespace

ConsoleOutput::ConsoleOutput(int resultFd, int errorFd) : m_resultFd(resultFd), m_errorFd(errorFd) {
    m_pending.reserve(kCapacity);
    m_buffer = m_pending.data();
}

ConsoleOutput::~ConsoleOutput() {
    Flush();
    if (m_catchesSignals) {
        itimerval off{};
        setitimer(ITIMER_REAL, &off, nullptr);
        g_signalled.store(nullptr);
    }
}

void ConsoleOutput::Append(Stream stream, std::string_view text) {
    if (stream != m_pendingStream.load(std::memory_order_relaxed)) {
        Flush();
        m_pendingStream.store(stream);
    }
    if (m_pending.size() + text.size() > kCapacity) {
        Flush();
        // Too long for the buffer: written out straight away.
        if (text.size() > kCapacity) {
            m_writing.store(true);
            const int fd = stream == Stream::Results ? m_resultFd : m_errorFd;
            const int error = WriteAll(fd, text.data(), text.size());
            if (stream == Stream::Results && error != 0 && !ResultsFailed())
                m_stdoutError.store(error);
            m_writing.store(false);
            if (g_deferredSignal != 0)
                EndAsSignalled(g_deferredSignal);
            return;
        }
    }
    m_pending += text;
    m_published.store(m_pending.size());
    if (m_pending.size() >= kFlushThreshold)
        Flush();
}

void ConsoleOutput::WritePublished() {
    const std::size_t written = m_written.load();
    const std::size_t published = m_published.load();
    if (published <= written)
        return;
    if (m_pendingStream.load() == Stream::Results) {
        // After a failure the rest would be out of order or lost as well.
        if (!ResultsFailed()) {
            const int error = WriteAll(m_resultFd, m_buffer + written, published - written);
            if (error != 0)
                m_stdoutError.store(error);
        }
    } else {
        // Nothing better is left to do when standard error fails.
        WriteAll(m_errorFd, m_buffer + written, published - written);
    }
    m_written.store(published);
}

void ConsoleOutput::Flush() {
    if (m_pending.empty())
        return;
    m_writing.store(true);
    WritePublished();
    m_published.store(0);
    m_written.store(0);
    m_pending.clear();
    m_writing.store(false);
    if (g_deferredSignal != 0)
        EndAsSignalled(g_deferredSignal);
}

bool ConsoleOutput::Finish() {
    Flush();
    const int error = m_stdoutError.load();
    if (error == 0)
        return true;
    std::string message = "tallyfern-cli: cannot write to standard output: ";
    message += std::strerror(error);
    message += '\n';
    Error(message);
    Flush();
    return false;
}

void ConsoleOutput::OnSignal(int signal) {
    const int savedErrno = errno;
    ConsoleOutput* output = g_signalled.load();
    if (signal == SIGALRM) {
        // A write under way, the program's or a handler's, goes on alone.
        if (output && !output->m_writing.exchange(true)) {
            output->WritePublished();
            output->m_writing.store(false);
            if (g_deferredSignal != 0)
                EndAsSignalled(g_deferredSignal);
        }
        errno = savedErrno;
        return;
    }
    // A second signal ends the program at once, should a write wait for a
    // reader that has stopped reading.
    if (g_deferredSignal != 0 || g_ending != 0)
        EndAsSignalled(signal);
    // While the program writes, it finishes that and then ends itself.
    if (output && output->m_writing.load()) {
        g_deferredSignal = signal;
        errno = savedErrno;
        return;
    }
    g_ending = signal;
    if (output)
        output->WritePublished();
    EndAsSignalled(signal);
}

void ConsoleOutput::WriteOutOnSignals(bool everySecond) {
    m_catchesSignals = true;
    g_signalled.store(this);
    struct sigaction action {};
    action.sa_handler = &ConsoleOutput::OnSignal;
    // Reads and writes the timer interrupts go on. The timer waits for any
    // other handler; an ending signal may come during any handler, itself
    // included, to end the program at once.
    action.sa_flags = SA_RESTART | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGALRM);
    for (const int signal : kEndingSignals) {
        struct sigaction previous {};
        // A signal ignored by whoever started the program stays ignored.
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        sigaction(signal, &action, nullptr);
    }
    if (!everySecond)
        return;
    sigaction(SIGALRM, &action, nullptr);
    itimerval second{};
    second.it_interval.tv_sec = 1;
    second.it_value.tv_sec = 1;
    setitimer(ITIMER_REAL, &second, nullptr);
}
