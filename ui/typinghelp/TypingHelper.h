#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

#include "FunctionHelps.h"
#include "TypingText.h"

class CompletionList;
class QKeyEvent;
class QLabel;
class QWidget;

// Helps while an expression is typed in a one-line box: a list of the
// functions and variables that complete the name before the caret, the
// bracket that pairs with the one beside the caret, and under the box the
// usage of the function whose arguments the caret is in, that argument in
// bold. The box tells it each edit and caret move, gives it the keys while
// the list is open, and writes what is taken; nothing here takes the focus.
class TypingHelper : public QObject {
    Q_OBJECT
  public:
    // The variables as the grid lists them: name and value, upper rows
    // first.
    using VariableSource = std::function<QList<std::pair<QString, QString>>()>;

    // Entries the list shows at most; typing more narrows them.
    static constexpr qsizetype kMostListed = 50;

    // A helper for `box`, which owns it.
    explicit TypingHelper(QWidget* box);

    void SetVariableSource(VariableSource source) { m_variables = std::move(source); }

    // The box's text or caret changed; `typed` when the user edited the
    // text, which is what opens the list.
    void Follow(QStringView text, qsizetype caret, bool hasSelection, bool typed);

    bool IsListOpen() const;
    // Whether the open list claims `key`, so that no shortcut has it: Tab
    // and Enter take the current entry, Escape closes the list, Up, Down,
    // Page Up and Page Down move through it. Enter on a variable typed out
    // in full would take nothing: it closes the list and is left to the
    // window, which computes.
    bool Claims(const QKeyEvent* key);
    // Acts on a key the list claims; false for any other.
    bool HandleKey(const QKeyEvent* key);
    void HideAll();

    // The bracket beside the caret and its partner, -1 when there is none.
    qsizetype Bracket() const { return m_bracket; }
    qsizetype Partner() const { return m_partner; }

    CompletionList* List() const { return m_list; }
    QLabel* Hint() const { return m_hint; }

  signals:
    // The box writes `text` over [from, to), as typed, the caret after it.
    void Take(qsizetype from, qsizetype to, const QString& text);
    // A line for a screen reader: the list's current entry, or the call
    // the caret came into.
    void Tell(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void RefreshList();
    void CloseList();
    void TakeCurrent();
    bool TakingChangesNothing() const;
    void TellCurrent();
    void RefreshHint();
    QList<NameEntry> Candidates() const;
    // Shows `popup` under the box at the caret, above it when the screen
    // has no room below.
    void PlaceUnderCaret(QWidget* popup) const;

    QWidget* m_box;
    CompletionList* m_list;
    QLabel* m_hint;
    VariableSource m_variables;
    QList<FunctionHelp> m_functions;

    // What the helps read around the caret at the last edit or move.
    qsizetype m_caret = 0;
    qsizetype m_bracket = -1;
    qsizetype m_partner = -1;
    bool m_bracketAfterCaret = false;
    qsizetype m_nameStart = -1;  // of the name that ends at the caret
    QString m_typedName;
    std::optional<CallPlace> m_call;
    QString m_callName;

    QList<NameEntry> m_listed;
    // What was told last (the entry, the hint), so that a reader hears a
    // change, not every key.
    QString m_toldEntry;
    QString m_toldCall;
};
