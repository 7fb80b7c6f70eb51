#include "MessageBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <algorithm>
#include <memory>
#include <utility>

#include "WindowStacking.h"

namespace {

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

// The largest shares of the screen's height and width a box takes, its
// frame left aside, and the widest a box of a long text is made.
constexpr double kMaxHeightShare = 0.6;
constexpr double kMaxWidthShare = 0.9;
constexpr int kLongTextWidth = 800;
// Longer texts never go through Qt's label: measuring them as one takes
// seconds, and they would not fit anyway.
constexpr qsizetype kLongTextLength = 4096;
// A box shows at most this much of a text, its beginning and its end with an
// ellipsis between them: laying out a megabyte as one paragraph would hold
// the window for most of a minute, and nobody reads that far in a message.
// The end is where a message names the error and quotes its place.
constexpr qsizetype kShownTextLength = 65536;

QString ShownPart(const QString& text) {
    if (text.size() <= kShownTextLength)
        return text;
    qsizetype head = kShownTextLength / 2;
    if (text.at(head - 1).isHighSurrogate())
        --head;
    qsizetype tail = kShownTextLength / 2;
    if (text.at(text.size() - tail).isLowSurrogate())
        --tail;
    return text.left(head) + QChar(0x2026) + text.right(tail);
}

// A message box that never grows beyond the screen. Qt sizes the box for its
// whole text when it is shown, and a word wider than the screen (a long
// name) or a text of many lines makes it larger than the screen. Such a
// text moves into a box of its own inside the message box, which wraps it
// anywhere and scrolls.
class BoundedMessageBox : public QMessageBox {
  public:
    BoundedMessageBox(Icon icon, const QString& caption, const QString& text, QWidget* owner)
        : QMessageBox(icon, caption, text.size() > kLongTextLength ? QString() : text,
                      QMessageBox::Ok, owner),
          m_longText(text.size() > kLongTextLength ? ShownPart(text) : QString()) {}

  protected:
    bool event(QEvent* event) override {
        // Qt sizes the box anew for the label on every layout request; once
        // the text has its own box, the bounded size stands.
        if (m_scrolling && event->type() == QEvent::LayoutRequest)
            return QDialog::event(event);
        return QMessageBox::event(event);
    }

    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        const QScreen* shownOn = screen();
        if (!shownOn || m_scrolling)
            return;
        const QRect area = shownOn->availableGeometry();
        const QSize bound(static_cast<int>(area.width() * kMaxWidthShare),
                          static_cast<int>(area.height() * kMaxHeightShare));
        const bool tooLarge = width() > bound.width() || height() > bound.height();
        if (m_longText.isEmpty() && !tooLarge)
            return;
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        auto* grid = qobject_cast<QGridLayout*>(layout());
        if (!label || !grid)
            return;
        auto* text = new QPlainTextEdit(this);
        text->setReadOnly(true);
        text->setFrameShape(QFrame::NoFrame);
        text->setBackgroundRole(QPalette::Window);
        text->viewport()->setBackgroundRole(QPalette::Window);
        text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        text->setPlainText(m_longText.isEmpty() ? label->text() : m_longText);
        text->setAccessibleName(windowTitle());
        // The layout's entry for the label is handed back to be freed.
        std::unique_ptr<QLayoutItem>(grid->replaceWidget(label, text));
        label->hide();
        // As tall as the screen allows: a box sized for the label's one long
        // line would show a few lines of the text and hide its end.
        setFixedSize(std::min(bound.width(), std::max(width(), kLongTextWidth)), bound.height());
        m_scrolling = true;
    }

  private:
    QString m_longText;
    bool m_scrolling = false;
};

}  // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

void ShowMessageBox(QWidget* owner, const QString& text, const QString& caption,
                    QMessageBox::Icon icon) {
    if (Hook()) {
        Hook()(MessageBoxRequest{owner, text, caption, icon});
        return;
    }
    BoundedMessageBox box(icon, caption, text, owner);
    KeepAboveOwner(&box, owner);
    box.exec();
}
