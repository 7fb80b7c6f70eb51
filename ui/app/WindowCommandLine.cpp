#include "WindowCommandLine.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitUsage = 2;

constexpr std::string_view kVersionLine = "tallyfern " TALLYFERN_VERSION "\n";

constexpr std::string_view kHelpText =
    "Opens the Tallyfern calculator window.\n"
    "\n"
    "Options:\n"
    "  -h, --help        show this help and exit\n"
    "      --version     show the version and exit\n"
    "      --no-session  neither read nor keep the history, the variables\n"
    "                    and the window's state between runs\n"
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
        if (argument == "--no-session") {
            result.noSession = true;
            continue;
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
        if (name == "platform")
            result.platform = arguments[i];
        else if (name == "display")
            result.displayGiven = true;
    }
    return result;
}

std::optional<std::string> MissingDisplayProblem(
    const ParsedWindowCommandLine& commandLine,
    const std::function<const char*(const char* name)>& environment) {
    const auto isSet = [&environment](const char* name) {
        const char* value = environment(name);
        return value && *value;
    };
    std::string_view platforms = commandLine.platform;
    if (platforms.empty() && isSet("QT_QPA_PLATFORM"))
        platforms = environment("QT_QPA_PLATFORM");
    // Qt tries a list "a;b" in order; without one it looks for Wayland, then X.
    if (platforms.empty())
        platforms = "wayland;xcb";
    while (!platforms.empty()) {
        const std::size_t semicolon = platforms.find(';');
        std::string_view platform = platforms.substr(0, semicolon);
        platforms.remove_prefix(semicolon == std::string_view::npos ? platforms.size()
                                                                    : semicolon + 1);
        platform = platform.substr(0, platform.find(':'));  // options follow a colon
        if (platform == "xcb") {
            if (commandLine.displayGiven || isSet("DISPLAY"))
                return std::nullopt;
        } else if (platform.starts_with("wayland")) {
            if (isSet("WAYLAND_DISPLAY"))
                return std::nullopt;
        } else {
            // One that draws without a display (offscreen, vnc, linuxfb...),
            // or one Qt will judge for itself.
            return std::nullopt;
        }
    }
    return "tallyfern: cannot open the window: no display (DISPLAY and WAYLAND_DISPLAY are not "
           "set)";
}

std::optional<int> AnswerWindowCommandLine(int argc, const char* const* argv) {
    const ParsedWindowCommandLine commandLine = ParseWindowCommandLine(
        std::span<const char* const>(argv + 1, argc > 0 ? static_cast<std::size_t>(argc - 1) : 0));
    std::string text;
    switch (commandLine.action) {
        case WindowAction::OpenWindow:
            if (const auto problem = MissingDisplayProblem(commandLine, std::getenv)) {
                const std::string line = *problem + "\n";
                std::fwrite(line.data(), 1, line.size(), stderr);
                return 1;
            }
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
