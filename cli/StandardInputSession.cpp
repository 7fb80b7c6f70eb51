#include "StandardInputSession.h"

#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>

#include "ConsoleOutput.h"
#include "ConsoleText.h"
#include "ExpressionRunner.h"
#include "LineEditor.h"
#include "LineReader.h"
#include "UserTerminal.h"

namespace {

constexpr char kPrompt[] = "> ";

// Results wait in the output's buffer, which makes many short lines cheap;
// but when the program is interrupted (Ctrl-C, a kill) they must already be
// out. Besides before each read, they are written before any line long
// enough to take a while, and at least once a second.
class ResultFlushPolicy {
  public:
    bool ShouldFlushBefore(std::size_t lineLength) {
        if (lineLength > kLongLine)
            return Restart();
        // The coarse clock costs a few nanoseconds, far below a line's time.
        if (Now() - m_lastFlush >= std::chrono::seconds(1))
            return Restart();
        return false;
    }

  private:
    static constexpr std::size_t kLongLine = std::size_t{1} << 16;

    static std::chrono::nanoseconds Now() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
        return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
    }
    bool Restart() {
        m_lastFlush = Now();
        return true;
    }

    std::chrono::nanoseconds m_lastFlush = Now();
};

// Lines as they arrive, from a pipe, a file or (without libedit) a terminal.
bool ComputeReadLines(UserTerminal* terminal, ExpressionRunner& runner, ConsoleOutput& output) {
    // Nothing computed waits in the buffer while the program waits for input.
    LineReader reader(STDIN_FILENO, [&output] { output.Flush(); });
    ResultFlushPolicy flushPolicy;
    bool allComputed = true;
    for (;;) {
        if (terminal)
            terminal->Show(kPrompt);
        const std::optional<std::string_view> line = reader.Next();
        for (int lost = reader.TakeLostLines(); lost > 0; --lost) {
            output.Error(
                "tallyfern-cli: out of memory; a line too long to hold was not computed\n");
            allComputed = false;
        }
        if (!line)
            break;
        if (flushPolicy.ShouldFlushBefore(line->size()))
            output.Flush();
        if (runner.ComputeLine(*line) == LineOutcome::Failed)
            allComputed = false;
        if (terminal)
            output.Flush();
    }
    // The shell's prompt then starts on a line of its own.
    if (terminal)
        terminal->Show("\n");
    if (reader.ReadError() != 0) {
        std::string message = "tallyfern-cli: cannot read standard input: ";
        message += std::strerror(reader.ReadError());
        message += '\n';
        output.Error(message);
        return false;
    }
    return allComputed;
}

bool ComputeEditedLines(LineEditor& editor, UserTerminal& terminal, ExpressionRunner& runner,
                        ConsoleOutput& output) {
    bool allComputed = true;
    output.Flush();
    while (const std::optional<std::string> line = editor.ReadLine(kPrompt)) {
        const LineOutcome outcome = runner.ComputeLine(*line);
        if (outcome == LineOutcome::Failed)
            allComputed = false;
        // A failed line stays in the history too, to be corrected.
        if (outcome != LineOutcome::Blank)
            editor.AddToHistory(*line);
        output.Flush();
    }
    terminal.Show("\n");
    return allComputed;
}

}  // namespace

bool ComputeStandardInput(ExpressionRunner& runner, ConsoleOutput& output) {
    if (isatty(STDIN_FILENO) != 1)
        return ComputeReadLines(nullptr, runner, output);
    // Line editing needs the terminal's encoding from the start.
    LoadUserLocale();
    UserTerminal terminal(output);
    if (const std::unique_ptr<LineEditor> editor = LineEditor::Load(terminal.SeparateDescriptor()))
        return ComputeEditedLines(*editor, terminal, runner, output);
    return ComputeReadLines(&terminal, runner, output);
}
