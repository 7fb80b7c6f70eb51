#include <optional>
#include <span>

#include "CommandLine.h"
#include "ConsoleOutput.h"
#include "ConsoleText.h"
#include "ExitStatus.h"
#include "ExpressionRunner.h"
#include "StandardInputSession.h"
#include "TableRun.h"
#include "UsageText.h"
#include "VariableDefinitions.h"

namespace {

int Run(const ParsedCommandLine& commandLine, ConsoleOutput& output) {
    switch (commandLine.action) {
        case CliAction::ShowHelp:
            output.Result(kHelpText);
            return kExitSuccess;
        case CliAction::ShowVersion:
            output.Result(kVersionLine);
            return kExitSuccess;
        case CliAction::UsageError: {
            std::string text = commandLine.problem;
            text += '\n';
            text += kUsageLine;
            output.Error(text);
            return kExitUsage;
        }
        case CliAction::Compute:
            break;
    }
    const CliOptions& options = commandLine.options;
    if (options.table)
        return RunTable(options, output);
    const std::optional<VarTable> variables = DefineVariables(options.variables, output);
    if (!variables)
        return kExitUsage;
    ExpressionRunner runner(*variables, output,
                            options.natural ? std::optional<int>(options.width) : std::nullopt);
    if (options.expression)
        return runner.Compute(*options.expression) == LineOutcome::Failed ? kExitFailure
                                                                          : kExitSuccess;
    return ComputeStandardInput(runner, output) ? kExitSuccess : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    // Arguments and standard input come in the user's encoding.
    LoadUserLocaleOnDemand();
    ConsoleOutput output;
    output.WriteOutOnSignals(false);
    const int status = Run(
        ParseCommandLine(std::span<const char* const>(argv + 1, argc > 0 ? argc - 1 : 0)), output);
    if (!output.Finish())
        return kExitFailure;
    return status;
}
