#include "CodePage.h"

#include <langinfo.h>
#include <strings.h>

#include <optional>

#include "IconvConverter.h"
#include "Utf8Sequence.h"

namespace {

constexpr char kCodePage936[] = "CP936";
constexpr char kUtf8[] = "UTF-8";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
constexpr std::string_view kMissing = "?";

IconvConverter& Utf8ToCodePage936Converter() {
    static IconvConverter converter(kCodePage936, kUtf8);
    return converter;
}

IconvConverter& CodePage936ToUtf8Converter() {
    static IconvConverter converter(kUtf8, kCodePage936);
    return converter;
}

std::size_t AsciiRunEnd(std::string_view text, std::size_t from) {
    while (from < text.size() && static_cast<unsigned char>(text[from]) < 0x80)
        ++from;
    return from;
}

bool IsOneNonAsciiCharacter(std::string_view utf8) {
    return utf8.size() > 1 && Utf8SequenceLength(utf8) == utf8.size();
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

IconvConverter::Substitute ReplacementForOneByte(std::string_view) {
    return {kReplacementCharacter, 1};
}

}  // namespace

bool IsAscii(std::string_view text) {
    // No early exit: the loop stays simple enough to vectorise.
    unsigned char seen = 0;
    for (const char c : text)
        seen |= static_cast<unsigned char>(c);
    return seen < 0x80;
}

std::string Utf8ToCodePage936(std::string_view utf8) {
    if (IsAscii(utf8))
        return std::string(utf8);
    IconvConverter& converter = Utf8ToCodePage936Converter();
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t asciiEnd = AsciiRunEnd(utf8, i);
        out.append(utf8.substr(i, asciiEnd - i));
        i = asciiEnd;
        if (i == utf8.size())
            break;
        const std::size_t length = Utf8SequenceLength(utf8.substr(i));
        if (length == 0) {
            out += kMissing;
            ++i;
            continue;
        }
        // Only a double-byte result is taken: glibc gives the euro sign the
        // lone byte 0x80, which reads back as no character, and drops Unicode
        // tag characters without a word.
        const std::size_t before = out.size();
        if (!converter.IsOpen() || !converter.ConvertWhole(utf8.substr(i, length), out) ||
            out.size() - before != 2) {
            out.resize(before);
            out += kMissing;
        }
        i += length;
    }
    return out;
}

std::string CodePage936ToUtf8(std::string_view bytes) {
    if (IsAscii(bytes))
        return std::string(bytes);
    IconvConverter& converter = CodePage936ToUtf8Converter();
    std::string out;
    out.reserve(bytes.size() * 3 / 2 + kReplacementCharacter.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t asciiEnd = AsciiRunEnd(bytes, i);
        out.append(bytes.substr(i, asciiEnd - i));
        i = asciiEnd;
        if (i == bytes.size())
            break;
        // Each pair is decoded on its own so that a refused byte costs only
        // itself. A pair must give one character: glibc would read 0x80 as
        // a single-byte euro sign, which this code page does not have.
        const std::size_t before = out.size();
        if (i + 1 < bytes.size() && converter.IsOpen() &&
            converter.ConvertWhole(bytes.substr(i, 2), out) &&
            IsOneNonAsciiCharacter(std::string_view(out).substr(before))) {
            i += 2;
            continue;
        }
        out.resize(before);
        out += kReplacementCharacter;
        ++i;
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
    return ConvertForLocale(text, LocaleConverters::ForCurrentLocale().ToUtf8(),
                            ReplacementForOneByte);
}

std::string Utf8ToLocale(std::string_view utf8) {
    if (IsAscii(utf8))
        return std::string(utf8);
    return ConvertForLocale(utf8, LocaleConverters::ForCurrentLocale().FromUtf8(), MissingForUtf8);
}
