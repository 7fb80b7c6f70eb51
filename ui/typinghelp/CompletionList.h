#pragma once

#include <QTreeWidget>

#include "TypingText.h"

// The list of names that complete what is being typed, shown under the box
// as a tooltip is: it never takes the focus, so the keys stay with the box,
// which moves through the list for them.
class CompletionList : public QTreeWidget {
    Q_OBJECT
  public:
    // The rows shown at once; more scroll.
    static constexpr int kRowsShown = 8;

    // A list for `box`, which owns it.
    explicit CompletionList(QWidget* box);

    // Fills the list, the first entry current, and sizes it to its rows.
    void SetEntries(const QList<NameEntry>& entries);
    // Moves the current entry by `rows`, stopping at the ends.
    void Step(int rows);
    int CurrentRow() const;
};
