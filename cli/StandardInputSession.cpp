#include "StandardInputSession.h"

#include <unistd.h>

#include <cstring>
#include <string>

#include "ConsoleOutput.h"
#include "ExpressionRunner.h"
#include "LineReader.h"

namespace {

constexpr std::string_view kPrompt = "> ";

}  // namespace

bool ComputeStandardInput(ExpressionRunner& runner, ConsoleOutput& output) {
    const bool interactive = isatty(STDIN_FILENO) == 1;
    LineReader reader(STDIN_FILENO);
    bool allComputed = true;
    for (;;) {
        if (interactive) {
            output.Result(kPrompt);
            output.Flush();
        }
        const std::optional<std::string_view> line = reader.Next();
        if (!line)
            break;
        if (runner.ComputeLine(*line) == LineOutcome::Failed)
            allComputed = false;
        if (interactive)
            output.Flush();
    }
    // The shell's prompt then starts on a line of its own.
    if (interactive)
        output.Result("\n");
    if (reader.ReadError() != 0) {
        std::string message = "tallyfern-cli: cannot read standard input: ";
        message += std::strerror(reader.ReadError());
        message += '\n';
        output.Error(message);
        return false;
    }
    return allComputed;
}
