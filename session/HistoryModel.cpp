#include "HistoryModel.h"

namespace {

// A row shows at most this many characters of its expression.
constexpr qsizetype kShownLength = 1000;

QString Shown(const QString& entry) {
    return entry.size() > kShownLength ? entry.left(kShownLength) + QStringLiteral("…") : entry;
}

}  // namespace

HistoryModel::HistoryModel(QObject* parent) : QAbstractListModel(parent) {}

int HistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const QString& entry = m_entries[index.row()];
    const QString& result = m_results[index.row()];
    switch (role) {
        case Qt::DisplayRole:
            return Shown(entry);
        case Qt::EditRole:
            return entry;
        case Qt::AccessibleTextRole:
            return result.isEmpty() ? Shown(entry) : Shown(entry) + QStringLiteral(" = ") + result;
        case kResultRole:
            return result;
        default:
            return {};
    }
}

bool HistoryModel::Add(const QString& entry, const QString& result) {
    for (qsizetype row = 0; row < m_entries.size(); ++row) {
        if (m_entries[row].compare(entry, Qt::CaseInsensitive) != 0)
            continue;
        if (!result.isEmpty() && m_results[row] != result) {
            m_results[row] = result;
            const QModelIndex changed = index(static_cast<int>(row));
            emit dataChanged(changed, changed, {Qt::AccessibleTextRole, kResultRole});
        }
        return false;
    }
    Append({entry}, {result});
    return true;
}

void HistoryModel::Append(const QStringList& entries, const QStringList& results) {
    if (entries.isEmpty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(entries.size()) - 1);
    m_entries += entries;
    m_results += results.mid(0, entries.size());
    m_results.resize(m_entries.size());
    endInsertRows();
}

void HistoryModel::Clear() {
    beginResetModel();
    m_entries.clear();
    m_results.clear();
    endResetModel();
}
