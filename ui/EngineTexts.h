#pragma once

#include <QString>
#include <string_view>

class ExpException;

// The engine's messages in the window's language. The engine writes them
// in Chinese; the window looks each one up by that wording.

// An error name, a check of a variable or a box title of the engine.
QString EngineText(const QString& chinese);

// The compute command's error box for `error` in the expression `stripped`
// (the engine's bytes): the frame, the error's name and the excerpt where
// it happened.
QString ComputeErrorText(const ExpException& error, std::string_view stripped);
