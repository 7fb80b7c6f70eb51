#pragma once

#include <QObject>
#include <QRect>
#include <QSortFilterProxyModel>

class QAction;
class QLineEdit;
class QListView;
class ScreenReaderNotice;

// The history's rows that contain a text, ignoring letter case, in the
// history's order; every row while the text is empty. Matched against the
// whole expression, not the beginning a row shows.
class HistoryFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void SetText(const QString& text);
    const QString& Text() const { return m_text; }

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

  private:
    QString m_text;
};

// Searching the history from the keyboard: Ctrl+F in the history opens a
// field in `place` (over the history's label, so nothing else moves) and
// the history shows only the entries holding its text; Up and Down move
// through them without leaving the field, Enter chooses the current one,
// Escape (in the field, or in the list while it filters) closes the field
// and shows every entry again, the chosen one still current. The list shows the filter's rows from
// now on: its indexes are the filter's, whose data is the history's.
class HistorySearch : public QObject {
    Q_OBJECT
  public:
    HistorySearch(QListView& list, QAbstractItemModel& history, QRect place);

    QLineEdit* Field() const { return m_field; }
    HistoryFilterModel& Filter() { return m_filter; }
    // The history's index of a row the list shows.
    QModelIndex HistoryIndex(const QModelIndex& shown) const { return m_filter.mapToSource(shown); }

    void Open();
    void Close();

  signals:
    // Enter in the field, with the list's current entry the one chosen.
    void Chosen();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnTextEdited(const QString& text);

    QListView& m_list;
    HistoryFilterModel m_filter;
    QLineEdit* m_field;
    ScreenReaderNotice* m_notice;
};
