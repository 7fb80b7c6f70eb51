#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "KeyState.h"
#include "MessageBox.h"

// A control of `window` by its object name in the window's form.
template <class T = QWidget>
T* ControlNamed(const QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromLatin1(name));
}

// Answers every message box with OK and keeps what it was asked to show.
class MessageBoxRecorder {
  public:
    MessageBoxRecorder()
        : m_previous(SetMessageBoxHook(
              [this](const MessageBoxRequest& request) { m_requests.push_back(request); })) {}
    ~MessageBoxRecorder() { SetMessageBoxHook(m_previous); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<MessageBoxRequest>& Requests() const { return m_requests; }

  private:
    std::vector<MessageBoxRequest> m_requests;
    MessageBoxHook m_previous;
};

// Num Lock as the window system would report it, for the life of the object.
class FakeNumLock {
  public:
    explicit FakeNumLock(std::function<std::optional<bool>()> reader)
        : m_previous(SetNumLockReader(std::move(reader))) {}
    ~FakeNumLock() { SetNumLockReader(m_previous); }
    FakeNumLock(const FakeNumLock&) = delete;
    FakeNumLock& operator=(const FakeNumLock&) = delete;

  private:
    NumLockReader m_previous;
};

// Runs `action` once on the next modal dialog that shows while the object
// lives; the caller then starts the step that opens the dialog.
class WhenModalOpens {
  public:
    explicit WhenModalOpens(std::function<void(QWidget*)> action) : m_action(std::move(action)) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            m_timer.stop();
            m_seen = modal->metaObject()->className();
            m_action(modal);
        });
        m_timer.start();
    }
    // The class of the dialog the action ran on, or "" while none came.
    const QString& SeenClass() const { return m_seen; }

  private:
    std::function<void(QWidget*)> m_action;
    QTimer m_timer;
    QString m_seen;
};
