// The window's command line, read before Qt starts: its own two options,
// Qt's options passed through, anything else refused.
#include <gtest/gtest.h>

#include <map>
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

TEST(WindowCommandLineTest, NoSessionOpensTheWindowAndTheHelpNamesIt) {
    const ParsedWindowCommandLine parsed =
        ParseWindowCommandLine(std::vector<const char*>{"-style", "fusion", "--no-session"});
    EXPECT_EQ(parsed.action, WindowAction::OpenWindow);
    EXPECT_TRUE(parsed.noSession);
    EXPECT_FALSE(ParseWindowCommandLine(std::vector<const char*>{"-session", "x"}).noSession);
    EXPECT_NE(kWindowUsageLine.find("--no-session"), std::string_view::npos);
}

// Without a display for the window system Qt would use, the program says
// so itself rather than letting Qt abort.
TEST(WindowCommandLineTest, AMissingDisplayIsFoundBeforeQtStarts) {
    const struct {
        std::vector<const char*> arguments;
        std::map<std::string, std::string> environment;
        bool missing;
    } cases[] = {
        {{}, {}, true},
        {{}, {{"DISPLAY", ":0"}}, false},
        {{}, {{"WAYLAND_DISPLAY", "wayland-0"}}, false},
        {{"-display", ":1"}, {}, false},
        {{"-platform", "xcb"}, {{"WAYLAND_DISPLAY", "wayland-0"}}, true},
        {{"-platform", "offscreen"}, {}, false},
        {{}, {{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ""}}, true},
        {{}, {{"QT_QPA_PLATFORM", "offscreen"}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.environment));
        const ParsedWindowCommandLine parsed = ParseWindowCommandLine(c.arguments);
        const auto problem = MissingDisplayProblem(parsed, [&c](const char* name) -> const char* {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        });
        EXPECT_EQ(problem.has_value(), c.missing);
    }
}

}  // namespace
