#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QListWidget;
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
// Escape and its close box hide it.
class CHelpDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CHelpDlg(QWidget* owner = nullptr);
    ~CHelpDlg() override;

    // Shows the help of the selected function, or nothing without one.
    void OnSelChangeFuncList();
    void UpdateData(bool saveAndValidate);

    // The description as shown, lines ended by "\r\n"; "" before any
    // selection.
    const QString& Description() const { return m_strDescription; }

  private:
    void OnInitDialog();
    void PlaceBeside(const QWidget* owner);

    QListWidget* m_listFunc = nullptr;  // 1016, sorted
    QString m_strDescription;           // 1017
    QPlainTextEdit* m_editDescription = nullptr;
    // The entries the list items refer to, in the order they were added.
    std::vector<CFuncHelp> m_entries;
};

// A function's help text as the window shows it.
QString FormatFuncHelp(const CFuncHelp& help);
