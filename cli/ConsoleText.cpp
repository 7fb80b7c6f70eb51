#include "ConsoleText.h"

#include <langinfo.h>

#include <clocale>
#include <cstring>
#include <cwchar>

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
    storage = LocaleToUtf8(consoleText);
    return storage;
}

std::string ToConsoleText(std::string_view engineText) {
    if (IsAscii(engineText))
        return std::string(engineText);
    LoadUserLocale();
    return Utf8ToLocale(engineText);
}

namespace {

bool IsControl(unsigned char byte) {
    return (byte < 0x20 && byte != '\n') || byte == 0x7f;
}

void AppendEscaped(std::string& out, unsigned char byte) {
    constexpr char kDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xf];
}

}  // namespace

std::string QuotedText(std::string_view consoleText, std::size_t maxBytes) {
    if (!IsAscii(consoleText))
        LoadUserLocale();
    // In UTF-8 the second set of control characters (U+0080 to U+009F)
    // takes two bytes; a terminal may obey them too.
    const bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    std::string out;
    std::mbstate_t state{};
    std::size_t at = 0;
    while (at < consoleText.size()) {
        const auto byte = static_cast<unsigned char>(consoleText[at]);
        std::size_t length = 1;
        if (byte >= 0x80) {
            const std::size_t got =
                std::mbrlen(consoleText.data() + at, consoleText.size() - at, &state);
            if (got == static_cast<std::size_t>(-1) || got == static_cast<std::size_t>(-2) ||
                got == 0) {
                state = std::mbstate_t{};
            } else {
                length = got;
            }
        }
        if (at + length > maxBytes) {
            out += "...";
            break;
        }
        const bool c1 = utf8 && length == 2 && byte == 0xc2 &&
                        static_cast<unsigned char>(consoleText[at + 1]) < 0xa0;
        if (IsControl(byte) || c1) {
            for (std::size_t i = 0; i < length; ++i)
                AppendEscaped(out, static_cast<unsigned char>(consoleText[at + i]));
        } else {
            out.append(consoleText.substr(at, length));
        }
        at += length;
    }
    return out;
}