#pragma once

#include <functional>
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
    // What Qt is told of the window system: -platform's value (empty when
    // not given) and whether -display names an X display.
    std::string platform;
    bool displayGiven = false;
    // --no-session: the window neither reads nor writes what it keeps
    // between runs.
    bool noSession = false;
};

// Reads the arguments after the program name. --help and --version take
// effect where they stand, as in the console program.
ParsedWindowCommandLine ParseWindowCommandLine(std::span<const char* const> arguments);

// Why the window cannot open for want of a display, as one line without
// its line feed; none when it may. Qt would stop the program with an
// abort; a window system that needs a display gets none when neither the
// environment (looked up through `environment`) nor -display names one.
std::optional<std::string> MissingDisplayProblem(
    const ParsedWindowCommandLine& commandLine,
    const std::function<const char*(const char* name)>& environment);

// Answers the command line that needs no window (printing to standard
// output or standard error), or refuses to start without a display, and
// returns the exit status; none when the window is to open.
std::optional<int> AnswerWindowCommandLine(int argc, const char* const* argv);

inline constexpr std::string_view kWindowUsageLine =
    "usage: tallyfern [--no-session] [Qt options]\n"
    "       tallyfern --help | --version\n";
