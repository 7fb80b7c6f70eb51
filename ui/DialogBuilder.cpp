#include "DialogBuilder.h"

#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextLayout>
#include <QTreeWidget>

#include "IconResources.h"
#include "SkinButton.h"
#include "TextFitting.h"
#include "resource.h"

namespace {

// 9 points at 96 dots per inch. Set in pixels, so that the text keeps
// fitting the controls, whose sizes are in pixels too, on a screen of
// another resolution.
constexpr int kDialogFontPixels = 12;
// A standard icon, as the icon control of the about box shows it.
constexpr int kStandardIconPixels = 32;

QFont FirstInstalled(std::initializer_list<const char*> families, QFont fallback) {
    const QStringList installed = QFontDatabase::families();
    for (const char* family : families) {
        if (installed.contains(QString::fromUtf8(family), Qt::CaseInsensitive)) {
            QFont font(QString::fromUtf8(family));
            font.setPixelSize(kDialogFontPixels);
            return font;
        }
    }
    fallback.setPixelSize(kDialogFontPixels);
    return fallback;
}

// A static text of several lines: tabs stop every eight average character
// widths and lines are as far apart as the font is high, as the dialogs
// were laid out for; Qt's defaults (wider tab stops, and the leading of
// whichever Chinese font stands in) would push the last lines out of the
// control.
class StaticText : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent*) override {
        QString text = this->text();
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        QTextOption option(Qt::AlignLeft | Qt::AlignTop);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        option.setTabStopDistance(8.0 * fontMetrics().horizontalAdvance(QLatin1Char('x')));
        QTextLayout layout(text, font());
        layout.setTextOption(option);
        const int lineHeight = QFontInfo(font()).pixelSize() + 1;
        layout.beginLayout();
        for (int y = 0;; y += lineHeight) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(contentsRect().width());
            line.setPosition(QPointF(0, y));
        }
        layout.endLayout();
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        layout.draw(&painter, contentsRect().topLeft());
    }
};

void SetStaticEdge(QFrame* frame) {
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(1);
}

QWidget* CreateSkinButton(const ControlTemplate& c, QWidget* parent) {
    auto* button = new SkinButton(parent);
    button->setCheckable((c.style & kToggle) != 0);
    button->SetStaticEdge((c.style & kStaticEdge) != 0);
    button->setText(QString::fromUtf8(c.text));
    return button;
}

QWidget* CreateEdit(const ControlTemplate& c, QWidget* parent) {
    if (c.style & kMultiLine)
        return new QPlainTextEdit(parent);
    return new QLineEdit(parent);
}

// The template's style notes, on a standard control or on one a factory
// made.
void ApplyStyle(QWidget* widget, const ControlTemplate& c) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setReadOnly((c.style & kReadOnly) != 0);
        if (c.style & kRightAlign)
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        edit->setReadOnly((c.style & kReadOnly) != 0);
        edit->setLineWrapMode((c.style & kWordWrap) ? QPlainTextEdit::WidgetWidth
                                                    : QPlainTextEdit::NoWrap);
        edit->setVerticalScrollBarPolicy((c.style & kVScroll) ? Qt::ScrollBarAlwaysOn
                                                              : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // In a box the user cannot write, Tab moves on to the next control.
        edit->setTabChangesFocus(edit->isReadOnly());
    }
    if (auto* list = qobject_cast<QAbstractItemView*>(widget)) {
        if (c.style & kVScroll)
            list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    if (auto* frame = qobject_cast<QFrame*>(widget); frame && !qobject_cast<QLabel*>(widget)) {
        if (c.style & (kStaticEdge | kBorder))
            SetStaticEdge(frame);
    }
}

QWidget* CreateStandardControl(const ControlTemplate& c, QWidget* parent) {
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
        case ControlKind::SkinButton:
            return CreateSkinButton(c, parent);
        case ControlKind::PushButton: {
            auto* button = new QPushButton(text, parent);
            button->setDefault((c.style & kDefault) != 0);
            return button;
        }
        case ControlKind::Edit:
            return CreateEdit(c, parent);
        case ControlKind::Label: {
            const bool severalLines =
                text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\t'));
            auto* label = severalLines ? new StaticText(text, parent) : new QLabel(text, parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case ControlKind::Icon: {
            auto* label = new QLabel(parent);
            label->setPixmap(LoadIconPixmap(IDR_MAINFRAME, kStandardIconPixels));
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case ControlKind::GroupBox:
            return new QGroupBox(text, parent);
        case ControlKind::ListBox: {
            auto* list = new QListWidget(parent);
            list->setSortingEnabled((c.style & kSorted) != 0);
            return list;
        }
        case ControlKind::ListView: {
            auto* view = new QTreeWidget(parent);
            view->setRootIsDecorated(false);
            return view;
        }
    }
    return nullptr;
}

}  // namespace

QWidget* DialogControls::Get(int id) const {
    const auto it = m_byId.find(id);
    return it == m_byId.end() ? nullptr : it->second;
}

QRect ControlRect(const ControlTemplate& c, int framePixels) {
    const int left = DialogUnitsToPixels(c.x);
    const int top = DialogUnitsToPixels(c.y);
    const int right = DialogUnitsToPixels(c.x + c.cx);
    const int bottom = DialogUnitsToPixels(c.y + c.cy);
    return QRect(framePixels + left, framePixels + top, right - left, bottom - top);
}

DialogControls BuildDialogControls(QWidget* dialog, const DialogTemplate& layout, int framePixels,
                                   const ControlFactory& factory) {
    DialogControls controls;
    // A text labels the box or list that follows it in the template, as the
    // layouts were written: a screen reader names the control after it.
    // Buttons and group boxes have their own texts.
    QLabel* pendingLabel = nullptr;
    for (const ControlTemplate& c : layout.controls) {
        QWidget* widget = factory ? factory(c, dialog) : nullptr;
        if (!widget)
            widget = CreateStandardControl(c, dialog);
        ApplyStyle(widget, c);
        widget->setGeometry(ControlRect(c, framePixels));
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            pendingLabel = label->text().isEmpty() ? nullptr : label;
            if (c.kind == ControlKind::Label && !label->text().contains(QLatin1Char('\n')))
                label->setFont(FontFittingBox(dialog->font(), label->text(), label->size()));
        } else if (pendingLabel) {
            if (!qobject_cast<QGroupBox*>(widget) && !qobject_cast<QAbstractButton*>(widget)) {
                pendingLabel->setBuddy(widget);
                widget->setAccessibleName(pendingLabel->text());
            }
            pendingLabel = nullptr;
        }
        if (c.id != IDC_STATIC) {
            widget->setObjectName(QString::number(c.id));
            controls.Add(c.id, widget);
        }
        widget->setVisible((c.style & kHidden) == 0);
    }
    return controls;
}

DialogControls BuildCaptionedDialog(QWidget* dialog, int templateId) {
    const DialogTemplate& layout = FindDialogTemplate(templateId);
    dialog->setWindowTitle(QString::fromUtf8(layout.title));
    dialog->setFont(DialogFont());
    DialogControls controls = BuildDialogControls(dialog, layout, 0);
    dialog->setFixedSize(DialogUnitsToPixels(layout.cx), DialogUnitsToPixels(layout.cy));
    return controls;
}

QFont DialogFont() {
    return FirstInstalled({"SimSun", "宋体", "AR PL UMing CN", "Noto Serif CJK SC",
                           "WenQuanYi Zen Hei", "Noto Sans CJK SC", "WenQuanYi Micro Hei"},
                          QFontDatabase::systemFont(QFontDatabase::GeneralFont));
}

QFont FixedPitchFont() {
    return FirstInstalled({"NSimSun", "新宋体", "DejaVu Sans Mono", "WenQuanYi Zen Hei Mono",
                           "Noto Sans Mono CJK SC", "Liberation Mono"},
                          QFontDatabase::systemFont(QFontDatabase::FixedFont));
}
