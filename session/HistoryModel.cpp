#include "HistoryModel.h"

namespace {

// A row shows at most this many characters of its expression.
constexpr qsizetype kShownLength = 1000;

}  // namespace

HistoryModel::HistoryModel(QObject* parent) : QAbstractListModel(parent) {}

int HistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const QString& entry = m_entries[index.row()];
    switch (role) {
        case Qt::DisplayRole:
            return entry.size() > kShownLength ? entry.left(kShownLength) + QStringLiteral("…")
                                               : entry;
        case Qt::EditRole:
            return entry;
        default:
            return {};
    }
}

bool HistoryModel::Add(const QString& entry) {
    for (const QString& present : m_entries) {
        if (present.compare(entry, Qt::CaseInsensitive) == 0)
            return false;
    }
    Append({entry});
    return true;
}

void HistoryModel::Append(const QStringList& entries) {
    if (entries.isEmpty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(entries.size()) - 1);
    m_entries += entries;
    endInsertRows();
}

void HistoryModel::Clear() {
    beginResetModel();
    m_entries.clear();
    endResetModel();
}
