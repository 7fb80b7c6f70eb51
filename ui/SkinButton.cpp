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

#include "IconResources.h"

namespace {

// Tips longer than this are broken into lines.
constexpr int kMaxTipWidth = 400;
// The focus mark's distance from the edges of the face.
constexpr int kFocusMarkInset = 2;

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

// The pixels of `image` that would not be white when drawn over white, in
// one colour: the shape an engraved (disabled) image is made of.
QImage ImageShape(const QImage& image, const QColor& colour) {
    QImage shape(image.size(), QImage::Format_ARGB32);
    shape.setDevicePixelRatio(image.devicePixelRatio());
    shape.fill(Qt::transparent);
    QImage onWhite(image.size(), QImage::Format_ARGB32);
    onWhite.fill(Qt::white);
    {
        QPainter painter(&onWhite);
        painter.drawImage(0, 0, image);
    }
    const QRgb ink = colour.rgb();
    for (int y = 0; y < image.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(onWhite.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(shape.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((from[x] & RGB_MASK) != (qRgb(255, 255, 255) & RGB_MASK))
                to[x] = ink;
        }
    }
    return shape;
}

// `colour` applied to every pixel but black ones; alpha stays as it was.
template <typename ColourFunction>
QImage MapIconColours(const QImage& source, ColourFunction colour) {
    if (source.isNull())
        return {};
    QImage result = source.convertToFormat(QImage::Format_ARGB32);
    if (result.isNull())
        return {};
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb rgb = line[x] & RGB_MASK;
            if (rgb == 0)
                continue;
            line[x] = (colour(line[x]) & RGB_MASK) | (line[x] & ~RGB_MASK);
        }
    }
    return result;
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
    ResetColours(false);
}

SkinButton::~SkinButton() {
    if (QToolTip::isVisible() && underMouse())
        QToolTip::hideText();
}

void SkinButton::ResetColours(bool repaint) {
    const QPalette& pal = palette();
    for (ColourPair& pair : m_cr) {
        pair.face = pal.color(QPalette::Active, QPalette::Button);
        pair.text = pal.color(QPalette::Active, QPalette::ButtonText);
    }
    if (repaint)
        update();
}

void SkinButton::FreeIcons() {
    m_icon.fill(IconEntry{});
}

int SkinButton::LoadIconImage(int iconId, int second) {
    const QIcon first = LoadIcon(iconId);
    const bool derived = second == kGreySecondIcon || second == kDimSecondIcon;
    const int otherId = second & 0xFFFF;
    const QIcon other = second != kNoSecondIcon && !derived ? LoadIcon(otherId) : QIcon();

    FreeIcons();
    if (first.isNull()) {
        update();
        return 0;
    }
    const QSize size = IconDefaultSize(iconId);
    m_icon[0] = {first, size.width(), size.height(), Derived::None};
    if (derived) {
        m_icon[1] = {first, size.width(), size.height(),
                     second == kGreySecondIcon ? Derived::Grey : Derived::Dim};
        if (IconPixmap(1, devicePixelRatioF()).isNull()) {
            FreeIcons();
            update();
            return 1;
        }
    } else if (!other.isNull()) {
        const QSize otherSize = IconDefaultSize(otherId);
        m_icon[1] = {other, otherSize.width(), otherSize.height(), Derived::None};
    }
    update();
    return 0;
}

QPixmap SkinButton::IconPixmap(int entry, qreal devicePixelRatio) const {
    const IconEntry& icon = m_icon[entry];
    if (icon.icon.isNull())
        return {};
    const QPixmap pixmap = icon.icon.pixmap(QSize(icon.width, icon.height), devicePixelRatio);
    if (icon.derived == Derived::None)
        return pixmap;
    const QImage image = pixmap.toImage();
    const QImage copy = icon.derived == Derived::Grey ? MakeGreyIcon(image) : MakeDimIcon(image);
    return copy.isNull() ? QPixmap() : QPixmap::fromImage(copy);
}

QImage SkinButton::MakeGreyIcon(const QImage& source) {
    return MapIconColours(source, [](QRgb c) {
        // In whole numbers: in doubles a sum that is whole, such as 74 for
        // (10, 120, 5), can come out just below and truncate one too low.
        const int g = (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000;
        return qRgb(g, g, g);
    });
}

QImage SkinButton::MakeDimIcon(const QImage& source) {
    return MapIconColours(source, [](QRgb c) { return DimColour(c, 0.25); });
}

QRgb SkinButton::DimColour(QRgb colour, double fraction) {
    if (!(fraction > 0.0 && fraction <= 1.0))
        return colour;
    const auto dim = [fraction](int x) { return static_cast<int>(x - x * fraction); };
    return qRgba(dim(qRed(colour)), dim(qGreen(colour)), dim(qBlue(colour)), qAlpha(colour));
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

QSize SkinButton::IconSize(int entry) const {
    if (entry < 0 || entry > 1)
        return {};
    return {m_icon[entry].width, m_icon[entry].height};
}

bool SkinButton::HasIcon(int entry) const {
    return entry >= 0 && entry <= 1 && !m_icon[entry].icon.isNull();
}

QImage SkinButton::IconImage(int entry) const {
    if (!HasIcon(entry))
        return {};
    return IconPixmap(entry, devicePixelRatioF()).toImage();
}

QRect SkinButton::ItemRect() const {
    return m_staticEdge ? rect().adjusted(1, 1, -1, -1) : rect();
}

QSize SkinButton::sizeHint() const {
    // The window gives every button its size from the layout; this is only
    // for a button placed by a Qt layout.
    const int edge = m_staticEdge ? 2 : 0;
    QSize content(m_icon[0].width, m_icon[0].height);
    if (!text().isEmpty()) {
        const QSize textSize = fontMetrics().size(Qt::TextShowMnemonic, text());
        content.rwidth() += (content.width() > 0 ? m_imageMargin * 2 : 0) + textSize.width();
        content.setHeight(std::max(content.height(), textSize.height()));
    }
    return content + QSize(6 + edge, 6 + edge);
}

const SkinButton::ColourPair& SkinButton::StateColours() const {
    if (m_hover || m_drawPressed)
        return m_cr[kActive];
    if (m_drawFocused)
        return m_cr[kFocused];
    return m_cr[kNormal];
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_staticEdge) {
        Draw3dRect(painter, rect(), palette().color(QPalette::Active, QPalette::Dark),
                   palette().color(QPalette::Active, QPalette::Light));
    }
    const QRect itemRect = ItemRect();
    m_drawPressed = isDown() || (isCheckable() && isChecked());
    m_drawFocused = hasFocus();
    m_drawDisabled = !isEnabled();

    const QRect faceRect = itemRect;
    PaintFace(painter, faceRect);
    PaintFrame(painter, faceRect);

    const QString caption = text();
    QRect captionRect = itemRect;
    if (HasIcon(0)) {
        PaintIcon(painter, !caption.isEmpty(), itemRect, captionRect, m_drawPressed,
                  m_drawDisabled);
    }
    if (!caption.isEmpty()) {
        PaintCaption(painter, caption, itemRect, captionRect, m_drawPressed, m_drawDisabled);
    }
    // Only once the keyboard has moved the focus: a click focuses a button
    // too, and there the mark would only be noise.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange))
        PaintFocusMark(painter, faceRect);
}

void SkinButton::PaintFocusMark(QPainter& painter, const QRect& faceRect) {
    const QRect mark = faceRect.adjusted(kFocusMarkInset, kFocusMarkInset, -kFocusMarkInset - 1,
                                         -kFocusMarkInset - 1);
    if (mark.width() < 2 || mark.height() < 2)
        return;
    QPen dots(StateColours().text, 0);
    dots.setDashPattern({1.0, 1.0});
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(dots);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(mark);
    painter.restore();
}

void SkinButton::PaintFace(QPainter& painter, const QRect& faceRect) {
    painter.fillRect(faceRect, StateColours().face);
}

void SkinButton::PaintFrame(QPainter& painter, const QRect& faceRect) {
    const QColor shadow = palette().color(QPalette::Active, QPalette::Dark);
    const QColor highlight = palette().color(QPalette::Active, QPalette::Light);
    if (m_drawPressed) {
        Draw3dRect(painter, faceRect, shadow, highlight);
    } else if (m_hover) {
        Draw3dRect(painter, faceRect, highlight, shadow);
    }
}

QRect SkinButton::PlaceImage(bool hasCaption, const QRect& itemRect, QRect& captionRect, int w,
                             int h, bool pressed) const {
    QRect image = itemRect;
    if (hasCaption) {
        image.setLeft(image.left() + m_imageMargin);
        captionRect.setLeft(captionRect.left() + m_imageMargin + w);
    } else {
        image.setLeft(image.left() + (image.width() - w) / 2);
    }
    image.setTop(image.top() + (image.height() - h) / 2);
    if (pressed && !isCheckable())
        image.translate(m_pressShiftX, m_pressShiftY);
    return image;
}

void SkinButton::PaintIcon(QPainter& painter, bool hasCaption, const QRect& itemRect,
                           QRect& captionRect, bool pressed, bool disabled) {
    const bool active = isCheckable() ? pressed : (pressed || m_hover);
    const int shown = active || !HasIcon(1) ? 0 : 1;
    const IconEntry& entry = m_icon[shown];
    const QRect image =
        PlaceImage(hasCaption, itemRect, captionRect, entry.width, entry.height, pressed);
    // The ratio of what is painted into: the window's backing store, or an
    // image the button is rendered into.
    const QPaintDevice* target =
        painter.paintEngine() ? painter.paintEngine()->paintDevice() : painter.device();
    const QPixmap pixmap = IconPixmap(shown, target->devicePixelRatioF());

    painter.save();
    // The image rectangle is the extent of the drawing: an icon larger than
    // the button is cut, not spilled over the frame.
    painter.setClipRect(image.intersected(itemRect));
    if (disabled) {
        // Engraved: the shape in the highlight colour one pixel down and
        // right, and in the shadow colour over it.
        const QImage source = pixmap.toImage();
        painter.drawImage(image.topLeft() + QPoint(1, 1),
                          ImageShape(source, palette().color(QPalette::Active, QPalette::Light)));
        painter.drawImage(image.topLeft(),
                          ImageShape(source, palette().color(QPalette::Active, QPalette::Dark)));
    } else {
        painter.drawPixmap(image.topLeft(), pixmap);
    }
    painter.restore();
}

void SkinButton::PaintCaption(QPainter& painter, const QString& caption, const QRect&,
                              QRect& captionRect, bool pressed, bool disabled) {
    if (pressed && !isCheckable())
        captionRect.translate(m_pressShiftX, m_pressShiftY);

    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
    const QRect bounds = painter.fontMetrics().boundingRect(captionRect, flags, caption);
    QRect text(captionRect.topLeft(), bounds.size());
    text.translate((captionRect.width() - text.width()) / 2,
                   (captionRect.height() - text.height()) / 2);

    painter.save();
    if (disabled) {
        painter.setPen(palette().color(QPalette::Active, QPalette::Light));
        painter.drawText(text.translated(1, 1), flags, caption);
        painter.setPen(palette().color(QPalette::Active, QPalette::Dark));
        painter.drawText(text, flags, caption);
    } else {
        painter.setPen(StateColours().text);
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
            ResetColours(true);
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
