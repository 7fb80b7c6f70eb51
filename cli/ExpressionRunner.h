#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ExpressionWorkspace.h"
#include "VarTable.h"

class ConsoleOutput;

enum class LineOutcome { Blank, Computed, Failed };

// Computes expressions typed at the console as the window's compute command
// does, and reports each outcome: the value on standard output, or the
// error box's text on standard error. Its storage is kept from one line to
// the next: a short line allocates nothing.
class ExpressionRunner {
  public:
    // With a natural-form width, every result is followed by the drawing of
    // its expression cut to that width.
    ExpressionRunner(const VarTable& variables, ConsoleOutput& output,
                     std::optional<int> naturalFormWidth = std::nullopt)
        : m_output(output), m_naturalFormWidth(naturalFormWidth), m_workspace(variables) {}

    // An expression given on the command line: even an empty one is computed
    // and its error reported.
    LineOutcome Compute(std::string_view consoleText) { return Run(consoleText, false); }
    // A line of standard input: one without anything but white space is
    // passed over.
    LineOutcome ComputeLine(std::string_view consoleText) { return Run(consoleText, true); }

  private:
    LineOutcome Run(std::string_view consoleText, bool skipBlank);
    void ReportError(std::string_view engineMessage);
    // False when memory ran out.
    bool PrintNaturalForm(int width);

    ConsoleOutput& m_output;
    std::optional<int> m_naturalFormWidth;
    ExpressionWorkspace m_workspace;
    // Kept to spare an allocation per line.
    std::string m_conversion;
    std::string m_stripped;
};
