#pragma once

#include "CommandLine.h"

class ConsoleOutput;

// Prints the table of `options.expression` over `options.table`: a line
// "x<TAB>value" for each value of the variable as soon as it is computed,
// or "x<TAB>" and the error's message on standard error where the
// computation fails. Returns the exit status: as for one expression when
// any line failed, and a usage error when the name or a variable is refused.
int RunTable(const CliOptions& options, ConsoleOutput& output);
