#include "SessionKeeper.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>
#include <algorithm>

#include "HistoryModel.h"
#include "MessageBox.h"
#include "VariablesModel.h"
#include "WindowTexts.h"

namespace {

// A window is put back where it was left only while this much of it each
// way, or all of a smaller window, would still be on a screen to take hold
// of; otherwise it opens where a new one does.
constexpr qint64 kMinVisibleEdge = 40;
// A move is over once the window has stood still this long.
constexpr int kMoveSettleMs = 400;

// The length of [from, from + length) that falls in [start, start + span).
qint64 Overlap(qint64 start, qint64 span, qint64 from, qint64 length) {
    return std::min(start + span, from + length) - std::max(start, from);
}

// Counted in 64 bits: a place read back may lie anywhere in the range of
// an int, where a rectangle's far edge would overflow.
bool OnSomeScreen(QPoint place, QSize size) {
    const qint64 width = std::min<qint64>(kMinVisibleEdge, size.width());
    const qint64 height = std::min<qint64>(kMinVisibleEdge, size.height());
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect available = screen->availableGeometry();
        if (Overlap(available.x(), available.width(), place.x(), size.width()) >= width &&
            Overlap(available.y(), available.height(), place.y(), size.height()) >= height)
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

SessionKeeper::SessionKeeper(HistoryModel& history, VariablesModel& variables)
    : m_history(history),
      m_variables(variables),
      m_store(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)),
      m_keepAction(new QAction(this)),
      m_clearHistoryAction(new QAction(this)) {
    m_keepAction->setObjectName(QStringLiteral("keepSessionAction"));
    m_keepAction->setText(WindowText(WindowTexts::kKeepSessionMenu));
    m_keepAction->setCheckable(true);
    m_keepAction->setChecked(m_settings.KeepsSession());
    connect(m_keepAction, &QAction::toggled, this, &SessionKeeper::OnKeepToggled);
    m_clearHistoryAction->setObjectName(QStringLiteral("clearHistoryAction"));
    m_clearHistoryAction->setText(WindowText(WindowTexts::kClearHistoryMenu));
    connect(m_clearHistoryAction, &QAction::triggered, this, &SessionKeeper::OnClearHistory);
    m_moveSettled.setSingleShot(true);
    m_moveSettled.setInterval(kMoveSettleMs);
    connect(&m_moveSettled, &QTimer::timeout, this, &SessionKeeper::SaveWindowState);
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

void SessionKeeper::Load() {
    if (m_settings.KeepsSession()) {
        const SessionStore::Loaded loaded = m_store.Load();
        m_history.Append(loaded.session.history, loaded.session.HistoryResults());
        QList<VariableText> variables;
        variables.reserve(loaded.session.variables.size());
        for (const KeptVariable& variable : loaded.session.variables)
            variables.append({variable.name, variable.value});
        m_variables.Reset(variables);
        ReportLoad(loaded);
        // The file was moved aside: what read well is written again at
        // once, not only at the next change.
        if (!loaded.setAsideTo.isEmpty())
            SaveSession();
    }
    // Only now: what was just put back is no change.
    for (QAbstractItemModel* model : {static_cast<QAbstractItemModel*>(&m_history),
                                      static_cast<QAbstractItemModel*>(&m_variables)}) {
        connect(model, &QAbstractItemModel::rowsInserted, this, &SessionKeeper::SaveSession);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &SessionKeeper::SaveSession);
        connect(model, &QAbstractItemModel::dataChanged, this, &SessionKeeper::SaveSession);
        connect(model, &QAbstractItemModel::modelReset, this, &SessionKeeper::SaveSession);
    }
}

std::optional<double> SessionKeeper::Number(const QString& name) const {
    return m_settings.Number(name);
}

void SessionKeeper::SetNumber(const QString& name, double value) {
    m_settings.SetNumber(name, value);
}

void SessionKeeper::KeepWindow(QWidget& window, QAction& expanded, QAction& topMost) {
    m_window = &window;
    m_expanded = &expanded;
    m_topMost = &topMost;
    // The window's menu shows them; they are the window's.
    m_keepAction->setParent(&window);
    m_clearHistoryAction->setParent(&window);
    if (m_settings.KeepsSession())
        RestoreWindowState();
    m_keptPlace = window.pos();
    connect(&expanded, &QAction::toggled, this, &SessionKeeper::SaveWindowState);
    connect(&topMost, &QAction::toggled, this, &SessionKeeper::SaveWindowState);
    window.installEventFilter(this);
}

void SessionKeeper::RestoreWindowState() {
    const SessionSettings::WindowState state = m_settings.ReadWindowState();
    // The size first: the place is checked for the size the window has.
    m_expanded->setChecked(state.expanded);
    m_topMost->setChecked(state.topMost);
    // A place is checked before the window goes there: a widget far out
    // in the range of an int cannot tell its own size.
    const QPoint fresh = m_window->pos();
    const QSize size = m_window->size();
    if (!state.geometry.isEmpty()) {
        m_window->restoreGeometry(state.geometry);
        if (!OnSomeScreen(m_window->pos(), size))
            m_window->move(fresh);
    } else if (state.position && OnSomeScreen(*state.position, size)) {
        m_window->move(*state.position);
    }
}

KeptSession SessionKeeper::ModelSession() const {
    KeptSession session;
    session.history = m_history.Entries();
    const QStringList& results = m_history.Results();
    for (qsizetype i = 0; i < results.size(); ++i) {
        if (!results[i].isEmpty())
            session.results.insert(SessionKey(session.history[i]), results[i]);
    }
    for (const VariableText& variable : m_variables.Variables())
        session.variables.append({variable.name, variable.value});
    return session;
}

void SessionKeeper::SaveSession() {
    if (!m_settings.KeepsSession())
        return;
    // Asked again under the store's lock: the other window turns keeping
    // off before it deletes the file under that lock, so this write either
    // comes before the deletion or sees the switch off.
    if (!m_store.Save(ModelSession(), [this] { return m_settings.KeepsSession(); }))
        ReportWriteFailure();
}

void SessionKeeper::SaveWindowState() {
    m_moveSettled.stop();
    if (!m_window || !m_settings.KeepsSession())
        return;
    m_settings.WriteWindowState(
        {std::nullopt, m_window->saveGeometry(), m_expanded->isChecked(), m_topMost->isChecked()});
    m_keptPlace = m_window->pos();
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
        QMessageBox::question(m_window, WindowText(WindowTexts::kSessionTitle),
                              WindowText(WindowTexts::kClearHistoryQuestion),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        m_history.Clear();
}

void SessionKeeper::ReportLoad(const SessionStore::Loaded& loaded) {
    if (loaded.refused) {
        m_pendingNote = WindowText(WindowTexts::kSessionNotRead).arg(m_store.FilePath());
        // Its writes fail too; that was just said.
        m_toldWriteFailure = true;
    } else if (loaded.leftAlone) {
        m_pendingNote = WindowText(WindowTexts::kSessionUnwritable).arg(m_store.LastError());
        m_toldWriteFailure = true;
    } else if (loaded.problems.Any()) {
        const QString where = loaded.setAsideTo.isEmpty() ? m_store.FilePath() : loaded.setAsideTo;
        m_pendingNote = WindowText(WindowTexts::kSessionSkipped)
                            .arg(SkippedParts(loaded.problems).join(QStringLiteral("，")), where);
    }
    if (!m_pendingNote.isEmpty() && m_window && m_window->isVisible())
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
    ShowMessageBox(m_window, text, WindowText(WindowTexts::kSessionTitle),
                   QMessageBox::Information);
}

bool SessionKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window) {
        switch (event->type()) {
            case QEvent::Move:
                if (m_window->isVisible() && m_window->pos() != m_keptPlace)
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
