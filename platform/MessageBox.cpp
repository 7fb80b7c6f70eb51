#include "MessageBox.h"

#include <QMessageBox>
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

}  // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned type) {
    if (Hook())
        return Hook()(MessageBoxRequest{owner, text, caption, type});

    QMessageBox box(IconOf(type), caption, text, QMessageBox::Ok, owner);
    KeepAboveOwner(&box, owner);
    box.exec();
    return 1;
}
