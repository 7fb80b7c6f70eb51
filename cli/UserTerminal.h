#pragma once

#include <string_view>

class ConsoleOutput;

// The terminal the user types at, for what only the user is to see: the
// prompt and the line feed that ends a session. That is standard output when
// standard output is a terminal, so that prompts and results keep their order
// on one stream; otherwise it is standard input's terminal opened for writing
// (or nothing, when it cannot be opened), so that standard output redirected
// to a file or a pipe receives results only.
class UserTerminal {
  public:
    explicit UserTerminal(ConsoleOutput& output);
    ~UserTerminal();
    UserTerminal(const UserTerminal&) = delete;
    UserTerminal& operator=(const UserTerminal&) = delete;

    // Shows `text` after the results and errors written so far.
    void Show(std::string_view text);

    // The terminal as a descriptor of its own, for the line editor to draw
    // on; -1 when that is standard output (or there is none).
    int SeparateDescriptor() const { return m_separate; }

  private:
    ConsoleOutput& m_output;
    bool m_isStandardOutput;
    int m_separate = -1;
};
