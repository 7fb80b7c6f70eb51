#include "FullWidthForms.h"

#include <algorithm>
#include <utility>

namespace {

constexpr char16_t kFirstFullWidth = u'\uFF01';  // "！"
constexpr char16_t kLastFullWidth = u'\uFF5E';   // "～"
constexpr char16_t kIdeographicSpace = u'\u3000';
constexpr char16_t kIdeographicFullStop = u'\u3002';  // "。"
// The distance from a full-width form down to its ASCII character.
constexpr char16_t kFullWidthOffset = kFirstFullWidth - u'!';

// Punctuation an input method types twice for one key.
struct DoubledForm {
    char16_t unit;
    char16_t ascii;
};
constexpr DoubledForm kDoubledForms[] = {
    {u'\u2026', u'^'},  // "……"
    {u'\u2014', u'_'},  // "——"
};

char16_t SingleAsciiForm(char16_t unit) {
    if (unit >= kFirstFullWidth && unit <= kLastFullWidth)
        return static_cast<char16_t>(unit - kFullWidthOffset);
    if (unit == kIdeographicSpace)
        return u' ';
    if (unit == kIdeographicFullStop)
        return u'.';
    return unit;
}

}  // namespace

QString ToAsciiForms(QString text, int& position) {
    // Written over the text itself: the result is never longer.
    const qsizetype size = text.size();
    qsizetype written = 0;
    qsizetype writtenBeforePosition = 0;
    for (qsizetype read = 0; read < size;) {
        if (read < position)
            writtenBeforePosition = written + 1;
        const char16_t unit = text.at(read).unicode();
        char16_t ascii = SingleAsciiForm(unit);
        qsizetype taken = 1;
        for (const DoubledForm& doubled : kDoubledForms) {
            if (unit == doubled.unit && read + 1 < size && text.at(read + 1) == unit) {
                ascii = doubled.ascii;
                taken = 2;
            }
        }
        text[written++] = QChar(ascii);
        read += taken;
    }
    text.truncate(written);
    if (position > 0)
        position = static_cast<int>(std::min<qsizetype>(writtenBeforePosition, written));
    return text;
}

QString ToAsciiForms(QString text) {
    int position = 0;
    return ToAsciiForms(std::move(text), position);
}
