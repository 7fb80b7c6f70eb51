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

QMessageBox::Icon IconOf(unsigned type) {
    switch (type & 0xF0) {
        case MB_ICONERROR:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONWARNING:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// The largest shares of the screen's height and width a box takes, its
// frame left aside.
constexpr double kMaxHeightShare = 0.6;
constexpr double kMaxWidthShare = 0.9;

// A message box that never grows beyond the screen. Qt sizes the box for its
// whole text when it is shown, and a word wider than the screen (a long
// name) or a text of many lines makes it larger than the screen. Such a
// text moves into a box of its own inside the message box, which wraps it
// anywhere and scrolls.
class BoundedMessageBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

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
        if (width() <= bound.width() && height() <= bound.height())
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
        text->setPlainText(label->text());
        text->setAccessibleName(windowTitle());
        // The layout's entry for the label is handed back to be freed.
        std::unique_ptr<QLayoutItem>(grid->replaceWidget(label, text));
        label->hide();
        setFixedSize(size().boundedTo(bound));
        m_scrolling = true;
    }

  private:
    bool m_scrolling = false;
};

}  // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned type) {
    if (Hook())
        return Hook()(MessageBoxRequest{owner, text, caption, type});

    BoundedMessageBox box(IconOf(type), caption, text, QMessageBox::Ok, owner);
    KeepAboveOwner(&box, owner);
    box.exec();
    return 1;
}
