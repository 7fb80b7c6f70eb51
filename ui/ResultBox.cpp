#include "ResultBox.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include "ScreenReaderNotice.h"
#include "TextFitting.h"

namespace {

// The room a line edit keeps on each side of its text, inside its margins.
constexpr int kInnerHorizontalMargin = 2;
constexpr int kInnerVerticalMargin = 1;

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
    Show(value, false);
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
                colours.setBrush(colourGroup, QPalette::Text,
                                 colours.brush(colourGroup, QPalette::PlaceholderText));
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
