#pragma once

#include <string>
#include <string_view>

// Text typed at the console (the locale's encoding) in the engine's code
// page 936, and back.

// The program takes its character encoding from the user's locale, but
// loads that locale only once some text is not ASCII (or a terminal session
// starts): loading it costs several times as much as a short computation.
// Call at start-up; until then, and in programs that never call it, the
// conversions use whatever locale the process has set.
void LoadUserLocaleOnDemand();
// Loads the user's locale now, if LoadUserLocaleOnDemand was called.
void LoadUserLocale();

// `storage` receives the converted text when there is any conversion to
// do; the result views either it or `consoleText`.
std::string_view ToEngineText(std::string_view consoleText, std::string& storage);

std::string ToConsoleText(std::string_view engineText);
