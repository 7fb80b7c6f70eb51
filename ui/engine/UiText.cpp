#include "UiText.h"

QString FromEngineText(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToEngineText(const QString& text) {
    return text.toStdString();
}

int CharIndexOfByte(const QString& text, std::size_t offset) {
    std::size_t bytes = 0;
    int index = 0;
    while (index < text.size() && bytes < offset) {
        const int length = text.at(index).isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
        bytes += static_cast<std::size_t>(text.mid(index, length).toUtf8().size());
        index += length;
    }
    return index;
}
