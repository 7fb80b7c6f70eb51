#include "ConsoleText.h"

#include "CodePage.h"

std::string_view ToEngineText(std::string_view consoleText, std::string& storage) {
    // Almost every line is plain ASCII, the same in every encoding involved.
    if (IsAscii(consoleText))
        return consoleText;
    storage = Utf8ToCodePage936(LocaleToUtf8(consoleText));
    return storage;
}

std::string ToConsoleText(std::string_view engineText) {
    return Utf8ToLocale(CodePage936ToUtf8(engineText));
}
