#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

#include "SessionFile.h"
#include "SessionSettings.h"
#include "SessionStore.h"

class KeptWindow;
class QAction;
class QWidget;

// Keeps a window's history, variables and state between runs: restores
// them when the window opens, and writes them after every change a user
// would be sorry to lose (a computation, an accepted grid edit, a row added
// or removed, the size, keep-on-top, a move once it ends). Its two window
// menu entries turn keeping on and off and clear the history. With keeping
// off nothing is read or written but the switch itself.
class SessionKeeper : public QObject {
    Q_OBJECT
  public:
    // `widget` is the window `window` shows in.
    SessionKeeper(QWidget& widget, KeptWindow& window);
    ~SessionKeeper() override;

    // Puts back what was kept, before the window is shown; a file that did
    // not read whole is told of once the window shows.
    void Restore();

    // "退出后保留历史和变量" (checkable) and "清除历史".
    QList<QAction*> MenuActions() const;

    // A named on/off switch of the window, remembered between runs whether
    // or not the session is kept.
    bool Switch(const QString& name, bool byDefault) const;
    void SetSwitch(const QString& name, bool on);
    // A named number, remembered the same way.
    std::optional<double> Number(const QString& name) const;
    void SetNumber(const QString& name, double value);

    // Writes the history and the variables: after a computation, a cleared
    // history, an accepted grid edit.
    void SaveSession();
    // Writes the size, keep-on-top and place.
    void SaveWindowState();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnKeepToggled(bool on);
    void OnClearHistory();
    KeptSession WindowSession() const;
    void PutBack(const KeptSession& session);
    void RestoreWindowState();
    // Tells once the window shows what could not be read back.
    void ReportLoad(const SessionStore::Loaded& loaded);
    // Says once in a run that the session cannot be kept.
    void ReportWriteFailure();
    void ShowNote(const QString& text);

    QWidget& m_widget;
    KeptWindow& m_window;
    SessionSettings m_settings;
    SessionStore m_store;
    QAction* m_keepAction;
    QAction* m_clearHistoryAction;
    // A move is written once the window has stood still for a moment.
    QTimer m_moveSettled;
    QString m_pendingNote;
    bool m_toldWriteFailure = false;
    bool m_restoring = false;
};
