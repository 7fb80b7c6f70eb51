#include "ConsoleText.h"

#include <clocale>

#include "CodePage.h"

namespace {
bool g_userLocaleWanted = false;
bool g_userLocaleLoaded = false;
}  // namespace

void LoadUserLocaleOnDemand() {
    g_userLocaleWanted = true;
}

void LoadUserLocale() {
    if (!g_userLocaleWanted || g_userLocaleLoaded)
        return;
    g_userLocaleLoaded = true;
    // The encoding is all the program takes from the locale: numbers are
    // read and written by locale-free means, so a decimal comma changes
    // nothing.
    std::setlocale(LC_CTYPE, "");
}

std::string_view ToEngineText(std::string_view consoleText, std::string& storage) {
    // Almost every line is plain ASCII, the same in every encoding involved.
    if (IsAscii(consoleText))
        return consoleText;
    LoadUserLocale();
    storage = Utf8ToCodePage936(LocaleToUtf8(consoleText));
    return storage;
}

std::string ToConsoleText(std::string_view engineText) {
    if (IsAscii(engineText))
        return std::string(engineText);
    LoadUserLocale();
    return Utf8ToLocale(CodePage936ToUtf8(engineText));
}
