#include "CalcDlg.h"

#include <qdrawutil.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <array>
#include <new>

#include "AboutDlg.h"
#include "CommitComputation.h"
#include "DecimalText.h"
#include "DialogFonts.h"
#include "EngineTexts.h"
#include "ExpCompute.h"
#include "ExprEditDlg.h"
#include "ExpressionEdit.h"
#include "GraphWindow.h"
#include "HelpDlg.h"
#include "HistoryExportActions.h"
#include "HistorySearch.h"
#include "IconResources.h"
#include "KeyState.h"
#include "LiveComputation.h"
#include "MessageBox.h"
#include "NaturalFormDrawer.h"
#include "NaturalFormView.h"
#include "NaturalFormViewAccessible.h"
#include "ResultBox.h"
#include "SessionKeeper.h"
#include "SkinButton.h"
#include "TypingHelper.h"
#include "UiText.h"
#include "VarListCtrl.h"
#include "WindowKeys.h"
#include "WindowStacking.h"
#include "WindowTexts.h"
#include "ui_CalcDlg.h"

namespace {

constexpr int kNaturalLineWidth = 50;

// The window title, kept as numbers: character i is the low byte of entry i
// plus i.
constexpr std::array<int, 40> kTitleTable = {
    84, 96, 106, 105, 117, 97, 95, 107, 102, 23, 39, 35, 37, 45, 18, 82, 16, 93, 79, 97,
    97, 93, 75,  85,  21,  77, 85, 87,  81,  3,  69, 66, 76, 66, 83, 73, 61, 79, 73, 75,
};

// What the natural-form box shows for a drawing too large to show.
std::string TooLargeNote() {
    return ToEngineText(WindowText(WindowTexts::kNaturalFormTooLarge)) + '\n';
}

}  // namespace

CalcDlg::CalcDlg(QWidget* parent, SessionUse session)
    : QDialog(parent), m_icon(LoadApplicationIcon()) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFont(DialogFont());
    BuildControls();
    if (session == SessionUse::Kept)
        m_session = std::make_unique<SessionKeeper>(m_history, m_variables);
    CreateActions();
    CreateLiveComputation();
    CreateCommitComputation();
    OnInitDialog();
}

CalcDlg::~CalcDlg() {
    // A window going away without being closed asks about no cell either.
    m_varList->DiscardEdit();
    // The controls going away move the focus; this window is no longer
    // there to follow it.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void CalcDlg::BuildControls() {
    // Before the box is made: the form names it, and Qt takes the reader's
    // view of a widget from the first factory that answers then.
    InstallNaturalFormViewAccessibility();
    Ui::CalcDlg form;
    form.setupUi(this);
    FitLabelsToTheirBoxes(form.fullPanel);
    m_helpButton = form.helpButton;
    m_aboutButton = form.aboutButton;
    m_deleteVarButton = form.deleteVariableButton;
    m_editorButton = form.editorButton;
    m_addVarButton = form.addVariableButton;
    m_computeButton = form.computeButton;
    m_exitButton = form.exitButton;
    m_topMostButton = form.topMostButton;
    m_varList = form.variableGrid;
    m_varList->SetVariables(&m_variables);
    m_historyList = form.historyList;
    // The filter field stands over the history's label, between the
    // natural form and the history, so nothing else moves when it opens.
    const int fieldTop = form.naturalBox->geometry().bottom() + 1;
    m_historySearch = new HistorySearch(
        *m_historyList, m_history,
        QRect(m_historyList->x(), fieldTop, m_historyList->width(), m_historyList->y() - fieldTop));
    m_historyList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_historyExport = new HistoryExportActions(*m_historyList, m_history, *this);
    m_modeButton = form.modeButton;
    m_expressionBox = form.expressionEdit;
    m_resultBox = form.resultBox;
    m_naturalBox = form.naturalBox;
    m_compactPanel = form.compactPanel;
    m_fullPanel = form.fullPanel;
    m_naturalBox->setFont(FixedPitchFont());
    m_naturalDrawer = new NaturalFormDrawer(kNaturalLineWidth, this);
    connect(m_naturalDrawer, &NaturalFormDrawer::Drawn, m_naturalBox, &NaturalFormView::SetDrawing);
    connect(m_naturalDrawer, &NaturalFormDrawer::Drawn, this,
            [this](const std::shared_ptr<const NaturalFormDrawing>& drawing) {
                // Once drawn, the last computation keeps its drawing, not
                // its tree.
                if (m_drawsCommitted) {
                    m_committedDrawing = drawing;
                    m_committedTree.reset();
                }
            });
    m_expressionBox->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The about button is the window's icon, drawn without an edge.
    for (SkinButton* button : findChildren<SkinButton*>())
        button->SetStaticEdge(button != m_aboutButton);

    m_expressionBox->SetHistorySource([this] { return HistoryEntries(); });
    // A history cleared starts the walk through it again.
    connect(&m_history, &QAbstractItemModel::modelReset, m_expressionBox,
            &ExpressionEdit::ResetHistoryWalk);
    // The grid's names complete as the functions' do.
    m_expressionBox->TypingHelp().SetVariableSource([this] {
        QList<std::pair<QString, QString>> variables;
        for (const VariableText& variable : m_variables.Variables())
            variables.append({variable.name, variable.value});
        return variables;
    });
}

QAction* CalcDlg::AddAction(const char* name, const QList<QKeySequence>& keys,
                            Qt::ShortcutContext context, QWidget* owner) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    action->setShortcutContext(context);
    (owner ? owner : this)->addAction(action);
    return action;
}

void CalcDlg::CreateActions() {
    // The window's commands, each shared by the buttons, the window menu and
    // the keys that give it. Keys in the window's context work wherever the
    // focus is in this window, unless the focused control keeps the key for
    // itself (the expression box its menu keys and Ctrl+C, a cell being
    // edited Enter, Escape and the menu keys, the grid F2).
    const QList<QKeySequence> enter = {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)};
    // Enter computes held with Ctrl or Shift too, as it always has.
    const QList<QKeySequence> computeKeys =
        enter + QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Return),
                                    QKeySequence(Qt::SHIFT | Qt::Key_Return),
                                    QKeySequence(Qt::CTRL | Qt::Key_Enter),
                                    QKeySequence(Qt::SHIFT | Qt::Key_Enter)};
    m_computeAction = AddAction("computeAction", computeKeys, Qt::WidgetShortcut, m_expressionBox);
    connect(m_computeAction, &QAction::triggered, this, &CalcDlg::OnCompute);
    connect(m_computeButton, &QAbstractButton::clicked, m_computeAction, &QAction::trigger);

    QAction* recall = AddAction("recallHistoryAction", enter, Qt::WidgetShortcut, m_historyList);
    connect(recall, &QAction::triggered, this, [this] {
        if (m_historyList->currentIndex().isValid())
            OnHistoryDblClk();
    });
    connect(m_historyList, &QAbstractItemView::doubleClicked, this, &CalcDlg::OnHistoryDblClk);
    connect(m_historySearch, &HistorySearch::Chosen, this, &CalcDlg::OnHistoryDblClk);

    QAction* clear = AddAction("clearAction", {QKeySequence(Qt::Key_Escape)});
    connect(clear, &QAction::triggered, this, &CalcDlg::OnEscape);

    m_goToExpressionAction = AddAction("goToExpressionAction", {QKeySequence(Qt::Key_F2)});
    connect(m_goToExpressionAction, &QAction::triggered, this, &CalcDlg::FocusExpression);
    // In the grid F2 renames the selected row instead.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        m_goToExpressionAction->setEnabled(now != m_varList);
    });

    QAction* copy = AddAction("copyResultAction", CopyResultKeys());
    connect(copy, &QAction::triggered, this, &CalcDlg::CopyResultToClipboard);
    connect(m_expressionBox, &ExpressionEdit::CopyWithNothingSelected, copy, &QAction::trigger);

    QAction* menu = AddAction("windowMenuAction", WindowMenuKeys());
    connect(menu, &QAction::triggered, this, [this] { ShowWindowMenu(mapToGlobal(QPoint(0, 0))); });

    m_minimizeAction = AddAction("minimizeAction", {});
    m_minimizeAction->setText(WindowText(WindowTexts::kMinimizeMenu));
    connect(m_minimizeAction, &QAction::triggered, this, &QWidget::showMinimized);

    m_closeAction = AddAction("closeAction", {});
    m_closeAction->setText(WindowText(WindowTexts::kCloseMenu));
    connect(m_closeAction, &QAction::triggered, this, &QDialog::reject);
    connect(m_exitButton, &QAbstractButton::clicked, m_closeAction, &QAction::trigger);

    m_graphAction = AddAction("graphAction", {QKeySequence(Qt::Key_F5)});
    m_graphAction->setText(WindowText(WindowTexts::kGraphMenu));
    connect(m_graphAction, &QAction::triggered, this, &CalcDlg::OnGraph);

    m_aboutAction = AddAction("aboutAction", {});
    m_aboutAction->setText(WindowText(WindowTexts::kAboutMenu));
    connect(m_aboutAction, &QAction::triggered, this, &CalcDlg::OnAbout);
    connect(m_aboutButton, &QAbstractButton::clicked, m_aboutAction, &QAction::trigger);

    // The full size and keep-on-top are states the window is in: the
    // buttons turn them over.
    m_expandAction = AddAction("modeAction", {});
    m_expandAction->setCheckable(true);
    connect(m_expandAction, &QAction::toggled, this, &CalcDlg::ShowExpanded);
    connect(m_modeButton, &QAbstractButton::clicked, m_expandAction, &QAction::toggle);
    m_topMostAction = AddAction("topMostAction", {});
    m_topMostAction->setCheckable(true);
    connect(m_topMostAction, &QAction::toggled, this, &CalcDlg::ShowTopMost);
    // The click has already turned the button over.
    connect(m_topMostButton, &QAbstractButton::clicked, m_topMostAction, &QAction::setChecked);

    const std::pair<QAbstractButton*, void (CalcDlg::*)()> buttonCommands[] = {
        {m_editorButton, &CalcDlg::OnEditExpr},
        {m_helpButton, &CalcDlg::OnHelp},
        {m_addVarButton, &CalcDlg::OnAddVar},
    };
    for (const auto& [button, command] : buttonCommands) {
        QAction* action = AddAction(qPrintable(button->objectName().replace(
                                        QStringLiteral("Button"), QStringLiteral("Action"))),
                                    {});
        connect(action, &QAction::triggered, this, command);
        connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
    }
    connect(m_deleteVarButton, &QAbstractButton::clicked, m_varList->RemoveAction(),
            &QAction::trigger);
}

void CalcDlg::CreateLiveComputation() {
    m_live = new LiveComputation(this);
    connect(m_live, &LiveComputation::Computed, this, &CalcDlg::ShowLiveOutcome);
    connect(m_expressionBox, &ExpressionEdit::textChanged, this, &CalcDlg::OnExpressionEdited);
    // The value shown reads the variables as they are now.
    connect(&m_variables, &VariablesModel::TableChanged, this, [this] {
        m_sharedVariables.Changed();
        OnExpressionEdited();
    });
    m_computeWhileTypingAction = AddAction("computeWhileTypingAction", {});
    m_computeWhileTypingAction->setText(WindowText(WindowTexts::kComputeWhileTypingMenu));
    m_computeWhileTypingAction->setCheckable(true);
    // On unless the user turned it off in a window that kept its session.
    const QString switchName = QStringLiteral("computeWhileTyping");
    m_computeWhileTypingAction->setChecked(!m_session || m_session->Switch(switchName, true));
    connect(m_computeWhileTypingAction, &QAction::toggled, this,
            &CalcDlg::OnComputeWhileTypingToggled);
    if (m_session) {
        connect(m_computeWhileTypingAction, &QAction::toggled, this,
                [this, switchName](bool on) { m_session->SetSwitch(switchName, on); });
    }
}

void CalcDlg::SetComputeWhileTyping(bool on) {
    m_computeWhileTypingAction->setChecked(on);
}

bool CalcDlg::ComputesWhileTyping() const {
    return m_computeWhileTypingAction->isChecked();
}

void CalcDlg::OnComputeWhileTypingToggled(bool on) {
    // Turned on, the next edit shows its value; turned off, what typing
    // showed goes, and the box shows the last result again.
    if (on)
        return;
    m_live->Cancel();
    m_expressionBox->ClearErrorMark();
    if (m_resultBox->IsMuted())
        m_resultBox->ShowLastCommitted();
    ShowCommittedNaturalForm();
}

void CalcDlg::OnExpressionEdited() {
    if (!ComputesWhileTyping())
        return;
    m_live->Request(m_expressionBox->text(), m_sharedVariables);
    emit ExpressionFollowed(m_expressionBox->text(), m_variables.Table());
}

void CalcDlg::ShowLiveOutcome(const LiveOutcome& outcome) {
    // A screen reader is not told of every value typing gives; the box's
    // description tells it of an error (SetErrorMark). An error shows no
    // value: an earlier one beside an expression it does not belong to
    // would be copied or read as that expression's answer.
    m_resultBox->ShowLive(outcome.value);
    // The natural form shows how the expression was read, even when its
    // value failed; one that cannot be read shows none, as an earlier
    // drawing would be taken for its own.
    m_drawsCommitted = false;
    if (outcome.tree) {
        ShowNaturalFormOf(outcome.tree);
    } else {
        m_naturalDrawer->Cancel();
        m_pendingNatural.reset();
        m_naturalBox->SetDrawing(nullptr);
    }
    if (outcome.HasMark())
        m_expressionBox->SetErrorMark(outcome.markFrom, outcome.markTo, outcome.message);
    else
        m_expressionBox->ClearErrorMark();
}

void CalcDlg::OnInitDialog() {
    setWindowIcon(m_icon);
    m_expanded = false;

    // The window opens centred on the screen for its full size; the compact
    // window keeps that top-left corner.
    QRect full(QPoint(0, 0), WindowSize(true));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        full.moveCenter(screen->availableGeometry().center());
    move(full.topLeft());
    ResizeWindow(false);

    SetWindowTitleFromTable();
    SetButtonFaces();
    m_expressionBox->setFocus();
    if (m_session) {
        m_session->Load();
        m_session->KeepWindow(*this, *m_expandAction, *m_topMostAction);
    }
}

void CalcDlg::SetWindowTitleFromTable() {
    QString title;
    for (int i = 0; i < static_cast<int>(kTitleTable.size()); ++i) {
        title += QLatin1Char(static_cast<char>((kTitleTable[i] + i) & 0xFF));
    }
    setWindowTitle(title);
    // The title is English; a screen reader speaks the desktop's language.
    setAccessibleName(WindowText(WindowTexts::kWindowName));
}

void CalcDlg::SetButtonFaces() {
    m_exitButton->LoadIconImage(WindowIcon::Exit);
    m_exitButton->SetTipText(qUtf8Printable(WindowText(WindowTexts::kExitTip)), true);
    m_topMostButton->LoadIconImage(WindowIcon::Pin);
    m_topMostButton->SetTipText(qUtf8Printable(WindowText(WindowTexts::kPinTip)), true);
    m_editorButton->LoadIconImage(WindowIcon::Editor);
    m_editorButton->SetTipText(qUtf8Printable(WindowText(WindowTexts::kEditorTip)), true);
    m_aboutButton->LoadIconImage(WindowIcon::Application);
    m_aboutButton->SetTipText(qUtf8Printable(WindowText(WindowTexts::kAboutTip)), true);
    m_modeButton->LoadIconImage(WindowIcon::More);
    m_modeButton->SetTipText(qUtf8Printable(WindowText(WindowTexts::kMoreTip)), true);
    m_helpButton->LoadIconImage(WindowIcon::Help);
    m_helpButton->SetTipText(qUtf8Printable(WindowText(WindowTexts::kHelpTip)), true);
    m_addVarButton->LoadIconImage(WindowIcon::Add);
    m_deleteVarButton->LoadIconImage(WindowIcon::Delete);
}

void CalcDlg::StripWhitespace() {
    const QString text = m_expressionBox->text();
    // A text with no blank and no half of a character reads back from the
    // engine's bytes as it is: a long one is not converted here twice.
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) {
            return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c.isSurrogate();
        })) {
        return;
    }
    // Setting the same text again would move the caret and forget undo.
    const QString shown = FromEngineText(::StripWhitespace(ToEngineText(text)));
    if (text != shown)
        m_expressionBox->setText(shown);
}

void CalcDlg::CreateCommitComputation() {
    m_commit = new CommitComputation(this);
    connect(m_commit, &CommitComputation::Computed, this, &CalcDlg::ShowCommitOutcome);
    // An edit makes a computation under way answer a text no longer there.
    connect(m_expressionBox, &ExpressionEdit::textChanged, m_commit, &CommitComputation::Cancel);
}

void CalcDlg::OnCompute() {
    // Enter again while a long text is computed asks for the answer that
    // is coming: the text has not changed since, or it would have stopped.
    if (m_commit->IsRunning())
        return;
    try {
        StripWhitespace();
        // What typing still computes would show over the committed answer.
        m_live->Cancel();
        emit ExpressionFollowed(m_expressionBox->text(), m_variables.Table());
        m_commit->Start(m_expressionBox->text(), m_sharedVariables);
    } catch (const std::bad_alloc&) {
        CommitOutcome outcome;
        outcome.outOfMemory = true;
        ShowCommitOutcome(outcome);
    }
}

void CalcDlg::ShowCommitOutcome(const CommitOutcome& outcome) {
    if (outcome.value) {
        m_committedTree = outcome.tree;
        m_committedDrawing.reset();
        const QString result = FromEngineText(FormatResult(*outcome.value));
        m_resultBox->ShowCommitted(result);
        // Before the drawing is asked for: a form too large to draw has its
        // note at once.
        m_drawsCommitted = true;
        ShowNaturalFormOf(m_committedTree);
        AddToHistory(m_expressionBox->text(), result);
        m_expressionBox->ResetHistoryWalk();
        m_resultBox->TellScreenReader();
    } else if (outcome.error) {
        const ExpException& error = *outcome.error;
        // The boxes show the last result, muted, as it answers something
        // else; the error stays marked, though typing had no time to mark it.
        m_resultBox->ShowCommitFailed();
        ShowCommittedNaturalForm();
        if (ComputesWhileTyping()) {
            const LiveOutcome marked =
                ErrorOutcome(m_expressionBox->text(), error, outcome.expression);
            m_expressionBox->SetErrorMark(marked.markFrom, marked.markTo, marked.message);
        }
        ShowComputeError(ComputeErrorText(error, outcome.expression), error.GetPosition());
    } else {
        // Everything the computation built is freed by now; what was shown
        // before stays, the result muted.
        m_live->Cancel();
        m_resultBox->ShowCommitFailed();
        ShowCommittedNaturalForm();
        ShowComputeError(WindowText(WindowTexts::kComputeOutOfMemory), std::nullopt);
    }
}

void CalcDlg::OnEscape() {
    // The text stays, to be fixed or computed again; the boxes keep what
    // they showed, and the history gains nothing.
    if (m_commit->IsRunning())
        m_commit->Cancel();
    else
        ClearExpression();
}

const std::string& CalcDlg::NaturalText() {
    static const std::string kNothingDrawn;
    DrawPendingNaturalForm();
    m_naturalDrawer->Finish();
    const NaturalFormDrawing* drawing = m_naturalBox->Drawing();
    return drawing ? drawing->Text() : kNothingDrawn;
}

void CalcDlg::ShowNaturalFormOf(std::shared_ptr<const ExpressionTree> tree) {
    m_pendingNatural = std::move(tree);
    // Drawn at once only where it shows.
    if (m_expanded)
        DrawPendingNaturalForm();
}

void CalcDlg::ShowCommittedNaturalForm() {
    if (m_drawsCommitted)
        return;
    m_naturalDrawer->Cancel();
    m_pendingNatural.reset();
    m_drawsCommitted = true;
    if (m_committedTree)
        ShowNaturalFormOf(m_committedTree);
    else
        m_naturalBox->SetDrawing(m_committedDrawing);
}

void CalcDlg::DrawPendingNaturalForm() {
    // The note is taken here: the window's texts are read on its thread.
    if (m_pendingNatural)
        m_naturalDrawer->Draw(std::move(m_pendingNatural), TooLargeNote());
}

void CalcDlg::ShowComputeError(const QString& text, std::optional<std::size_t> position) {
    ShowMessageBox(this, text, WindowText(WindowTexts::kErrorTitle), QMessageBox::Information);
    // The caret waits at the place of the error, so it can be fixed at once.
    if (position) {
        m_expressionBox->setFocus();
        m_expressionBox->deselect();
        m_expressionBox->setCursorPosition(CharIndexOfByte(m_expressionBox->text(), *position));
    }
}

void CalcDlg::AddToHistory(const QString& entry, const QString& result) {
    m_history.Add(entry, result);
}

void CalcDlg::OnHistoryDblClk() {
    const QModelIndex current = m_historyList->currentIndex();
    if (current.isValid())
        m_expressionBox->setText(current.data(Qt::EditRole).toString());
    m_expressionBox->ResetHistoryWalk();
}

void CalcDlg::ShowExpanded(bool expanded) {
    m_expanded = expanded;
    if (m_expanded) {
        m_modeButton->LoadIconImage(WindowIcon::Less);
        m_modeButton->SetTipText(qUtf8Printable(WindowText(WindowTexts::kLessTip)), true);
        ResizeWindow(true);
        DrawPendingNaturalForm();  // computed while compact
    } else {
        m_modeButton->LoadIconImage(WindowIcon::More);
        m_modeButton->SetTipText(qUtf8Printable(WindowText(WindowTexts::kMoreTip)), true);
        ResizeWindow(false);
    }
    SetStaysOnTop(IsTopMost());
}

bool CalcDlg::IsTopMost() const {
    return m_topMostAction->isChecked();
}

QSize CalcDlg::WindowSize(bool full) const {
    // The full panel lies below the compact one, over its lower frame.
    const QRect shown = full ? m_compactPanel->geometry().united(m_fullPanel->geometry())
                             : m_compactPanel->geometry();
    return QSize(shown.right() + 1, shown.bottom() + 1);
}

void CalcDlg::ResizeWindow(bool full) {
    // Only the size changes; the window keeps its place and grows or
    // shrinks at the bottom.
    setFixedSize(WindowSize(full));
    // Out of sight is out of reach: neither Tab nor a screen reader is to
    // find what the compact window leaves out.
    m_fullPanel->setVisible(full);
}

void CalcDlg::ShowTopMost(bool onTop) {
    m_topMostButton->setChecked(onTop);
    m_topMostButton->LoadIconImage(onTop ? WindowIcon::Unpin : WindowIcon::Pin);
    m_topMostButton->SetTipText(
        qUtf8Printable(WindowText(onTop ? WindowTexts::kUnpinTip : WindowTexts::kPinTip)), true);
    // The tip says what a click does next; a screen reader keeps one name
    // and tells the state.
    m_topMostButton->setAccessibleName(WindowText(WindowTexts::kPinTip));
    SetStaysOnTop(onTop);
}

void CalcDlg::SetStaysOnTop(bool on) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    SetWindowStaysOnTop(this, on);
}

void CalcDlg::OnAbout() {
    AboutDlg about(this);
    about.exec();
}

void CalcDlg::OnEditExpr() {
    ExprEditDlg editor(m_expressionBox->text(), this);
    const bool accepted = editor.exec() == QDialog::Accepted;
    // Whichever way the editor closed, typing goes on in the box.
    m_expressionBox->setFocus(Qt::OtherFocusReason);
    if (!accepted)
        return;
    m_expressionBox->setText(editor.Text());
    StripWhitespace();
    m_expressionBox->ResetHistoryWalk();
}

void CalcDlg::OnHelp() {
    // Each press opens another help window, cascading from the one opened
    // last while that is open; they all close with this one.
    const HelpDlg* previous =
        m_helpWindow && m_helpWindow->isVisible() ? m_helpWindow.get() : nullptr;
    m_helpWindow = new HelpDlg(this, previous);
    m_helpWindow->show();
}

void CalcDlg::OnGraph() {
    // One graph window, which keeps its range while hidden and follows the
    // expression from the moment it is first opened.
    if (!m_graphWindow) {
        m_graphWindow = new GraphWindow(this);
        connect(this, &CalcDlg::ExpressionFollowed, m_graphWindow, &GraphWindow::Follow);
        // Its range is remembered between runs, as the switches are.
        if (m_session) {
            const auto low = m_session->Number(QStringLiteral("graphXLow"));
            const auto high = m_session->Number(QStringLiteral("graphXHigh"));
            if (low && high)
                m_graphWindow->SetXRange(*low, *high);
            connect(m_graphWindow, &GraphWindow::XRangeChanged, this,
                    [this](double newLow, double newHigh) {
                        m_session->SetNumber(QStringLiteral("graphXLow"), newLow);
                        m_session->SetNumber(QStringLiteral("graphXHigh"), newHigh);
                    });
        }
    }
    m_graphWindow->Follow(m_expressionBox->text(), m_variables.Table());
    m_graphWindow->show();
    m_graphWindow->raise();
    m_graphWindow->activateWindow();
}

HelpDlg* CalcDlg::HelpWindow() const {
    return m_helpWindow;
}

void CalcDlg::OnAddVar() {
    m_varList->EditCell(m_variables.AddUnnamed(), VariablesModel::kNameColumn);
}

void CalcDlg::ClearExpression() {
    m_expressionBox->setText(QString());
    m_expressionBox->setFocus();
}

void CalcDlg::FocusExpression() {
    if (m_expressionBox->hasFocus())
        return;
    m_expressionBox->setFocus(Qt::ShortcutFocusReason);
    m_expressionBox->selectAll();
}

void CalcDlg::CopyResultToClipboard() {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(m_resultBox->text());
}

bool CalcDlg::NumLockTurnedOff(QEvent::Type type) {
    // X11 locks Num Lock when its key goes down but unlocks it only when the
    // key comes up, so the light is read on the way up. Without an answer
    // from the window system the presses are counted instead.
    const std::optional<bool> on = ReadNumLockState();
    if (on)
        return type == QEvent::KeyRelease && !*on;
    if (type != QEvent::KeyPress)
        return false;
    m_numLockCounted = !m_numLockCounted;
    return !m_numLockCounted;
}

void CalcDlg::keyPressEvent(QKeyEvent* event) {
    // Num Lock turned off clears the expression, which no shortcut can say;
    // the controls leave the key to the window.
    if (event->key() == Qt::Key_NumLock) {
        if (NumLockTurnedOff(QEvent::KeyPress))
            ClearExpression();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CalcDlg::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_NumLock) {
        if (NumLockTurnedOff(QEvent::KeyRelease))
            ClearExpression();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

void CalcDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The thin frame a caption-less dialog draws around itself.
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
}

void CalcDlg::mousePressEvent(QMouseEvent* event) {
    // Any free spot of the window acts as its caption.
    if (event->button() == Qt::LeftButton) {
        QWindow* window = windowHandle();
        if (window && window->startSystemMove()) {
            event->accept();
            return;
        }
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void CalcDlg::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragOffset && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *m_dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CalcDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragOffset.reset();
    QDialog::mouseReleaseEvent(event);
}

void CalcDlg::done(int result) {
    // Checking the cell would ask about it in a message box, and the window
    // would stay open behind it.
    m_varList->DiscardEdit();
    // A result, or an error's message box, would come after the window.
    m_commit->Cancel();
    QDialog::done(result);
}

std::unique_ptr<QMenu> CalcDlg::CreateWindowMenu() {
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("windowMenu"));
    menu->addAction(m_minimizeAction);
    menu->addAction(m_closeAction);
    menu->addAction(m_computeWhileTypingAction);
    menu->addSeparator();
    menu->addAction(m_graphAction);
    menu->addSeparator();
    menu->addActions(m_historyExport->MenuActions());
    menu->addSeparator();
    menu->addAction(m_aboutAction);
    if (m_session) {
        menu->addSeparator();
        menu->addActions(m_session->MenuActions());
    }
    return menu;
}

void CalcDlg::contextMenuEvent(QContextMenuEvent* event) {
    // The window has no caption to open its menu from.
    ShowWindowMenu(event->globalPos());
}

void CalcDlg::ShowWindowMenu(const QPoint& globalPos) {
    CreateWindowMenu()->exec(globalPos);
}
