#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

class QListWidget;
class QScreen;
class QPlainTextEdit;

// One function's help: its name, a title, what it does and how it is called.
struct CFuncHelp {
    QString name;
    QString title;
    QString purpose;
    QString usage;
};

// The help window: the rules of the expression language, the library
// functions with a text for each, and the shortcut keys. It is modeless;
// Escape and its close box close it for good.
class HelpDlg : public QDialog {
    Q_OBJECT
  public:
    // A help window opened while `previous` is on show cascades from it.
    explicit HelpDlg(QWidget* owner = nullptr, const HelpDlg* previous = nullptr);
    ~HelpDlg() override;

  private:
    void OnInitDialog();
    // Smaller than the screen, its controls scrolling inside where they do
    // not fit.
    void FitScreen(const QScreen* screen);
    void Place(const QWidget* owner, const HelpDlg* previous);
    // Shows the help of the selected function, or nothing without one.
    void OnSelChangeFuncList();

    QListWidget* m_listFunc = nullptr;  // sorted
    QPlainTextEdit* m_editDescription = nullptr;
    // The entries the list items refer to, in the order they were added.
    std::vector<CFuncHelp> m_entries;
};

// Where a help window of `size` goes (its top-left corner) on the screen
// area `available`: one `cascadeStep` right of and below the previous help
// window's corner, starting again at the screen's left or top edge where
// that would leave it; the first one below the owner, else right of it, else above or left, `gap`
// away; and where none of those fits the screen, the place on it that
// covers the least of the owner.
QPoint PlaceHelpWindow(const QRect& ownerFrame, const QSize& size, const QRect& available,
                       const std::optional<QPoint>& previous, int cascadeStep, int gap);

// A function's help text as the window shows it.
QString FormatFuncHelp(const CFuncHelp& help);
