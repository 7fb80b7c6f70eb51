#include "CodePage.h"

#include <langinfo.h>
#include <strings.h>

#include <optional>

#include "IconvConverter.h"
#include "Utf8Sequence.h"

namespace {

constexpr char kCodePage936[] = "CP936";
constexpr char kUtf8[] = "UTF-8";
constexpr std::string_view kMissing = "?";

IconvConverter& Utf8ToCodePage936Converter() {
    static IconvConverter converter(kCodePage936, kUtf8);
    return converter;
}

std::size_t AsciiRunEnd(std::string_view text, std::size_t from) {
    while (from < text.size() && static_cast<unsigned char>(text[from]) < 0x80)
        ++from;
    return from;
}

// glibc names the C/POSIX locale's codeset ANSI_X3.4-1968; a terminal under
// it is taken to speak UTF-8, which is what it almost always does on Linux.
bool IsPassThroughCodeset(const char* codeset) {
    return strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0 ||
           strcasecmp(codeset, "ANSI_X3.4-1968") == 0 || strcasecmp(codeset, "US-ASCII") == 0 ||
           strcasecmp(codeset, "ASCII") == 0;
}

// The converters for the locale's codeset, opened on first use and again
// only when the codeset changes.
class LocaleConverters {
  public:
    static LocaleConverters& ForCurrentLocale() {
        static LocaleConverters cache;
        const char* codeset = nl_langinfo(CODESET);
        if (!cache.m_codeset || *cache.m_codeset != codeset)
            cache.Open(codeset);
        return cache;
    }

    // Null when text passes unchanged: a UTF-8 locale, or a codeset iconv
    // does not know, where passing the bytes on is the best left to do.
    IconvConverter* ToUtf8() { return Usable(m_toUtf8); }
    IconvConverter* FromUtf8() { return Usable(m_fromUtf8); }

  private:
    static IconvConverter* Usable(std::optional<IconvConverter>& converter) {
        return converter && converter->IsOpen() ? &*converter : nullptr;
    }

    void Open(const char* codeset) {
        m_codeset = codeset;
        m_toUtf8.reset();
        m_fromUtf8.reset();
        if (IsPassThroughCodeset(codeset))
            return;
        m_toUtf8.emplace(kUtf8, codeset);
        m_fromUtf8.emplace(codeset, kUtf8);
    }

    std::optional<std::string> m_codeset;
    std::optional<IconvConverter> m_toUtf8;
    std::optional<IconvConverter> m_fromUtf8;
};

IconvConverter::Substitute MissingForUtf8(std::string_view rest) {
    const std::size_t length = Utf8SequenceLength(rest);
    return {kMissing, length == 0 ? 1 : length};
}

IconvConverter::Substitute MissingForOneByte(std::string_view) {
    return {kMissing, 1};
}

}  // namespace

bool IsAscii(std::string_view text) {
    // No early exit: the loop stays simple enough to vectorise.
    unsigned char seen = 0;
    for (const char c : text)
        seen |= static_cast<unsigned char>(c);
    return seen < 0x80;
}

std::size_t CodePage936Width(std::string_view utf8Character) {
    const std::size_t length = Utf8SequenceLength(utf8Character);
    if (length < 2)
        return 1;
    // Only a double-byte result counts: glibc gives the euro sign the lone
    // byte 0x80, which reads back as no character, and drops Unicode tag
    // characters without a word.
    IconvConverter& converter = Utf8ToCodePage936Converter();
    std::string out;
    if (converter.IsOpen() && converter.ConvertWhole(utf8Character.substr(0, length), out) &&
        out.size() == 2)
        return 2;
    return 1;
}

std::string ValidUtf8(std::string_view text) {
    if (IsAscii(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t asciiEnd = AsciiRunEnd(text, i);
        out.append(text.substr(i, asciiEnd - i));
        i = asciiEnd;
        if (i == text.size())
            break;
        const std::size_t length = Utf8SequenceLength(text.substr(i));
        if (length == 0) {
            out += kMissing;
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

namespace {

// Text passes unchanged when the locale needs no converter. Callers test
// for ASCII first, which spares looking the locale up.
template <class Substitute>
std::string ConvertForLocale(std::string_view text, IconvConverter* converter,
                             Substitute substitute) {
    if (!converter)
        return std::string(text);
    std::string out;
    converter->Convert(text, out, substitute);
    return out;
}

}  // namespace

std::string LocaleToUtf8(std::string_view text) {
    if (IsAscii(text))
        return std::string(text);
    IconvConverter* converter = LocaleConverters::ForCurrentLocale().ToUtf8();
    if (!converter)
        return ValidUtf8(text);
    return ConvertForLocale(text, converter, MissingForOneByte);
}

std::string Utf8ToLocale(std::string_view utf8) {
    if (IsAscii(utf8))
        return std::string(utf8);
    return ConvertForLocale(utf8, LocaleConverters::ForCurrentLocale().FromUtf8(), MissingForUtf8);
}
