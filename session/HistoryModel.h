#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The expressions computed, oldest first, no two equal ignoring letter
// case. A row shows at most the beginning of a very long expression, as
// laying out megabytes of text for one line would stall the window; its
// edit role holds the whole of it.
class HistoryModel : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit HistoryModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Appends `entry` unless an entry equal to it ignoring case is there;
    // whether it did.
    bool Add(const QString& entry);
    // Appends entries no two alike, as Entries gives them.
    void Append(const QStringList& entries);
    void Clear();

    const QStringList& Entries() const { return m_entries; }

  private:
    QStringList m_entries;
};
