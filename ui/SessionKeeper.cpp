#include "SessionKeeper.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>

#include "KeptWindow.h"
#include "MessageBox.h"
#include "VarListCtrl.h"
#include "WindowTexts.h"

namespace {

// A window is put back where it was left only while this much of it would
// still be on a screen to take hold of; otherwise it opens where a new one
// does.
constexpr int kMinVisibleEdge = 40;
// A move is over once the window has stood still this long.
constexpr int kMoveSettleMs = 400;

bool OnSomeScreen(const QRect& window) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect visible = screen->availableGeometry().intersected(window);
        if (visible.width() >= kMinVisibleEdge && visible.height() >= kMinVisibleEdge)
            return true;
    }
    return false;
}

// What was skipped, as the message lists it.
QStringList SkippedParts(const SessionReadProblems& problems) {
    QStringList parts;
    if (problems.tooLarge)
        parts << WindowText(WindowTexts::kSessionTooLarge);
    if (problems.damaged)
        parts << WindowText(WindowTexts::kSessionDamaged);
    if (problems.newerVersion)
        parts << WindowText(WindowTexts::kSessionNewer);
    if (problems.notUtf8)
        parts << WindowText(WindowTexts::kSessionNotUtf8);
    if (problems.skippedHistory > 0)
        parts << WindowText(WindowTexts::kSessionSkippedHistory).arg(problems.skippedHistory);
    if (problems.skippedVariables > 0)
        parts << WindowText(WindowTexts::kSessionSkippedVariables).arg(problems.skippedVariables);
    return parts;
}

}  // namespace

SessionKeeper::SessionKeeper(QWidget& widget, KeptWindow& window)
    : m_widget(widget),
      m_window(window),
      m_store(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)),
      m_keepAction(new QAction(&widget)),
      m_clearHistoryAction(new QAction(&widget)) {
    m_keepAction->setObjectName(QStringLiteral("keepSessionAction"));
    m_keepAction->setText(WindowText(WindowTexts::kKeepSessionMenu));
    m_keepAction->setCheckable(true);
    m_keepAction->setChecked(m_settings.KeepsSession());
    connect(m_keepAction, &QAction::toggled, this, &SessionKeeper::OnKeepToggled);
    m_clearHistoryAction->setObjectName(QStringLiteral("clearHistoryAction"));
    m_clearHistoryAction->setText(WindowText(WindowTexts::kClearHistoryMenu));
    connect(m_clearHistoryAction, &QAction::triggered, this, &SessionKeeper::OnClearHistory);

    connect(&m_window.VariableGrid(), &VarListCtrl::RowsEdited, this, &SessionKeeper::SaveSession);
    m_moveSettled.setSingleShot(true);
    m_moveSettled.setInterval(kMoveSettleMs);
    connect(&m_moveSettled, &QTimer::timeout, this, &SessionKeeper::SaveWindowState);
    m_widget.installEventFilter(this);
}

SessionKeeper::~SessionKeeper() = default;

QList<QAction*> SessionKeeper::MenuActions() const {
    return {m_keepAction, m_clearHistoryAction};
}

bool SessionKeeper::Switch(const QString& name, bool byDefault) const {
    return m_settings.Switch(name, byDefault);
}

void SessionKeeper::SetSwitch(const QString& name, bool on) {
    m_settings.SetSwitch(name, on);
}

std::optional<double> SessionKeeper::Number(const QString& name) const {
    return m_settings.Number(name);
}

void SessionKeeper::SetNumber(const QString& name, double value) {
    m_settings.SetNumber(name, value);
}

void SessionKeeper::Restore() {
    if (!m_settings.KeepsSession())
        return;
    m_restoring = true;
    const SessionStore::Loaded loaded = m_store.Load();
    PutBack(loaded.session);
    RestoreWindowState();
    m_restoring = false;
    ReportLoad(loaded);
    // The file was moved aside: what read well is written again at once,
    // not only at the next change.
    if (!loaded.setAsideTo.isEmpty())
        SaveSession();
}

void SessionKeeper::PutBack(const KeptSession& session) {
    m_window.AppendHistory(session.history);
    VarListCtrl& grid = m_window.VariableGrid();
    for (const KeptVariable& variable : session.variables)
        grid.InsertItem(grid.GetItemCount(), variable.name, variable.value);
}

void SessionKeeper::RestoreWindowState() {
    const SessionSettings::WindowState state = m_settings.ReadWindowState();
    m_window.SetExpanded(state.expanded);
    m_window.SetTopMost(state.topMost);
    if (state.position && OnSomeScreen(QRect(*state.position, m_widget.size())))
        m_widget.move(*state.position);
}

KeptSession SessionKeeper::WindowSession() const {
    KeptSession session;
    session.history = m_window.HistoryEntries();
    const VarListCtrl& grid = m_window.VariableGrid();
    for (int row = 0; row < grid.GetItemCount(); ++row) {
        // A row just added is no variable until it is named.
        if (!grid.IsUnnamedNewRow(row))
            session.variables.append({grid.GetItemText(row, 0), grid.GetItemText(row, 1)});
    }
    return session;
}

void SessionKeeper::SaveSession() {
    if (m_restoring || !m_settings.KeepsSession())
        return;
    if (!m_store.Save(WindowSession()))
        ReportWriteFailure();
}

void SessionKeeper::SaveWindowState() {
    m_moveSettled.stop();
    if (m_restoring || !m_settings.KeepsSession())
        return;
    m_settings.WriteWindowState({m_widget.pos(), m_window.IsExpanded(), m_window.IsTopMost()});
    if (!m_settings.Written())
        ReportWriteFailure();
}

void SessionKeeper::OnKeepToggled(bool on) {
    m_settings.SetKeepsSession(on);
    if (on) {
        SaveSession();
        SaveWindowState();
        return;
    }
    m_moveSettled.stop();
    m_store.Forget();
    m_settings.ForgetWindowState();
}

void SessionKeeper::OnClearHistory() {
    const QMessageBox::StandardButton answer =
        QMessageBox::question(&m_widget, WindowText(WindowTexts::kSessionTitle),
                              WindowText(WindowTexts::kClearHistoryQuestion),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        m_window.ClearHistory();
}

void SessionKeeper::ReportLoad(const SessionStore::Loaded& loaded) {
    if (loaded.refused) {
        m_pendingNote = WindowText(WindowTexts::kSessionNotRead).arg(m_store.FilePath());
        // Its writes fail too; that was just said.
        m_toldWriteFailure = true;
    } else if (loaded.problems.Any()) {
        const QString where = loaded.setAsideTo.isEmpty() ? m_store.FilePath() : loaded.setAsideTo;
        m_pendingNote = WindowText(WindowTexts::kSessionSkipped)
                            .arg(SkippedParts(loaded.problems).join(QStringLiteral("，")), where);
    }
    if (!m_pendingNote.isEmpty() && m_widget.isVisible())
        ShowNote(std::exchange(m_pendingNote, QString()));
}

void SessionKeeper::ReportWriteFailure() {
    if (std::exchange(m_toldWriteFailure, true))
        return;
    const QString reason = m_settings.Written() ? m_store.LastError() : m_settings.FilePath();
    // Not from inside the change that failed: the computation or the edit
    // finishes first.
    QTimer::singleShot(0, this, [this, reason] {
        ShowNote(WindowText(WindowTexts::kSessionUnwritable).arg(reason));
    });
}

void SessionKeeper::ShowNote(const QString& text) {
    ShowMessageBox(&m_widget, text, WindowText(WindowTexts::kSessionTitle),
                   QMessageBox::Information);
}

bool SessionKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_widget) {
        switch (event->type()) {
            case QEvent::Move:
                if (m_widget.isVisible() && !m_restoring)
                    m_moveSettled.start();
                break;
            case QEvent::Show:
                if (!m_pendingNote.isEmpty()) {
                    QTimer::singleShot(0, this, [this] {
                        if (!m_pendingNote.isEmpty())
                            ShowNote(std::exchange(m_pendingNote, QString()));
                    });
                }
                break;
            case QEvent::Hide:
                if (m_moveSettled.isActive())
                    SaveWindowState();
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}
