// The window's command line, read before Qt starts: its own two options,
// Qt's options passed through, anything else refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowCommandLine.h"

namespace {

struct Case {
    const char* why;
    std::vector<const char*> arguments;
    WindowAction action;
    std::string problem;
};

const Case kCases[] = {
    {"no arguments open the window", {}, WindowAction::OpenWindow, ""},
    {"Qt's options with their values",
     {"-platform", "offscreen", "--style=fusion", "-reverse"},
     WindowAction::OpenWindow,
     ""},
    {"a Qt option's value is not read as an option",
     {"-qwindowtitle", "--help"},
     WindowAction::OpenWindow,
     ""},
    {"help where it stands",
     {"-style", "fusion", "-h", "--frobnicate"},
     WindowAction::ShowHelp,
     ""},
    {"version", {"--version"}, WindowAction::ShowVersion, ""},
    {"an unknown option",
     {"--frobnicate"},
     WindowAction::UsageError,
     "tallyfern: unknown option '--frobnicate'"},
    {"the console program's option",
     {"-v", "x=1"},
     WindowAction::UsageError,
     "tallyfern: unknown option '-v'"},
    {"a Qt flag given a value",
     {"-reverse=yes"},
     WindowAction::UsageError,
     "tallyfern: unknown option '-reverse=yes'"},
    {"Qt takes no '=' after -platform",
     {"--platform=offscreen"},
     WindowAction::UsageError,
     "tallyfern: unknown option '--platform=offscreen'"},
    {"a word that is no option",
     {"1+1"},
     WindowAction::UsageError,
     "tallyfern: unexpected argument '1+1'"},
    {"a Qt option without its value",
     {"-platform"},
     WindowAction::UsageError,
     "tallyfern: option '-platform' needs a value"},
};

TEST(WindowCommandLineTest, OwnOptionsAnswerQtOptionsPassAndTheRestIsRefused) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const ParsedWindowCommandLine parsed = ParseWindowCommandLine(c.arguments);
        EXPECT_EQ(parsed.action, c.action);
        EXPECT_EQ(parsed.problem, c.problem);
    }
}

}  // namespace
