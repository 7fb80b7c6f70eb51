#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The window program's own options, read before Qt starts: --help and
// --version answer without a display, and a wrong argument is refused
// before a window system is looked for. Qt's documented options pass
// through to Qt untouched.

enum class WindowAction { OpenWindow, ShowHelp, ShowVersion, UsageError };

struct ParsedWindowCommandLine {
    WindowAction action = WindowAction::OpenWindow;
    std::string problem;  // what was wrong, for UsageError
};

// Reads the arguments after the program name. --help and --version take
// effect where they stand, as in the console program.
ParsedWindowCommandLine ParseWindowCommandLine(std::span<const char* const> arguments);

// Answers the command line that needs no window (printing to standard
// output or standard error) and returns the exit status; none when the
// window is to open.
std::optional<int> AnswerWindowCommandLine(int argc, const char* const* argv);

inline constexpr std::string_view kWindowUsageLine =
    "usage: tallyfern [Qt options]\n"
    "       tallyfern --help | --version\n";
