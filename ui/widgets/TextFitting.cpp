#include "TextFitting.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>

namespace {

int PixelSizeOf(const QFont& font) {
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

QFont WithPixelSize(QFont font, int pixels) {
    font.setPixelSize(pixels);
    return font;
}

bool InkInside(const QFont& font, const QString& text, QSize box) {
    const QFontMetrics metrics(font);
    // Top-aligned, the baseline lies one ascent below the top.
    const QRect ink = metrics.tightBoundingRect(text).translated(0, metrics.ascent());
    return ink.top() >= 0 && ink.bottom() < box.height() &&
           metrics.horizontalAdvance(text) <= box.width();
}

}  // namespace

std::optional<QFont> FontFittingWidth(const QFont& font, const QString& text, int width) {
    for (int pixels = PixelSizeOf(font); pixels >= kLegibleFloorPixels; --pixels) {
        const QFont candidate = pixels == PixelSizeOf(font) ? font : WithPixelSize(font, pixels);
        if (QFontMetrics(candidate).horizontalAdvance(text) <= width)
            return candidate;
    }
    return std::nullopt;
}

QFont FontFittingBox(const QFont& font, const QString& text, QSize box) {
    for (int pixels = PixelSizeOf(font); pixels > kLegibleFloorPixels; --pixels) {
        const QFont candidate = pixels == PixelSizeOf(font) ? font : WithPixelSize(font, pixels);
        if (InkInside(candidate, text, box))
            return candidate;
    }
    return WithPixelSize(font, std::min(PixelSizeOf(font), kLegibleFloorPixels));
}

QString ShortenNumberToWidth(const QString& text, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const qsizetype exponentAt = text.lastIndexOf(QLatin1Char('e'), -1, Qt::CaseInsensitive);
    const QString mantissa = exponentAt < 0 ? text : text.left(exponentAt);
    const QString exponent = exponentAt < 0 ? QString() : text.mid(exponentAt);
    const bool hasSign =
        mantissa.startsWith(QLatin1Char('-')) || mantissa.startsWith(QLatin1Char('+'));
    // The sign and the first digit are the least a reader needs.
    const qsizetype leastHead = std::min<qsizetype>(mantissa.size(), hasSign ? 2 : 1);
    const QString ellipsis(QChar(0x2026));
    QString shortened;
    for (qsizetype kept = mantissa.size() - 1; kept >= leastHead; --kept) {
        // Two thirds from the front: the leading digits say more than the last.
        const qsizetype tail = std::min(kept / 3, kept - leastHead);
        shortened = mantissa.left(kept - tail) + ellipsis + mantissa.right(tail) + exponent;
        if (metrics.horizontalAdvance(shortened) <= width)
            return shortened;
    }
    return shortened.isEmpty() ? text : shortened;
}
