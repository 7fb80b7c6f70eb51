#pragma once

#include <QList>
#include <QObject>

#include "HistoryExport.h"

class HistoryModel;
class QAction;
class QListView;
class QWidget;

// Taking the history away: window menu entries that save the whole history
// as text, CSV or Markdown in a file the user names, and one that copies
// the entries selected in the list (Ctrl+C there), one expression a line.
class HistoryExportActions : public QObject {
    Q_OBJECT
  public:
    HistoryExportActions(QListView& list, const HistoryModel& history, QWidget& window);

    QList<QAction*> MenuActions() const { return m_actions; }

    // The whole history, or the entries selected in the list (the current
    // one when none is), in the list's order.
    QList<HistoryRow> AllRows() const;
    QList<HistoryRow> SelectedRows() const;

    // Writes the whole history to `path` atomically; false with the reason
    // in `error` when it could not.
    bool Save(const QString& path, HistoryFormat format, QString* error) const;

  private:
    void AskAndSave(HistoryFormat format);
    void CopySelected();

    QListView& m_list;
    const HistoryModel& m_history;
    QWidget& m_window;
    QList<QAction*> m_actions;
};
