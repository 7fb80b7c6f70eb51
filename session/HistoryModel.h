#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The expressions computed, oldest first, no two equal ignoring letter
// case, each with its result as the result box showed it (empty for an
// entry kept before results were). A row shows at most the beginning of a
// very long expression, as laying out megabytes of text for one line would
// stall the window; its edit role holds the whole of it, and a screen
// reader hears "expression = result".
class HistoryModel : public QAbstractListModel {
    Q_OBJECT
  public:
    // The role that holds an entry's result.
    static constexpr int kResultRole = Qt::UserRole;

    explicit HistoryModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Appends `entry` unless an entry equal to it ignoring case is there,
    // whose result then becomes `result`: the variables may have changed
    // since. Whether it appended.
    bool Add(const QString& entry, const QString& result = {});
    // Appends entries no two alike, as Entries gives them, with their
    // results in the same order; missing results are empty.
    void Append(const QStringList& entries, const QStringList& results = {});
    void Clear();

    const QStringList& Entries() const { return m_entries; }
    // One for each entry, in the same order.
    const QStringList& Results() const { return m_results; }

  private:
    QStringList m_entries;
    QStringList m_results;
};
