#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ExpressionTree.h"
#include "VarTable.h"

// The names an expression reads as variables, sorted, each once (the names
// of its calls are functions, not among them).
std::vector<std::string> NamesRead(const ExpressionTree& tree);

// The names it reads that `variables` does not define.
std::vector<std::string> UndefinedNames(const ExpressionTree& tree, const VarTable& variables);

// The variable to draw the expression over: its one undefined name. None
// when it has none or several; the caller then lets the user choose among
// the table's names (and shows the undefined ones as the reason).
std::optional<std::string> ChooseVariable(const ExpressionTree& tree, const VarTable& variables);
