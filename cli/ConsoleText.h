#pragma once

#include <string>
#include <string_view>

// Text typed at the console (the locale's encoding) in the engine's code
// page 936, and back.

// `storage` receives the converted text when there is any conversion to
// do; the result views either it or `consoleText`.
std::string_view ToEngineText(std::string_view consoleText, std::string& storage);

std::string ToConsoleText(std::string_view engineText);
