#pragma once

class ConsoleOutput;
class ExpressionRunner;

// Computes every non-blank line of standard input in turn. At a terminal
// each line is prompted for with "> " and its outcome shown at once.
// Returns whether every line was computed (and standard input read whole).
bool ComputeStandardInput(ExpressionRunner& runner, ConsoleOutput& output);
