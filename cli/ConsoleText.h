#pragma once

#include <string>
#include <string_view>

// Text typed at the console (the locale's encoding) in the engine's UTF-8,
// and back. Bytes the locale's encoding does not read arrive as '?'.

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

// Text the user typed as it is quoted in a message: control characters
// shown as "\x1b" and the like, so that the quote cannot drive the terminal
// (clear the screen, move the cursor), and so are the invisible characters
// that reorder or hide text (U+202E as "\xe2\x80\xae" in UTF-8), so that
// it reads as it is; text longer than `maxBytes` cut
// at a character's end and marked with "...". Line feeds pass: a message's
// own lines are kept.
std::string QuotedText(std::string_view consoleText, std::size_t maxBytes = std::string_view::npos);
