#include "ScreenReaderNotice.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QApplication>
#include <QWidget>

namespace {

// Not one of the owner's children to a reader, who walks the window's
// controls: only the notification's appearing is for the reader.
class NoticeAccessible : public QAccessibleObject {
  public:
    explicit NoticeAccessible(ScreenReaderNotice* notice) : QAccessibleObject(notice) {}

    QAccessible::Role role() const override { return QAccessible::Notification; }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? Notice()->Text() : QString();
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        // A reader passes over an object without states.
        state.invisible = Notice()->Text().isEmpty();
        state.readOnly = true;
        return state;
    }
    QRect rect() const override {
        const QWidget* owner = Notice()->Owner();
        return QRect(owner->mapToGlobal(QPoint(0, 0)), owner->size());
    }
    // The program's, as a desktop's notifications are: a reader then speaks
    // the text without the window's name before it each time.
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(qApp);
    }
    QWindow* window() const override { return Notice()->Owner()->window()->windowHandle(); }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  private:
    ScreenReaderNotice* Notice() const { return static_cast<ScreenReaderNotice*>(object()); }
};

QAccessibleInterface* MakeInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(ScreenReaderNotice::staticMetaObject.className()))
        return new NoticeAccessible(static_cast<ScreenReaderNotice*>(object));
    return nullptr;
}

}  // namespace

ScreenReaderNotice::ScreenReaderNotice(QWidget* owner) : QObject(owner), m_owner(owner) {
    static const bool installed = [] {
        QAccessible::installFactory(MakeInterface);
        return true;
    }();
    (void)installed;
}

void ScreenReaderNotice::Tell(const QString& text) {
    m_text = text;
    // The name first, so that a reader does not keep the last one; then the
    // notification goes and comes again, which a reader speaks.
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent hidden(this, QAccessible::ObjectHide);
    QAccessible::updateAccessibility(&hidden);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}
