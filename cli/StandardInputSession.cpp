#include "StandardInputSession.h"

#include <unistd.h>

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

// Lines as they arrive, from a pipe, a file or (without libedit) a terminal.
bool ComputeReadLines(UserTerminal* terminal, ExpressionRunner& runner, ConsoleOutput& output) {
    // Nothing computed waits in the buffer while the program waits for input.
    LineReader reader(STDIN_FILENO, [&output] { output.Flush(); });
    // Results wait in the output's buffer, which makes many short lines
    // cheap; a timer writes them out at least once a second, during a long
    // computation too, and an interruption writes them before the end.
    output.WriteOutOnSignals(true);
    bool allComputed = true;
    // Once results can no longer be written (the reader has gone), the
    // rest would be computed for nothing.
    while (!output.ResultsFailed()) {
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

void ReportHistoryProblem(LineEditor& editor, ConsoleOutput& output) {
    if (const std::string problem = editor.TakeHistoryProblem(); !problem.empty())
        output.Error(problem);
}

bool ComputeEditedLines(LineEditor& editor, UserTerminal& terminal, ExpressionRunner& runner,
                        ConsoleOutput& output) {
    bool allComputed = true;
    output.Flush();
    while (!output.ResultsFailed()) {
        const std::optional<std::string> line = editor.ReadLine(kPrompt);
        if (!line)
            break;
        const LineOutcome outcome = runner.ComputeLine(*line);
        if (outcome == LineOutcome::Failed)
            allComputed = false;
        // A failed line stays in the history too, to be corrected.
        if (outcome != LineOutcome::Blank)
            editor.AddToHistory(*line);
        ReportHistoryProblem(editor, output);
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
    if (const std::unique_ptr<LineEditor> editor =
            LineEditor::Load(terminal.SeparateDescriptor())) {
        ReportHistoryProblem(*editor, output);
        return ComputeEditedLines(*editor, terminal, runner, output);
    }
    return ComputeReadLines(&terminal, runner, output);
}
