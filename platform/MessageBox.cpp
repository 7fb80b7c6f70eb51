#include "MessageBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
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
// frame left aside; a text that would make it larger scrolls inside it.
constexpr double kMaxHeightShare = 0.6;
constexpr double kMaxWidthShare = 0.9;

// A message box that never grows beyond the screen. Qt sizes the box for its
// whole text, wrapped to a width the screen allows, when it is shown; a text
// that makes it larger than the bounds then moves into a scrolling area of
// the box.
class BoundedMessageBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        const QScreen* shownOn = screen();
        if (!shownOn || m_scrolling)
            return;
        const QRect area = shownOn->availableGeometry();
        const int excessHeight =
            std::max(height() - static_cast<int>(area.height() * kMaxHeightShare), 0);
        const int excessWidth =
            std::max(width() - static_cast<int>(area.width() * kMaxWidthShare), 0);
        if (excessHeight == 0 && excessWidth == 0)
            return;
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        auto* grid = qobject_cast<QGridLayout*>(layout());
        if (!label || !grid)
            return;
        auto* scroll = new QScrollArea(this);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        scroll->setWidgetResizable(true);
        // The text wraps anew in what is left of its width, beside the
        // scroll bar.
        const QSize textSize = label->size();
        // The layout's entry for the label is handed back to be freed.
        std::unique_ptr<QLayoutItem>(grid->replaceWidget(label, scroll));
        scroll->setWidget(label);
        scroll->setFixedSize(std::max(textSize.width() - excessWidth, 0),
                             std::max(textSize.height() - excessHeight, 0));
        setFixedSize(width() - excessWidth, height() - excessHeight);
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
