#pragma once

#include <QDialog>
#include <QEvent>
#include <QIcon>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <memory>
#include <optional>
#include <string>

#include "HistoryModel.h"
#include "SessionUse.h"
#include "SharedVariables.h"
#include "VarTable.h"
#include "VariablesModel.h"

class CommitComputation;
struct CommitOutcome;
class GraphWindow;
class HelpDlg;
class HistoryExportActions;
class HistorySearch;
class LiveComputation;
struct LiveOutcome;
class ResultBox;
class SessionKeeper;
class NaturalFormDrawer;
class NaturalFormDrawing;
class ExpressionTree;
class NaturalFormView;
class SkinButton;
class VarListCtrl;
class ExpressionEdit;
class QListView;
class QAction;
class QKeyEvent;
class QKeySequence;
class QLineEdit;
class QMenu;

// The calculator's main window: the expression box and "=" on top, the
// result beside them; in the full size also the natural form, the history
// and the variables. It has no caption: it is dragged by its free surface
// and its window menu opens with a right click there.
class CalcDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CalcDlg(QWidget* parent = nullptr, SessionUse session = SessionUse::Forgotten);
    ~CalcDlg() override;

    // The natural form the box shows (the last computation's, or while
    // typing the expression's), in the engine's UTF-8, each line ended by
    // "\n"; waits for its drawing if it is not yet made.
    const std::string& NaturalText();
    // Draws the natural form of `tree` off the window's thread and shows it
    // in the natural-form box when done; a drawing asked for before and not
    // yet shown is dropped. The compact window, which hides the box, keeps
    // the tree until the box is shown or its text asked for.
    void ShowNaturalFormOf(std::shared_ptr<const ExpressionTree> tree);
    bool IsExpanded() const { return m_expanded; }
    bool IsTopMost() const;
    // What the next computation reads.
    const VarTable& Variables() const { return m_variables.Table(); }
    // The rows of the variables grid and of the history.
    VariablesModel& VariableRows() { return m_variables; }
    HistoryModel& History() { return m_history; }
    QStringList HistoryEntries() const { return m_history.Entries(); }
    // The help window opened last, while it exists.
    HelpDlg* HelpWindow() const;

    // The window menu, which a right click on the free surface opens:
    // minimize, close, computing while typing; after a separator the graph
    // (F5); after another the about entry; a window that keeps its session
    // adds, after another, the keep switch and 清除历史.
    std::unique_ptr<QMenu> CreateWindowMenu();

    // Whether the expression is computed after each edit, its value shown
    // muted and its error marked in place (on when the window opens). Off,
    // nothing shows before the compute command.
    void SetComputeWhileTyping(bool on);
    bool ComputesWhileTyping() const;
    QAction* ComputeWhileTypingAction() const { return m_computeWhileTypingAction; }

    // The window's session, when it keeps one: its named on/off switches
    // are remembered there.
    SessionKeeper* Session() const { return m_session.get(); }

    // Every way of closing the window ends here: an open cell edit is
    // dropped as Escape drops it, and the window closes.
    void done(int result) override;

  signals:
    // The expression the graph window draws: after each edit while the
    // window computes while typing, else at each computation.
    void ExpressionFollowed(const QString& expression, const VarTable& variables);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // The commands of the window's buttons, list and menu.
    void OnCompute();
    void ShowCommitOutcome(const CommitOutcome& outcome);
    // Escape: stops a computation under way, or else clears the expression.
    void OnEscape();
    void OnHistoryDblClk();
    void ShowExpanded(bool expanded);
    void ShowTopMost(bool onTop);
    void OnAbout();
    void OnEditExpr();
    void OnHelp();
    void OnGraph();
    void OnAddVar();
    void OnExpressionEdited();
    void ShowLiveOutcome(const LiveOutcome& outcome);
    void OnComputeWhileTypingToggled(bool on);

    void OnInitDialog();
    void BuildControls();
    void CreateActions();
    void CreateLiveComputation();
    void CreateCommitComputation();
    // A command of the window, named `name`, given by `keys` where the
    // focus is within `owner` (the window's own context) or on it.
    QAction* AddAction(const char* name, const QList<QKeySequence>& keys,
                       Qt::ShortcutContext context = Qt::WindowShortcut, QWidget* owner = nullptr);
    void SetWindowTitleFromTable();
    void SetButtonFaces();
    // The window's size, full or compact, as its panels make it.
    QSize WindowSize(bool full) const;
    void ResizeWindow(bool full);
    void SetStaysOnTop(bool on);
    // Takes the blanks, tabs and line ends out of the expression box's
    // text, which then shows what the engine reads.
    void StripWhitespace();
    // Starts drawing the form the compact window kept.
    void DrawPendingNaturalForm();
    // Puts the last computation's natural form back in its box.
    void ShowCommittedNaturalForm();
    void AddToHistory(const QString& expression, const QString& result);
    void ShowComputeError(const QString& text, std::optional<std::size_t> position);
    void ClearExpression();
    void CopyResultToClipboard();
    void ShowWindowMenu(const QPoint& globalPos);
    void FocusExpression();
    bool NumLockTurnedOff(QEvent::Type keyEventType);

    // Controls, in the order the window binds them.
    SkinButton* m_helpButton = nullptr;
    SkinButton* m_aboutButton = nullptr;
    SkinButton* m_deleteVarButton = nullptr;
    SkinButton* m_editorButton = nullptr;
    SkinButton* m_addVarButton = nullptr;
    SkinButton* m_computeButton = nullptr;
    SkinButton* m_exitButton = nullptr;
    SkinButton* m_topMostButton = nullptr;
    VarListCtrl* m_varList = nullptr;
    QListView* m_historyList = nullptr;
    // The history's filter field and the menu entries that take it away.
    HistorySearch* m_historySearch = nullptr;
    HistoryExportActions* m_historyExport = nullptr;
    SkinButton* m_modeButton = nullptr;
    ExpressionEdit* m_expressionBox = nullptr;
    ResultBox* m_resultBox = nullptr;
    NaturalFormView* m_naturalBox = nullptr;
    // The compact window shows the first panel, the full one both.
    QWidget* m_compactPanel = nullptr;
    QWidget* m_fullPanel = nullptr;

    // Commands the window menu or a shortcut switch refer to.
    QAction* m_computeAction = nullptr;
    QAction* m_goToExpressionAction = nullptr;
    QAction* m_minimizeAction = nullptr;
    QAction* m_closeAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QAction* m_computeWhileTypingAction = nullptr;
    // The full size and keep-on-top, checked or not.
    QAction* m_expandAction = nullptr;
    QAction* m_topMostAction = nullptr;
    QAction* m_graphAction = nullptr;
    LiveComputation* m_live = nullptr;
    CommitComputation* m_commit = nullptr;

    // The tree of a result computed in the compact window, which hides its
    // form: drawn when the box is first shown or its text asked for.
    std::shared_ptr<const ExpressionTree> m_pendingNatural;
    NaturalFormDrawer* m_naturalDrawer = nullptr;
    // What the natural-form box shows for the last computation, put back
    // when typing drew something else and then a computation fails or
    // typing's drawings are turned off: its tree until its drawing is made,
    // then the drawing alone.
    std::shared_ptr<const ExpressionTree> m_committedTree;
    std::shared_ptr<const NaturalFormDrawing> m_committedDrawing;
    // Whether the drawing asked for last is the last computation's.
    bool m_drawsCommitted = true;
    QIcon m_icon;
    // Outlive the keeper, which observes them.
    HistoryModel m_history;
    VariablesModel m_variables;
    SharedVariables m_sharedVariables{m_variables.Table()};
    bool m_expanded = false;
    QPointer<HelpDlg> m_helpWindow;
    QPointer<GraphWindow> m_graphWindow;

    // Dragging by hand where the window manager does not move the window.
    std::optional<QPoint> m_dragOffset;
    std::unique_ptr<SessionKeeper> m_session;

    // Num Lock's state as counted from its presses, where the window system
    // cannot be asked.
    bool m_numLockCounted = true;
};
