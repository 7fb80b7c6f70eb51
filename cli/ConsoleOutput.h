#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

// Standard output and standard error through one large buffer that holds
// text for one of them at a time: text for the other stream first writes out
// what is pending, so results and errors keep their order when both go to
// one file or terminal, and a run of either costs few writes.
//
// The buffer never moves, and what it holds is published after each piece
// of text, so that a signal handler can write it out (see
// WriteOutOnSignals): what was computed is not lost to an interruption, nor
// held back while a long computation runs.
class ConsoleOutput {
  public:
    ConsoleOutput() : ConsoleOutput(kStdout, kStderr) {}
    // Results to `resultFd`, errors to `errorFd` (the same descriptor keeps
    // both in one stream, in order).
    ConsoleOutput(int resultFd, int errorFd);
    // Writes out what is pending; a failure there goes unreported, so call
    // Finish first.
    ~ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

    void Result(std::string_view text) { Append(Stream::Results, text); }
    void Error(std::string_view text) { Append(Stream::Errors, text); }
    void Flush();

    // Whether results can no longer be written (the reader has gone, say):
    // computing more is of no use.
    bool ResultsFailed() const { return m_stdoutError.load(std::memory_order_relaxed) != 0; }

    // Writes out what is pending; when any write to standard output failed,
    // says so on standard error and returns false.
    bool Finish();

    // From now on, until this object goes: SIGINT and SIGTERM write out
    // what is pending and then end the program as the signal does (a second
    // one at once, even while a write waits for a reader that has stopped);
    // and with `everySecond`, a timer writes it out once a second, during a
    // long computation too.
    void WriteOutOnSignals(bool everySecond);

  private:
    static constexpr int kStdout = 1;
    static constexpr int kStderr = 2;

    enum class Stream { Results, Errors };
    void Append(Stream stream, std::string_view text);
    // Writes the published text not yet written; safe in a signal handler.
    void WritePublished();
    static void OnSignal(int signal);

    int m_resultFd;
    int m_errorFd;
    std::string m_pending;
    const char* m_buffer = nullptr;  // m_pending's storage, which never moves
    std::atomic<std::size_t> m_published{0};
    std::atomic<std::size_t> m_written{0};
    std::atomic<bool> m_writing{false};
    std::atomic<Stream> m_pendingStream{Stream::Results};
    std::atomic<int> m_stdoutError{0};  // errno of the first failed write of results
    bool m_catchesSignals = false;
};
