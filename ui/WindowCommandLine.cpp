#include "WindowCommandLine.h"

#include <cstdio>
#include <string_view>

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitUsage = 2;

constexpr std::string_view kVersionLine = "tallyfern " TALLYFERN_VERSION "\n";

constexpr std::string_view kHelpText =
    "Opens the Tallyfern calculator window.\n"
    "\n"
    "Options:\n"
    "  -h, --help      show this help and exit\n"
    "      --version   show the version and exit\n"
    "\n"
    "Qt's own options are passed on to Qt, among them -platform NAME,\n"
    "-style NAME, -display DISPLAY, -qwindowgeometry GEOMETRY and -reverse.\n"
    "The keys and the window are described in tallyfern(1).\n";

// Qt's options, as Qt reads them: with one dash or two, followed by a value
// in the next argument, or (the second list) after '=', or by none.
constexpr std::string_view kQtOptionsWithValue[] = {
    "platform",
    "platformpluginpath",
    "platformtheme",
    "plugin",
    "qwindowgeometry",
    "qwindowicon",
    "qwindowtitle",
    "session",
    "style",
    "stylesheet",
    // The X11 plugin's.
    "display",
    "geometry",
    "title",
    "icon",
    "name",
    "visual",
};
constexpr std::string_view kQtOptionsWithAttachedValue[] = {"style", "stylesheet", "qmljsdebugger"};
constexpr std::string_view kQtFlags[] = {"reverse", "widgetcount", "testability",
                                         "sync",    "nograb",      "dograb"};

template <std::size_t N>
bool Contains(const std::string_view (&names)[N], std::string_view name) {
    for (std::string_view known : names) {
        if (known == name)
            return true;
    }
    return false;
}

}  // namespace

ParsedWindowCommandLine ParseWindowCommandLine(std::span<const char* const> arguments) {
    ParsedWindowCommandLine result;
    const auto fail = [&result](std::string problem) {
        result.action = WindowAction::UsageError;
        result.problem = "tallyfern: " + std::move(problem);
        return result;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "-h" || argument == "--help") {
            result.action = WindowAction::ShowHelp;
            return result;
        }
        if (argument == "--version") {
            result.action = WindowAction::ShowVersion;
            return result;
        }
        if (argument.size() < 2 || argument[0] != '-')
            return fail("unexpected argument '" + std::string(argument) + "'");
        std::string_view name = argument.substr(argument.starts_with("--") ? 2 : 1);
        const std::size_t equals = name.find('=');
        const bool valueAttached = equals != std::string_view::npos;
        name = name.substr(0, equals);
        if (valueAttached ? Contains(kQtOptionsWithAttachedValue, name) : Contains(kQtFlags, name))
            continue;
        if (valueAttached || !Contains(kQtOptionsWithValue, name))
            return fail("unknown option '" + std::string(argument) + "'");
        if (++i == arguments.size())
            return fail("option '" + std::string(argument) + "' needs a value");
    }
    return result;
}

std::optional<int> AnswerWindowCommandLine(int argc, const char* const* argv) {
    const ParsedWindowCommandLine commandLine = ParseWindowCommandLine(
        std::span<const char* const>(argv + 1, argc > 0 ? static_cast<std::size_t>(argc - 1) : 0));
    std::string text;
    switch (commandLine.action) {
        case WindowAction::OpenWindow:
            return std::nullopt;
        case WindowAction::ShowHelp:
            text = std::string(kWindowUsageLine) + "\n" + std::string(kHelpText);
            break;
        case WindowAction::ShowVersion:
            text = kVersionLine;
            break;
        case WindowAction::UsageError:
            text = commandLine.problem + "\n" + std::string(kWindowUsageLine);
            std::fwrite(text.data(), 1, text.size(), stderr);
            return kExitUsage;
    }
    // A full disk or a closed pipe makes the answer a failure, as in the
    // console program.
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        return 1;
    return kExitSuccess;
}
