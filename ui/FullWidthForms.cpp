#include "FullWidthForms.h"

namespace {

constexpr char16_t kFirstFullWidth = u'\uFF01';  // "！"
constexpr char16_t kLastFullWidth = u'\uFF5E';   // "～"
constexpr char16_t kIdeographicSpace = u'\u3000';
// The distance from a full-width form down to its ASCII character.
constexpr char16_t kFullWidthOffset = kFirstFullWidth - u'!';

}  // namespace

QString ToAsciiForms(QString text) {
    for (QChar& c : text) {
        const char16_t unit = c.unicode();
        if (unit >= kFirstFullWidth && unit <= kLastFullWidth)
            c = QChar(static_cast<char16_t>(unit - kFullWidthOffset));
        else if (unit == kIdeographicSpace)
            c = QChar(u' ');
    }
    return text;
}
