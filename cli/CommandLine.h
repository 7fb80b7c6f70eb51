#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "TableRange.h"

// A variable given with -v NAME=VALUE, split at the first '=', still in the
// locale's encoding.
struct VariableDefinition {
    std::string name;
    std::string value;
};

struct CliOptions {
    static constexpr int kDefaultWidth = 50;

    std::vector<VariableDefinition> variables;  // in the order given
    bool natural = false;
    int width = kDefaultWidth;
    // The expression arguments joined with one blank; none means that
    // standard input holds the expressions.
    std::optional<std::string> expression;
    // --table: the expression's values over a range of one variable.
    std::optional<TableRange> table;
};

enum class CliAction { Compute, ShowHelp, ShowVersion, UsageError };

struct ParsedCommandLine {
    CliAction action = CliAction::Compute;
    CliOptions options;
    std::string problem;  // what was wrong, for UsageError
};

// Reads the arguments after the program name. Options may stand among the
// expression's words until "--"; a word that begins with '-' and then a digit,
// '.' or '(' is part of the expression (a negative number), and so is a lone
// '-'. --help and --version take effect where they stand.
ParsedCommandLine ParseCommandLine(std::span<const char* const> arguments);
