#include "TableRun.h"

#include <exception>
#include <new>
#include <optional>
#include <string>
#include <unordered_set>

#include "ConsoleOutput.h"
#include "ConsoleText.h"
#include "ExitStatus.h"
#include "ExpCompute.h"
#include "ExpException.h"
#include "ExpressionRunner.h"
#include "MessageLanguage.h"
#include "PlotFunction.h"
#include "VarValidation.h"
#include "VariableDefinitions.h"

namespace {

// The table's variable is one more variable: refused where the grid would
// refuse it, a name given with -v included.
bool AcceptName(const CliOptions& options, std::string_view name, ConsoleOutput& output) {
    std::unordered_set<std::string> taken;
    std::string storage;
    for (const VariableDefinition& definition : options.variables)
        taken.insert(FoldNameCase(ToEngineText(definition.name, storage)));
    const auto rejection = CheckVariableName(name, taken.contains(FoldNameCase(name)));
    if (!rejection)
        return true;
    std::string text = "tallyfern-cli: --table ";
    text += QuotedText(options.table->Name());
    text += ": ";
    text += ToConsoleText(Translated(rejection->message));
    text += '\n';
    output.Error(text);
    return false;
}

// The failure at `x` reported as the same expression computed alone with
// the variable at `x` reports it: its message and quote are the console's.
// Only failing lines pay for computing again.
void ReportFailure(const CliOptions& options, const VarTable& variables, std::string_view name,
                   double x, ConsoleOutput& output) {
    VarTable withValue;
    withValue.Assign(variables);
    withValue.Insert(name, x);
    ExpressionRunner(withValue, output).Compute(*options.expression);
}

}  // namespace

int RunTable(const CliOptions& options, ConsoleOutput& output) {
    const TableRange& range = *options.table;
    std::string nameStorage;
    const std::string name(ToEngineText(range.Name(), nameStorage));
    if (!AcceptName(options, name, output))
        return kExitUsage;
    const std::optional<VarTable> variables = DefineVariables(options.variables, output);
    if (!variables)
        return kExitUsage;

    std::string conversion;
    std::string strippedStorage;
    const std::string_view stripped =
        StripWhitespace(ToEngineText(*options.expression, conversion), strippedStorage);
    std::optional<PlotFunction> function;
    try {
        function.emplace(stripped, name, *variables);
    } catch (const ExpException&) {
        // It reads no value of the variable: one message, and no lines.
        ReportFailure(options, *variables, name, range.At(0), output);
        return kExitFailure;
    } catch (const std::bad_alloc&) {
        output.Error("tallyfern-cli: out of memory; the expression was not computed\n");
        return kExitFailure;
    }

    // Lines reach a reader at least once a second, however long each takes.
    output.WriteOutOnSignals(true);
    bool failed = false;
    char formatted[kFormattedResultSize];
    for (std::int64_t i = 0; i < range.Count() && !output.ResultsFailed(); ++i) {
        const double x = range.At(i);
        std::string line(FormatResult(x, formatted));
        line += '\t';
        std::optional<double> value;
        try {
            value = function->Compute(x);
        } catch (const ExpException&) {
        } catch (const std::bad_alloc&) {
            output.Error("tallyfern-cli: out of memory; the table was not finished\n");
            return kExitFailure;
        }
        if (value)
            line += FormatResult(*value, formatted);
        line += '\n';
        output.Result(line);
        if (!value) {
            failed = true;
            ReportFailure(options, *variables, name, x, output);
        }
    }
    return failed ? kExitFailure : kExitSuccess;
}
