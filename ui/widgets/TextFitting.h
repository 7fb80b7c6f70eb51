#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <optional>

class QFontMetrics;

// The smallest text the window shows: below it digits and signs are no
// longer told apart at a glance. Small enough that the widest result
// (22 characters) fits the result box whole in a Chinese font's wide digits.
inline constexpr int kLegibleFloorPixels = 8;

// `font` itself or a smaller pixel size of it, down to kLegibleFloorPixels,
// at which `text` fits `width` pixels on one line; none when even the floor
// is too wide.
std::optional<QFont> FontFittingWidth(const QFont& font, const QString& text, int width);

// The largest pixel size of `font`, down to kLegibleFloorPixels, at which
// every glyph of `text` drawn top-aligned on one line stays inside `box`:
// the descenders too, which a line taller than the box would lose. The
// floor where nothing larger fits.
QFont FontFittingBox(const QFont& font, const QString& text, QSize box);

// A number shortened in the middle of its mantissa with an ellipsis so that
// it fits `width` in `metrics`: the sign, the leading digits and the whole
// exponent stay. `text` itself when it fits.
QString ShortenNumberToWidth(const QString& text, const QFontMetrics& metrics, int width);
