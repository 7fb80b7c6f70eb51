#pragma once

#include <optional>
#include <span>

#include "CommandLine.h"
#include "VarTable.h"

class ConsoleOutput;

// The variables given on the command line, checked in order as the window's
// variable grid checks them. The first rejected one has its message written
// to standard error, and there is no table.
std::optional<VarTable> DefineVariables(std::span<const VariableDefinition> definitions,
                                        ConsoleOutput& output);
