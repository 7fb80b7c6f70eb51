#include "CalcDlg.h"

#include <qdrawutil.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QWindow>
#include <array>
#include <new>

#include "AboutDlg.h"
#include "DecimalText.h"
#include "DialogBuilder.h"
#include "ExpCompute.h"
#include "ExprEditDlg.h"
#include "ExpressionEdit.h"
#include "HelpDlg.h"
#include "IconResources.h"
#include "KeyState.h"
#include "MessageBox.h"
#include "NaturalForm.h"
#include "ResultBox.h"
#include "SkinButton.h"
#include "UiText.h"
#include "VarListCtrl.h"
#include "WindowStacking.h"
#include "resource.h"

namespace {

constexpr int kFullWidth = 525;
constexpr int kFullHeight = 306;
// The compact window ends this far below the size marker.
constexpr int kCompactMarginBelowMarker = 10;
constexpr int kNaturalLineWidth = 50;
// A history line shows at most this many characters of its expression.
constexpr qsizetype kHistoryShownLength = 1000;

const QString kErrorTitle = QStringLiteral("发生错误");
// What a screen reader calls the two boxes of the top row, which have no
// label of their own.
const QString kExpressionName = QStringLiteral("表达式");
const QString kResultName = QStringLiteral("结果");
const char* const kAboutMenuText = "关于 Tallyfern(&A)...";  // string 101

// The window title, kept as numbers: character i is the low byte of entry i
// plus i.
constexpr std::array<int, 40> kTitleTable = {
    84, 96, 106, 105, 117, 97, 95, 107, 102, 23, 39, 35, 37, 45, 18, 82, 16, 93, 79, 97,
    97, 93, 75,  85,  21,  77, 85, 87,  81,  3,  69, 66, 76, 66, 83, 73, 61, 79, 73, 75,
};

bool IsCopyKey(const QKeyEvent* event) {
    // The key below Escape: grave accent, or tilde with Shift, or a dead
    // grave where the keyboard map makes it one.
    const int key = event->key();
    return key == Qt::Key_QuoteLeft || key == Qt::Key_AsciiTilde || key == Qt::Key_Dead_Grave;
}

bool IsEnterKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// The keys that open a window's menu from the keyboard: the menu key and
// Shift+F10, and Alt+Space where the window manager leaves it to the window.
bool IsWindowMenuKey(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
           (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier) ||
           (event->key() == Qt::Key_Space && modifiers == Qt::AltModifier);
}

// The box shows each "\r\n" as a line end. The line-feed element between
// two segments of a drawing comes with a "\r\n" of its own, so the pair
// reads as one empty line between them.
QString NaturalFormForDisplay(const std::string& text) {
    QString shown;
    shown.reserve(static_cast<qsizetype>(text.size()));
    const QString all = FromCodePage(text);
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QChar c = all.at(i);
        if (c == QLatin1Char('\r') && i + 1 < all.size() && all.at(i + 1) == QLatin1Char('\n')) {
            shown += QLatin1Char('\n');
            ++i;
        } else if (c != QLatin1Char('\n')) {
            shown += c;
        }
    }
    if (shown.endsWith(QLatin1Char('\n')))
        shown.chop(1);
    return shown;
}

// The drawing's lines, each ended by "\r\n", or the note that it is too large.
std::string DrawNaturalForm(CNaturalForm& natural) {
    std::string text;
    for (const std::string& line : natural.Render(kNaturalLineWidth)) {
        text += line;
        text += "\r\n";
    }
    if (natural.IsTooLarge())
        text = ToCodePage(QStringLiteral("（自然书写形式过大，无法显示）\r\n"));
    return text;
}

// The whole expression of a history line, which may show only its beginning.
QString HistoryEntry(const QListWidgetItem* item) {
    return item->data(Qt::UserRole).toString();
}

}  // namespace

CCalcDlg::CCalcDlg(QWidget* parent) : QDialog(parent), m_hIcon(LoadApplicationIcon()) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFont(DialogFont());
    BuildControls();
    OnInitDialog();
    qApp->installEventFilter(this);
}

CCalcDlg::~CCalcDlg() {
    qApp->removeEventFilter(this);
}

void CCalcDlg::BuildControls() {
    const DialogControls controls =
        BuildDialogControls(this, FindDialogTemplate(IDD_CALC_DIALOG), kDialogFramePixels,
                            [](const ControlTemplate& c, QWidget* parent) -> QWidget* {
                                if (c.id == IDC_EXPR)
                                    return new CExpressionEdit(parent);
                                if (c.id == IDC_VARS)
                                    return new CVarListCtrl(parent);
                                if (c.id == IDC_RESULT)
                                    return new ResultBox(parent);
                                return nullptr;
                            });
    m_btnHelp = controls.Get<CSkinButton>(IDC_HELP);
    m_btnAbout = controls.Get<CSkinButton>(IDC_ABOUT);
    m_marker = controls.Get<QLabel>(IDC_MARKER);
    m_btnDeleteVar = controls.Get<CSkinButton>(IDC_DELETE_VAR);
    m_btnEditExpr = controls.Get<CSkinButton>(IDC_EDIT_EXPR);
    m_btnAddVar = controls.Get<CSkinButton>(IDC_ADD_VAR);
    m_btnCompute = controls.Get<CSkinButton>(IDC_COMPUTE);
    m_btnExit = controls.Get<CSkinButton>(IDCANCEL);
    m_btnTopMost = controls.Get<CSkinButton>(IDC_TOPMOST);
    m_varList = controls.Get<CVarListCtrl>(IDC_VARS);
    m_history = controls.Get<QListWidget>(IDC_HISTORY);
    m_history->setUniformItemSizes(true);
    m_btnMode = controls.Get<CSkinButton>(IDC_MODE);
    m_editExpr = controls.Get<CExpressionEdit>(IDC_EXPR);
    m_editResult = controls.Get<QLineEdit>(IDC_RESULT);
    m_editNatural = controls.Get<QPlainTextEdit>(IDC_NATURAL);
    m_editNatural->setFont(FixedPitchFont());
    m_editExpr->setAccessibleName(kExpressionName);
    m_editResult->setAccessibleName(kResultName);

    m_editExpr->SetHistorySource([this] {
        QStringList entries;
        for (int i = 0; i < m_history->count(); ++i)
            entries << HistoryEntry(m_history->item(i));
        return entries;
    });

    connect(m_btnCompute, &QAbstractButton::clicked, this, &CCalcDlg::OnCompute);
    connect(m_btnMode, &QAbstractButton::clicked, this, &CCalcDlg::OnToggleMode);
    connect(m_btnEditExpr, &QAbstractButton::clicked, this, &CCalcDlg::OnEditExpr);
    connect(m_history, &QListWidget::itemDoubleClicked, this, &CCalcDlg::OnHistoryDblClk);
    connect(m_btnTopMost, &QAbstractButton::clicked, this, &CCalcDlg::OnTopMost);
    connect(m_btnAbout, &QAbstractButton::clicked, this, &CCalcDlg::OnAbout);
    connect(m_btnExit, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(m_btnHelp, &QAbstractButton::clicked, this, &CCalcDlg::OnHelp);
    connect(m_btnAddVar, &QAbstractButton::clicked, this, &CCalcDlg::OnAddVar);
    connect(m_btnDeleteVar, &QAbstractButton::clicked, this, &CCalcDlg::OnDeleteVar);
    connect(m_varList, &CVarListCtrl::DeleteKeyPressed, this, &CCalcDlg::OnDeleteVar);
}

void CCalcDlg::OnInitDialog() {
    setWindowIcon(m_hIcon);
    m_varList->InsertColumns();
    m_bExpanded = 0;

    // The window opens centred on the screen for its full size; the compact
    // window keeps that top-left corner.
    QRect full(QPoint(0, 0), QSize(kFullWidth, kFullHeight));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        full.moveCenter(screen->availableGeometry().center());
    }
    m_rcFull = full;
    m_rcCompact = m_rcFull;
    m_rcCompact.setBottom(m_rcFull.top() + m_marker->geometry().bottom() +
                          kCompactMarginBelowMarker);
    move(m_rcFull.topLeft());
    for (QWidget* control : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!control->isWindow() && control->geometry().bottom() > m_rcCompact.height())
            m_fullSizeControls.emplace_back(control);
    }
    ResizeWindow(m_rcCompact);

    SetWindowTitleFromTable();
    SetButtonFaces();
    m_editExpr->setFocus();
}

void CCalcDlg::SetWindowTitleFromTable() {
    QString title;
    for (int i = 0; i < static_cast<int>(kTitleTable.size()); ++i) {
        title += QLatin1Char(static_cast<char>((kTitleTable[i] + i) & 0xFF));
    }
    setWindowTitle(title);
}

void CCalcDlg::SetButtonFaces() {
    m_btnExit->LoadIconImage(IDI_EXIT, 0);
    m_btnExit->SetTipText("退出", true);
    m_btnTopMost->LoadIconImage(IDI_PIN, 0);
    m_btnTopMost->SetTipText("窗口置顶", true);
    m_btnEditExpr->LoadIconImage(IDI_EDITOR, 0);
    m_btnEditExpr->SetTipText("扩展表达式输入框", true);
    m_btnAbout->LoadIconImage(IDR_MAINFRAME, 0);
    m_btnAbout->SetTipText("关于本软件", true);
    m_btnMode->LoadIconImage(IDI_MORE, 0);
    m_btnMode->SetTipText("更多功能", true);
    m_btnHelp->LoadIconImage(IDI_HELP, 0);
    m_btnHelp->SetTipText("帮助", true);
    m_btnAddVar->LoadIconImage(IDI_ADD, 0);
    m_btnDeleteVar->LoadIconImage(IDI_DELETE, 0);
}

int CCalcDlg::DoModal() {
    // Not QDialog::exec: that would block the modeless windows this one
    // owns, and would end when the window is briefly hidden.
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    loop.exec();
    return result() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CCalcDlg::UpdateData(bool saveAndValidate) {
    // The result and natural-form boxes are read-only: only the members
    // write them, so they are never read back.
    if (saveAndValidate) {
        m_strExpr = ToCodePage(m_editExpr->text());
        m_bTopMost = m_btnTopMost->GetCheck();
        return;
    }
    const QString expression = FromCodePage(m_strExpr);
    if (m_editExpr->text() != expression)
        m_editExpr->setText(expression);
    m_editResult->setText(FromCodePage(m_strResult));
    // A result wider than its box shows its leading digits.
    m_editResult->setCursorPosition(0);
    // Reading a long drawing back out of the box costs as much as showing
    // it, so the box is compared by what it was last given; and the compact
    // window, which hides the box, leaves it until it is shown.
    if (m_bExpanded == 1 && NaturalText() != m_naturalShown) {
        m_editNatural->setPlainText(NaturalFormForDisplay(m_strNatural));
        m_naturalShown = m_strNatural;
    }
    m_btnTopMost->SetCheck(m_bTopMost);
}

void CCalcDlg::StripWhitespace() {
    UpdateData(true);
    m_strExpr = ::StripWhitespace(m_strExpr);
    UpdateData(false);
}

void CCalcDlg::CollectVariables() {
    m_vars.Clear();
    for (int row = 0; row < m_varList->GetItemCount(); ++row) {
        const std::string name = ToCodePage(m_varList->GetItemText(row, 0));
        // The grid stores only values that read whole as one number, read
        // alike in every locale; anything else would count as 0, never as
        // an unset value.
        const std::optional<double> value =
            ReadVariableValue(ToCodePage(m_varList->GetItemText(row, 1)));
        m_vars.Insert(name, value.value_or(0.0));
    }
}

void CCalcDlg::OnCompute() {
    StripWhitespace();
    CollectVariables();
    try {
        ComputedExpression computed = ComputeExpressionTree(m_strExpr, m_vars);
        std::string result = FormatResult(computed.value);
        auto natural = std::make_unique<CNaturalForm>(std::move(computed.tree));
        // The compact window hides the drawing, which is then made when it
        // is first shown or asked for.
        std::string text = m_bExpanded == 1 ? DrawNaturalForm(*natural) : std::string();
        m_strResult = std::move(result);
        m_strNatural = std::move(text);
        m_pendingNatural = m_bExpanded == 1 ? nullptr : std::move(natural);
        UpdateData(false);
        AddToHistory(m_strExpr);
        m_editExpr->ResetHistoryWalk();
    } catch (const CExpException& error) {
        ShowComputeError(FromCodePage(ComposeErrorMessage(error, m_strExpr)), error.GetPosition());
    } catch (const std::bad_alloc&) {
        // Everything the computation built is freed by now; what was shown
        // before stays.
        ShowComputeError(QStringLiteral("内存不足，无法完成计算。"), std::nullopt);
    }
}

const std::string& CCalcDlg::NaturalText() const {
    if (m_pendingNatural) {
        try {
            m_strNatural = DrawNaturalForm(*m_pendingNatural);
        } catch (const std::bad_alloc&) {
            // Too late to refuse the computation, whose result shows.
            m_strNatural = ToCodePage(QStringLiteral("（自然书写形式过大，无法显示）\r\n"));
        }
        m_pendingNatural.reset();
    }
    return m_strNatural;
}

void CCalcDlg::ShowComputeError(const QString& text, std::optional<std::size_t> position) {
    ShowMessageBox(this, text, kErrorTitle, MB_OK | MB_ICONINFORMATION);
    // The caret waits at the place of the error, so it can be fixed at once.
    if (position) {
        m_editExpr->setFocus();
        m_editExpr->deselect();
        m_editExpr->setCursorPosition(CharIndexOfByte(m_editExpr->text(), *position));
    }
}

void CCalcDlg::AddToHistory(const std::string& expression) {
    const QString entry = FromCodePage(expression);
    for (int i = 0; i < m_history->count(); ++i) {
        if (HistoryEntry(m_history->item(i)).compare(entry, Qt::CaseInsensitive) == 0)
            return;
    }
    // A list line shows the beginning of a very long expression; laying
    // out megabytes of text for one line would stall the window.
    auto* item = new QListWidgetItem(entry.size() > kHistoryShownLength
                                         ? entry.left(kHistoryShownLength) + QStringLiteral("…")
                                         : entry);
    item->setData(Qt::UserRole, entry);
    m_history->addItem(item);
}

void CCalcDlg::OnHistoryDblClk() {
    UpdateData(true);
    const int row = m_history->currentRow();
    if (row >= 0)
        m_strExpr = ToCodePage(HistoryEntry(m_history->item(row)));
    UpdateData(false);
    m_editExpr->ResetHistoryWalk();
}

void CCalcDlg::OnToggleMode() {
    UpdateData(true);
    if (m_bExpanded == 1) {
        m_bExpanded = 0;
        m_btnMode->LoadIconImage(IDI_MORE, 0);
        m_btnMode->SetTipText("更多功能", true);
        ResizeWindow(m_rcCompact);
    } else {
        m_bExpanded = 1;
        m_btnMode->LoadIconImage(IDI_LESS, 0);
        m_btnMode->SetTipText("精简模式", true);
        ResizeWindow(m_rcFull);
        UpdateData(false);  // the natural form computed while compact
    }
    SetStaysOnTop(m_bTopMost != 0);
}

void CCalcDlg::ResizeWindow(const QRect& size) {
    // Only the size changes; the window keeps its place and grows or
    // shrinks at the bottom.
    setFixedSize(size.size());
    // Out of sight is out of reach: neither Tab nor a screen reader is to
    // find the controls the compact window cuts off.
    const bool full = size.height() > m_rcCompact.height();
    for (const QPointer<QWidget>& control : m_fullSizeControls) {
        if (control)
            control->setVisible(full);
    }
}

void CCalcDlg::OnTopMost() {
    UpdateData(true);
    if (m_bTopMost) {
        m_btnTopMost->LoadIconImage(IDI_UNPIN, 0);
        m_btnTopMost->SetTipText("取消窗口置顶", true);
    } else {
        m_btnTopMost->LoadIconImage(IDI_PIN, 0);
        m_btnTopMost->SetTipText("窗口置顶", true);
    }
    SetStaysOnTop(m_bTopMost != 0);
    UpdateData(false);
}

void CCalcDlg::SetStaysOnTop(bool on) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    SetWindowStaysOnTop(this, on);
}

void CCalcDlg::OnSysCommand(unsigned nID) {
    switch (nID & 0xFFF0) {
        case IDM_ABOUTBOX:
            OnAbout();
            break;
        case SC_MINIMIZE:
            showMinimized();
            break;
        case SC_CLOSE:
            reject();
            break;
        default:
            break;
    }
}

void CCalcDlg::OnAbout() {
    CAboutDlg about(this);
    about.DoModal();
}

void CCalcDlg::OnEditExpr() {
    UpdateData(true);
    CExprEditDlg editor(this);
    editor.m_strText = FromCodePage(m_strExpr);
    if (editor.DoModal() == IDOK) {
        m_strExpr = ToCodePage(editor.m_strText);
        UpdateData(false);
        StripWhitespace();
        m_editExpr->ResetHistoryWalk();
    }
}

void CCalcDlg::OnHelp() {
    // Each press opens another help window; they all close with this one.
    const CHelpDlg* previous = m_pHelpDlg && m_pHelpDlg->isVisible() ? m_pHelpDlg.get() : nullptr;
    m_pHelpDlg = new CHelpDlg(this, previous);
    m_pHelpDlg->show();
}

CHelpDlg* CCalcDlg::HelpWindow() const {
    return m_pHelpDlg;
}

void CCalcDlg::OnAddVar() {
    const int row = m_varList->InsertItem(m_varList->GetItemCount(), QStringLiteral("请输入变量名"),
                                          QStringLiteral("0.0"));
    m_varList->EditSubItem(row, 0);
}

void CCalcDlg::OnDeleteVar() {
    // From the bottom up, so the rows still to go keep their indices.
    for (int row = m_varList->GetItemCount() - 1; row >= 0; --row) {
        if (m_varList->IsItemSelected(row))
            m_varList->DeleteItem(row);
    }
}

void CCalcDlg::ClearExpression() {
    UpdateData(true);
    m_strExpr.clear();
    UpdateData(false);
    m_editExpr->setFocus();
}

void CCalcDlg::FocusExpression() {
    if (m_editExpr->hasFocus())
        return;
    m_editExpr->setFocus(Qt::ShortcutFocusReason);
    m_editExpr->selectAll();
}

void CCalcDlg::CopyResultToClipboard() {
    UpdateData(true);
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(FromCodePage(m_strResult));
}

bool CCalcDlg::NumLockTurnedOff(QEvent::Type type) {
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

bool CCalcDlg::PreTranslateMessage(QKeyEvent* event) {
    QWidget* focus = QApplication::focusWidget();
    // The grid's cell editor keeps Enter, Escape, Delete and Control keys
    // for itself.
    const bool editorOwnsKeys = focus && focus->property("ownsDialogKeys").toBool();
    if (IsWindowMenuKey(event) && !editorOwnsKeys) {
        ShowWindowMenu(mapToGlobal(QPoint(0, 0)));
        return true;
    }
    // Alt combinations belong to the window system's menus.
    if (event->modifiers() & Qt::AltModifier)
        return false;
    if (editorOwnsKeys && (event->modifiers() & Qt::ControlModifier))
        return false;
    if (IsCopyKey(event)) {
        CopyResultToClipboard();
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        if (editorOwnsKeys)
            return false;
        ClearExpression();
        return true;
    }
    if (event->key() == Qt::Key_NumLock) {
        if (NumLockTurnedOff(QEvent::KeyPress))
            ClearExpression();
        return true;
    }
    if (event->key() == Qt::Key_F2) {
        FocusExpression();
        return true;
    }
    if (IsEnterKey(event) && !editorOwnsKeys && focus == m_editExpr) {
        OnCompute();
        return true;
    }
    return false;
}

bool CCalcDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    // A key goes first to the focused control, then up to its parents; it
    // is looked at once, on its way to the first, and only in this window.
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    if (watched != target || target->window() != this)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::KeyPress)
        return PreTranslateMessage(key);
    if (key->key() != Qt::Key_NumLock)
        return false;
    if (NumLockTurnedOff(QEvent::KeyRelease))
        ClearExpression();
    return true;
}

void CCalcDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The thin frame a caption-less dialog draws around itself.
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
}

void CCalcDlg::mousePressEvent(QMouseEvent* event) {
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

void CCalcDlg::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragOffset && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *m_dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CCalcDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragOffset.reset();
    QDialog::mouseReleaseEvent(event);
}

std::unique_ptr<QMenu> CCalcDlg::CreateWindowMenu() {
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("windowMenu"));
    menu->addAction(QStringLiteral("最小化(&N)"), this, [this] { OnSysCommand(SC_MINIMIZE); });
    menu->addAction(QStringLiteral("关闭(&C)"), this, [this] { OnSysCommand(SC_CLOSE); });
    const QString aboutText = QString::fromUtf8(kAboutMenuText);
    if (!aboutText.isEmpty()) {
        menu->addSeparator();
        menu->addAction(aboutText, this, [this] { OnSysCommand(IDM_ABOUTBOX); });
    }
    return menu;
}

void CCalcDlg::contextMenuEvent(QContextMenuEvent* event) {
    // The window has no caption to open its menu from.
    ShowWindowMenu(event->globalPos());
}

void CCalcDlg::ShowWindowMenu(const QPoint& globalPos) {
    CreateWindowMenu()->exec(globalPos);
}
