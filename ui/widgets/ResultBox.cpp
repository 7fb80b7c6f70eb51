#include "ResultBox.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <cmath>

#include "ScreenReaderNotice.h"
#include "TextFitting.h"

namespace {

// The room a line edit keeps on each side of its text, inside its margins.
constexpr int kInnerHorizontalMargin = 2;
constexpr int kInnerVerticalMargin = 1;
// How a muted value stands out from its ground: as far as small text must
// to be read without effort, and no further, so that it stays plainly
// lighter than a committed one.
constexpr double kMutedContrast = 4.5;

double Linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour) {
    return 0.2126 * Linear(colour.redF()) + 0.7152 * Linear(colour.greenF()) +
           0.0722 * Linear(colour.blueF());
}

double Contrast(const QColor& one, const QColor& other) {
    const double first = Luminance(one) + 0.05;
    const double second = Luminance(other) + 0.05;
    return std::max(first, second) / std::min(first, second);
}

QColor Blend(const QColor& from, const QColor& to, double share) {
    const auto mix = [share](int a, int b) { return qRound(a + (b - a) * share); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()),
                  mix(from.blue(), to.blue()));
}

// The colour nearest the ground, on the way from it to the text's, that
// still reaches kMutedContrast; the text's own where even that does not.
QColor MutedColour(const QColor& text, const QColor& ground) {
    if (Contrast(text, ground) <= kMutedContrast)
        return text;
    double low = 0;  // too faint
    double high = 1;
    for (int step = 0; step < 16; ++step) {
        const double middle = (low + high) / 2;
        (Contrast(Blend(ground, text, middle), ground) >= kMutedContrast ? high : low) = middle;
    }
    return Blend(ground, text, high);
}

}  // namespace

ResultBox::ResultBox(QWidget* parent) : QLineEdit(parent), m_notice(new ScreenReaderNotice(this)) {
    connect(this, &QLineEdit::textChanged, this, &ResultBox::FitText);
}

void ResultBox::TellScreenReader() {
    m_notice->Tell(accessibleName() + QLatin1Char(' ') + text());
}

void ResultBox::ShowLive(const QString& value) {
    Show(value, true);
}

void ResultBox::ShowCommitted(const QString& value) {
    m_committed = value;
    m_commitFailed = false;
    Show(value, false);
}

void ResultBox::ShowCommitFailed() {
    m_commitFailed = true;
    ShowLastCommitted();
}

void ResultBox::Show(const QString& value, bool muted) {
    if (muted != m_muted) {
        // Only the text's colour changes: the value is drawn just as a
        // committed one, in the same place, size and font.
        QPalette colours = palette();
        for (int group = 0; group < QPalette::NColorGroups; ++group) {
            const auto colourGroup = static_cast<QPalette::ColorGroup>(group);
            if (muted) {
                m_textBrushes[group] = colours.brush(colourGroup, QPalette::Text);
                colours.setColor(colourGroup, QPalette::Text,
                                 MutedColour(colours.color(colourGroup, QPalette::Text),
                                             colours.color(colourGroup, QPalette::Base)));
            } else {
                colours.setBrush(colourGroup, QPalette::Text, m_textBrushes[group]);
            }
        }
        m_muted = muted;
        setPalette(colours);
    }
    setText(value);
    // A result wider than its box shows its leading digits.
    setCursorPosition(0);
}

QRect ResultBox::TextArea() const {
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QMargins margins = textMargins();
    return style()
        ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
        .adjusted(margins.left() + kInnerHorizontalMargin, margins.top() + kInnerVerticalMargin,
                  -margins.right() - kInnerHorizontalMargin,
                  -margins.bottom() - kInnerVerticalMargin);
}

void ResultBox::FitText() {
    const QString whole = text();
    const int width = TextArea().width();
    if (const std::optional<QFont> fitting = FontFittingWidth(font(), whole, width)) {
        m_shownFont = *fitting;
        m_shownText = whole;
        setToolTip(QString());
    } else {
        m_shownFont = font();
        m_shownFont.setPixelSize(kLegibleFloorPixels);
        m_shownText = ShortenNumberToWidth(whole, QFontMetrics(m_shownFont), width);
        setToolTip(whole);
    }
    m_drawnAsIs = m_shownText == whole && m_shownFont == font();
    update();
}

void ResultBox::paintEvent(QPaintEvent* event) {
    if (m_drawnAsIs) {
        QLineEdit::paintEvent(event);
        return;
    }
    // Drawn here: Qt would draw the text in the box's font and cut it off.
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    painter.setFont(m_shownFont);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    const Qt::Alignment alignment =
        QStyle::visualAlignment(layoutDirection(), QFlag(this->alignment()));
    painter.drawText(TextArea(), static_cast<int>(alignment), m_shownText);
}

void ResultBox::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    FitText();
}

void ResultBox::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        FitText();
}
