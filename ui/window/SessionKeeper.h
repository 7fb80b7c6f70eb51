#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

#include "SessionFile.h"
#include "SessionSettings.h"
#include "SessionStore.h"

class HistoryModel;
class VariablesModel;
class QAction;
class QWidget;

// Keeps a window's history, variables and state between runs. It puts a
// kept session into the models before the window shows them, and from then
// on observes: every change of the models (a computation, a cleared
// history, an accepted grid edit, a row added or removed), of the window's
// size and keep-on-top actions, and a move once it ends, is written. It
// never calls the window back. Its two window menu entries turn keeping on
// and off and clear the history. With keeping off nothing is read or
// written but the switch itself.
class SessionKeeper : public QObject {
    Q_OBJECT
  public:
    SessionKeeper(HistoryModel& history, VariablesModel& variables);
    ~SessionKeeper() override;

    // Puts what was kept into the models, then saves their every change; a
    // file that did not read whole is told of once the window shows.
    void Load();
    // Puts the window back as it was left (its full size and keep-on-top,
    // both checkable actions, and its place), then keeps them. A place no
    // screen shows enough of is not put back.
    void KeepWindow(QWidget& window, QAction& expanded, QAction& topMost);

    // "退出后保留历史和变量" (checkable) and "清除历史".
    QList<QAction*> MenuActions() const;

    // A named on/off switch of the window, remembered between runs whether
    // or not the session is kept.
    bool Switch(const QString& name, bool byDefault) const;
    void SetSwitch(const QString& name, bool on);
    // A named number, remembered the same way.
    std::optional<double> Number(const QString& name) const;
    void SetNumber(const QString& name, double value);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SaveSession();
    void SaveWindowState();
    void OnKeepToggled(bool on);
    void OnClearHistory();
    KeptSession ModelSession() const;
    void RestoreWindowState();
    // Tells once the window shows what could not be read back.
    void ReportLoad(const SessionStore::Loaded& loaded);
    // Says once in a run that the session cannot be kept.
    void ReportWriteFailure();
    void ShowNote(const QString& text);

    HistoryModel& m_history;
    VariablesModel& m_variables;
    QPointer<QWidget> m_window;
    QPointer<QAction> m_expanded;
    QPointer<QAction> m_topMost;
    SessionSettings m_settings;
    SessionStore m_store;
    QAction* m_keepAction;
    QAction* m_clearHistoryAction;
    // A move is written once the window has stood still for a moment.
    QTimer m_moveSettled;
    // Where the window was put or last written: being there again is no move.
    QPoint m_keptPlace;
    QString m_pendingNote;
    bool m_toldWriteFailure = false;
};
