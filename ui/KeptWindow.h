#pragma once

#include <QStringList>

class VarListCtrl;

// What a window lets the keeper of its session read and put back: the
// history, the grid of variables, the size and keep-on-top. Its place and
// its visibility are the widget's own.
class KeptWindow {
  public:
    virtual QStringList HistoryEntries() const = 0;
    // Takes entries no two alike, as HistoryEntries gives them.
    virtual void AppendHistory(const QStringList& entries) = 0;
    virtual void ClearHistory() = 0;
    virtual VarListCtrl& VariableGrid() const = 0;
    virtual bool IsExpanded() const = 0;
    virtual void SetExpanded(bool expanded) = 0;
    virtual bool IsTopMost() const = 0;
    virtual void SetTopMost(bool onTop) = 0;

  protected:
    ~KeptWindow() = default;
};
