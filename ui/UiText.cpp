#include "UiText.h"

#include "CodePage.h"

QString FromCodePage(std::string_view bytes) {
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QString::fromStdString(CodePage936ToUtf8(bytes));
}

std::string ToCodePage(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const std::string_view view(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    if (IsAscii(view))
        return std::string(view);
    return Utf8ToCodePage936(view);
}

int CharIndexOfByte(const QString& text, std::size_t offset) {
    std::size_t bytes = 0;
    int index = 0;
    // Character by character, as the code page writes each one (1 or 2 bytes;
    // a character it lacks is written as one '?').
    while (index < text.size() && bytes < offset) {
        const int length = text.at(index).isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
        bytes += ToCodePage(text.mid(index, length)).size();
        index += length;
    }
    return index;
}
