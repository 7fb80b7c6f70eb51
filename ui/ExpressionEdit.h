#pragma once

#include <QLineEdit>
#include <QStringList>
#include <functional>

// The one-line expression box. It does not scroll while typing: a typed
// character that would not fit the visible width is refused, so the whole
// expression stays in view (a longer one is written in the editor; a text
// the program sets may be wider). Up and Down walk the history, newest
// first, and come back to the text that was being typed.
class CExpressionEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit CExpressionEdit(QWidget* parent = nullptr);

    // The history entries, oldest first, as the walk reads them.
    void SetHistorySource(std::function<QStringList()> source) {
        m_historySource = std::move(source);
    }
    // Forgets the walk: the next Up starts again at the newest entry.
    void ResetHistoryWalk() { m_historyIndex = -1; }

    // Whether `text` fits the visible width.
    bool Fits(const QString& text) const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void WalkHistory(int step);

    std::function<QStringList()> m_historySource;
    int m_historyIndex = -1;  // -1: not walking, the typed text is shown
    QString m_draft;
};
