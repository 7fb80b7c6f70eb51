#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Standard output and standard error through one large buffer that holds
// text for one of them at a time: text for the other stream first writes out
// what is pending, so results and errors keep their order when both go to
// one file or terminal, and a run of either costs few writes.
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

    // Writes out what is pending; when any write to standard output failed,
    // says so on standard error and returns false.
    bool Finish();

  private:
    static constexpr int kStdout = 1;
    static constexpr int kStderr = 2;

    enum class Stream { Results, Errors };
    void Append(Stream stream, std::string_view text);

    int m_resultFd;
    int m_errorFd;
    std::string m_pending;
    Stream m_pendingStream = Stream::Results;
    int m_stdoutError = 0;  // errno of the first failed write of results
};
