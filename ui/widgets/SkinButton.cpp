#include "SkinButton.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QStringList>
#include <QTextLayout>
#include <QToolTip>
#include <algorithm>

#include "EngravedIcon.h"
#include "IconResources.h"

namespace {

// Tips longer than this are broken into lines.
constexpr int kMaxTipWidth = 400;
// The focus mark's distance from the edges of the face.
constexpr int kFocusMarkInset = 2;
// The icon's distance from the face's left edge when a caption follows it.
constexpr int kImageMargin = 3;
// How far a push button's icon and caption move while it is held down.
constexpr int kPressShift = 1;

// A raised or sunken 1-pixel frame: the top and left edges but their far
// ends in one colour, the right and bottom edges whole in the other.
void Draw3dRect(QPainter& painter, const QRect& r, const QColor& topLeft,
                const QColor& bottomRight) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
}

// A tip broken into lines of at most kMaxTipWidth pixels in the tooltip
// font, as plain text even where it looks like markup.
QString FormatTip(const QString& text) {
    const QFont font = QToolTip::font();
    const QFontMetrics metrics(font);
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        if (metrics.horizontalAdvance(paragraph) <= kMaxTipWidth) {
            lines << paragraph;
            continue;
        }
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(kMaxTipWidth);
            // The blank a line was broken at would only widen the tip.
            QString piece = paragraph.mid(line.textStart(), line.textLength());
            while (piece.endsWith(QLatin1Char(' ')))
                piece.chop(1);
            lines << piece;
        }
        layout.endLayout();
    }
    const QString plain = lines.join(QLatin1Char('\n'));
    if (!Qt::mightBeRichText(plain))
        return plain;
    // The tooltip would take this for markup and word-wrap it anew.
    QStringList escaped;
    for (const QString& line : lines)
        escaped << line.toHtmlEscaped();
    return QStringLiteral("<p style='white-space:pre'>") + escaped.join(QStringLiteral("<br/>")) +
           QStringLiteral("</p>");
}

}  // namespace

SkinButton::SkinButton(QWidget* parent) : QAbstractButton(parent) {
    // A tool button: reached by Tab, while a click leaves the focus where
    // the typing goes on.
    setFocusPolicy(Qt::TabFocus);
    // Hover starts with a mouse move, which Qt reports only while tracking.
    setMouseTracking(true);
}

SkinButton::~SkinButton() {
    if (QToolTip::isVisible() && underMouse())
        QToolTip::hideText();
}

void SkinButton::LoadIconImage(WindowIcon icon) {
    m_icon = icon;
    setIcon(EngravedIcon(LoadIcon(icon), palette().color(QPalette::Active, QPalette::Light),
                         palette().color(QPalette::Active, QPalette::Dark)));
    setIconSize(IconDefaultSize(icon));
}

void SkinButton::SetTipText(const char* utf8Text, bool activate) {
    if (utf8Text == nullptr)
        return;
    m_tip = QString::fromUtf8(utf8Text);
    m_tipActive = activate;
    // Without a tip the caption names the button.
    setAccessibleName(m_tip);
    // A tip on show follows the change at once, as the window swaps tips
    // right after a click on the button.
    if (QToolTip::isVisible() && underMouse()) {
        if (m_tipActive && !m_tip.isEmpty()) {
            ShowTip(QCursor::pos());
        } else {
            QToolTip::hideText();
        }
    }
}

void SkinButton::ShowTip(const QPoint& globalPos) {
    QToolTip::showText(globalPos, FormatTip(m_tip), this, ItemRect());
}

void SkinButton::SetCheck(int state) {
    if (!isCheckable())
        return;
    setChecked(state == 1 || state == 2);
    update();
}

void SkinButton::SetStaticEdge(bool on) {
    if (m_staticEdge == on)
        return;
    m_staticEdge = on;
    updateGeometry();
    update();
}

QRect SkinButton::ItemRect() const {
    return m_staticEdge ? rect().adjusted(1, 1, -1, -1) : rect();
}

QSize SkinButton::sizeHint() const {
    // The window gives every button its size from the layout; this is only
    // for a button placed by a Qt layout.
    const int edge = m_staticEdge ? 2 : 0;
    QSize content = icon().isNull() ? QSize() : iconSize();
    content = content.expandedTo(QSize(0, 0));
    if (!text().isEmpty()) {
        const QSize textSize = fontMetrics().size(Qt::TextShowMnemonic, text());
        content.rwidth() += (content.width() > 0 ? kImageMargin * 2 : 0) + textSize.width();
        content.setHeight(std::max(content.height(), textSize.height()));
    }
    return content + QSize(6 + edge, 6 + edge);
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor shadow = palette().color(QPalette::Active, QPalette::Dark);
    const QColor highlight = palette().color(QPalette::Active, QPalette::Light);
    if (m_staticEdge)
        Draw3dRect(painter, rect(), shadow, highlight);
    const QRect itemRect = ItemRect();
    const bool pressed = isDown() || (isCheckable() && isChecked());

    painter.fillRect(itemRect, palette().color(QPalette::Active, QPalette::Button));
    PaintFrame(painter, itemRect, pressed);
    QRect captionRect = itemRect;
    if (!icon().isNull())
        PaintIcon(painter, itemRect, captionRect, pressed);
    if (!text().isEmpty())
        PaintCaption(painter, captionRect, pressed);
    // Only once the keyboard has moved the focus: a click focuses a button
    // too, and there the mark would only be noise.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange))
        PaintFocusMark(painter, itemRect);
}

void SkinButton::PaintFocusMark(QPainter& painter, const QRect& faceRect) const {
    const QRect mark = faceRect.adjusted(kFocusMarkInset, kFocusMarkInset, -kFocusMarkInset - 1,
                                         -kFocusMarkInset - 1);
    if (mark.width() < 2 || mark.height() < 2)
        return;
    QPen dots(palette().color(QPalette::Active, QPalette::ButtonText), 0);
    dots.setDashPattern({1.0, 1.0});
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(dots);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(mark);
    painter.restore();
}

void SkinButton::PaintFrame(QPainter& painter, const QRect& faceRect, bool pressed) const {
    const QColor shadow = palette().color(QPalette::Active, QPalette::Dark);
    const QColor highlight = palette().color(QPalette::Active, QPalette::Light);
    if (pressed) {
        Draw3dRect(painter, faceRect, shadow, highlight);
    } else if (m_hover) {
        Draw3dRect(painter, faceRect, highlight, shadow);
    }
}

void SkinButton::PaintIcon(QPainter& painter, const QRect& itemRect, QRect& captionRect,
                           bool pressed) const {
    const QSize size = iconSize();
    QRect image = itemRect;
    if (!text().isEmpty()) {
        image.setLeft(image.left() + kImageMargin);
        captionRect.setLeft(captionRect.left() + kImageMargin + size.width());
    } else {
        image.setLeft(image.left() + (image.width() - size.width()) / 2);
    }
    image.setTop(image.top() + (image.height() - size.height()) / 2);
    // A push button's content moves with the press; a toggle's stays.
    if (pressed && !isCheckable())
        image.translate(kPressShift, kPressShift);

    QIcon::Mode mode = QIcon::Normal;
    if (!isEnabled()) {
        mode = QIcon::Disabled;
    } else if (isCheckable() ? pressed : (pressed || m_hover)) {
        mode = QIcon::Active;
    }
    // The ratio of what is painted into: the window's backing store, or an
    // image the button is rendered into.
    const QPaintDevice* target =
        painter.paintEngine() ? painter.paintEngine()->paintDevice() : painter.device();
    const QPixmap pixmap = icon().pixmap(size, target->devicePixelRatioF(), mode);

    painter.save();
    // An icon larger than the button is cut, not spilled over the frame.
    painter.setClipRect(image.intersected(itemRect));
    painter.drawPixmap(image.topLeft(), pixmap);
    painter.restore();
}

void SkinButton::PaintCaption(QPainter& painter, QRect captionRect, bool pressed) const {
    if (pressed && !isCheckable())
        captionRect.translate(kPressShift, kPressShift);

    const QString caption = text();
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
    const QRect bounds = painter.fontMetrics().boundingRect(captionRect, flags, caption);
    QRect text(captionRect.topLeft(), bounds.size());
    text.translate((captionRect.width() - text.width()) / 2,
                   (captionRect.height() - text.height()) / 2);

    painter.save();
    if (!isEnabled()) {
        // Engraved, as the icon.
        painter.setPen(palette().color(QPalette::Active, QPalette::Light));
        painter.drawText(text.translated(1, 1), flags, caption);
        painter.setPen(palette().color(QPalette::Active, QPalette::Dark));
        painter.drawText(text, flags, caption);
    } else {
        painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
        painter.drawText(text, flags, caption);
    }
    painter.restore();
}

void SkinButton::TrackHover(const QPoint& pos, bool leftButtonHeld) {
    // A drag that comes in from elsewhere does not light the button.
    if (leftButtonHeld && !m_hover)
        return;
    if (ItemRect().contains(pos)) {
        if (m_hover)
            return;
        m_hover = true;
        update();
    } else {
        ClearHover();
    }
}

void SkinButton::ClearHover() {
    if (!m_hover)
        return;
    m_hover = false;
    update();
}

void SkinButton::mouseMoveEvent(QMouseEvent* event) {
    QAbstractButton::mouseMoveEvent(event);
    TrackHover(event->position().toPoint(), event->buttons() & Qt::LeftButton);
}

void SkinButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    // Entering is the first move over the button; the event carries no
    // button state, the application has it.
    TrackHover(event->position().toPoint(), QGuiApplication::mouseButtons() & Qt::LeftButton);
}

void SkinButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    ClearHover();
}

void SkinButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a press like the first, so
    // that a double click on a toggle flips it twice.
    mousePressEvent(event);
}

void SkinButton::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    ClearHover();
}

void SkinButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // A focused push button is the one Enter presses.
            if (event->modifiers() & ~Qt::KeypadModifier)
                break;
            click();
            event->accept();
            return;
        default:
            break;
    }
    QAbstractButton::keyPressEvent(event);
}

bool SkinButton::hitButton(const QPoint& pos) const {
    return ItemRect().contains(pos);
}

void SkinButton::nextCheckState() {
    // Runs inside every click before clicked() is emitted, so a slot
    // connected to it already reads the new check state.
    QAbstractButton::nextCheckState();
    update();
}

bool SkinButton::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::ToolTip: {
            const auto* help = static_cast<QHelpEvent*>(event);
            if (m_tipActive && !m_tip.isEmpty() && ItemRect().contains(help->pos())) {
                ShowTip(help->globalPos());
            } else {
                QToolTip::hideText();
                event->ignore();
            }
            return true;
        }
        case QEvent::WindowDeactivate:
        case QEvent::WindowBlocked:
            // A modal window or another application took over the mouse.
            ClearHover();
            break;
        default:
            break;
    }
    return QAbstractButton::event(event);
}

void SkinButton::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    switch (event->type()) {
        case QEvent::EnabledChange:
            if (!isEnabled()) {
                MoveFocusAway();
                ClearHover();
            }
            break;
        case QEvent::PaletteChange:
            // The engraving is drawn in the palette's colours.
            if (m_icon)
                LoadIconImage(*m_icon);
            update();
            break;
        default:
            break;
    }
}

void SkinButton::MoveFocusAway() {
    QWidget* parent = parentWidget();
    // Only a button disabled on its own hands the focus on; when its whole
    // window is disabled, there is no control to hand it to.
    if (parent == nullptr || isWindow() || !parent->isEnabled())
        return;
    for (QWidget* w = nextInFocusChain(); w != nullptr && w != this; w = w->nextInFocusChain()) {
        if (parent->isAncestorOf(w) && w->isEnabled() && w->isVisible() &&
            (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    parent->setFocus(Qt::OtherFocusReason);
}
