#pragma once

#include <QString>
#include <string_view>

class ExpException;
struct VarRejection;

// The engine's errors and refusals in the window's language, worded from
// what they are (their code and parts), never from the engine's text.

// The compute command's error box for `error` in the expression `stripped`
// (the engine's bytes): what went wrong and, below it, the expression from
// the error's position on, cut as the engine cuts it.
QString ComputeErrorText(const ExpException& error, std::string_view stripped);

// The message box that refuses a variable's name or value: its text and
// its title.
QString VarRejectionText(const VarRejection& rejection);
QString VarRejectionTitle(const VarRejection& rejection);
