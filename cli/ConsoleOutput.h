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
    ConsoleOutput();
    // Writes out what is pending; a failure there goes unreported, so call
    // Finish first.
    ~ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

    void Result(std::string_view text) { Append(kStdout, text); }
    void Error(std::string_view text) { Append(kStderr, text); }
    void Flush();

    // Writes out what is pending; when any write to standard output failed,
    // says so on standard error and returns false.
    bool Finish();

  private:
    static constexpr int kStdout = 1;
    static constexpr int kStderr = 2;

    void Append(int fd, std::string_view text);

    std::string m_pending;
    int m_pendingFd = kStdout;
    int m_stdoutError = 0;  // errno of the first failed write to standard output
};
