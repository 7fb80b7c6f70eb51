#pragma once

#include <QDialog>
#include <QEvent>
#include <QIcon>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "VarTable.h"

class CHelpDlg;
class CNaturalForm;
class CSkinButton;
class CVarListCtrl;
class CExpressionEdit;
class QLabel;
class QListWidget;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

// The calculator's main window: the expression box and "=" on top, the
// result beside them; in the full size also the natural form, the history
// and the variables. It has no caption: it is dragged by its free surface
// and its window menu opens with a right click there.
class CCalcDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CCalcDlg(QWidget* parent = nullptr);
    ~CCalcDlg() override;

    // Shows the window and returns when it has been closed.
    int DoModal();

    // The window's commands, as its buttons, keys and menu run them.
    void OnCompute();
    void StripWhitespace();
    void CollectVariables();
    void OnHistoryDblClk();
    void OnToggleMode();
    void OnTopMost();
    void OnSysCommand(unsigned nID);
    void OnAbout();
    void OnEditExpr();
    void OnHelp();
    void OnAddVar();
    void OnDeleteVar();
    void ClearExpression();

    // Reads the controls into the members (true) or shows the members in
    // the controls (false).
    void UpdateData(bool saveAndValidate);

    // Handles the window's shortcut keys before any control sees them;
    // true when the key was used here.
    bool PreTranslateMessage(QKeyEvent* event);

    const std::string& ExpressionText() const { return m_strExpr; }
    const std::string& ResultText() const { return m_strResult; }
    const std::string& NaturalText() const;
    bool IsExpanded() const { return m_bExpanded != 0; }
    const VarTable& Variables() const { return m_vars; }
    // The help window opened last, while it exists.
    CHelpDlg* HelpWindow() const;

    // The window menu, which a right click on the free surface opens:
    // minimize, close, and after a separator the about entry.
    std::unique_ptr<QMenu> CreateWindowMenu();

    // Window-menu commands besides the about entry.
    static constexpr unsigned SC_MINIMIZE = 0xF020;
    static constexpr unsigned SC_CLOSE = 0xF060;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void OnInitDialog();
    void BuildControls();
    void SetWindowTitleFromTable();
    void SetButtonFaces();
    void ResizeWindow(const QRect& size);
    void SetStaysOnTop(bool on);
    void AddToHistory(const std::string& expression);
    void ShowComputeError(const QString& text, std::optional<std::size_t> position);
    void CopyResultToClipboard();
    void ShowWindowMenu(const QPoint& globalPos);
    void FocusExpression();
    bool NumLockTurnedOff(QEvent::Type keyEventType);

    // Controls, in the order the window binds them.
    CSkinButton* m_btnHelp = nullptr;         // 1014
    CSkinButton* m_btnAbout = nullptr;        // 1007
    QLabel* m_marker = nullptr;               // 1013
    CSkinButton* m_btnDeleteVar = nullptr;    // 1010
    CSkinButton* m_btnEditExpr = nullptr;     // 1006
    CSkinButton* m_btnAddVar = nullptr;       // 1009
    CSkinButton* m_btnCompute = nullptr;      // 1002
    CSkinButton* m_btnExit = nullptr;         // 2
    CSkinButton* m_btnTopMost = nullptr;      // 1012
    CVarListCtrl* m_varList = nullptr;        // 1008
    QListWidget* m_history = nullptr;         // 1011
    CSkinButton* m_btnMode = nullptr;         // 1004
    CExpressionEdit* m_editExpr = nullptr;    // 1001
    QLineEdit* m_editResult = nullptr;        // 1003
    QPlainTextEdit* m_editNatural = nullptr;  // 1005

    std::string m_strExpr;  // code page 936, as the engine reads it
    std::string m_strResult;
    // Lines ended by "\r\n"; made from m_pendingNatural when first needed,
    // since the compact window does not show them.
    mutable std::string m_strNatural;
    mutable std::unique_ptr<CNaturalForm> m_pendingNatural;
    std::string m_naturalShown;  // what box 1005 was last given
    int m_bTopMost = 0;
    QIcon m_hIcon;
    VarTable m_vars;
    QRect m_rcCompact;
    QRect m_rcFull;
    int m_bExpanded = 0;
    QPointer<CHelpDlg> m_pHelpDlg;
    // The controls only the full size shows.
    std::vector<QPointer<QWidget>> m_fullSizeControls;

    // Dragging by hand where the window manager does not move the window.
    std::optional<QPoint> m_dragOffset;
    // Num Lock's state as counted from its presses, where the window system
    // cannot be asked.
    bool m_numLockCounted = true;
};
