#include "ConsoleText.h"

#include <clocale>
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

// Beyond ASCII, what a terminal may obey (the second set of control
// characters, U+0080 to U+009F) or shows as nothing: the line and paragraph
// separators and the invisible format characters, among them those that
// turn the text after them around (U+202E), so that a quote would read as
// other text than it is.
bool IsHidden(wchar_t character) {
    const auto c = static_cast<char32_t>(character);
    return (c >= 0x80 && c <= 0x9f) || c == 0xad || c == 0x61c || c == 0x180e ||
           (c >= 0x200b && c <= 0x200f) || (c >= 0x2028 && c <= 0x202e) ||
           (c >= 0x2060 && c <= 0x206f) || c == 0xfeff || (c >= 0xfff9 && c <= 0xfffb) ||
           (c >= 0xe0000 && c <= 0xe007f);
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
    std::string out;
    std::mbstate_t state{};
    std::size_t at = 0;
    while (at < consoleText.size()) {
        const auto byte = static_cast<unsigned char>(consoleText[at]);
        std::size_t length = 1;
        bool hidden = false;
        if (byte >= 0x80) {
            // The C library's wide characters are Unicode's, whatever the
            // locale's encoding.
            wchar_t character = 0;
            const std::size_t got =
                std::mbrtowc(&character, consoleText.data() + at, consoleText.size() - at, &state);
            if (got == static_cast<std::size_t>(-1) || got == static_cast<std::size_t>(-2) ||
                got == 0) {
                state = std::mbstate_t{};
            } else {
                length = got;
                hidden = IsHidden(character);
            }
        }
        if (at + length > maxBytes) {
            out += "...";
            break;
        }
        if (IsControl(byte) || hidden) {
            for (std::size_t i = 0; i < length; ++i)
                AppendEscaped(out, static_cast<unsigned char>(consoleText[at + i]));
        } else {
            out.append(consoleText.substr(at, length));
        }
        at += length;
    }
    return out;
}
