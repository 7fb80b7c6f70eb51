#include "ValueTableModel.h"

#include <QCoreApplication>

namespace {

enum Column { kXColumn, kYColumn, kColumnCount };

// A field as comma-separated values take it: quoted where it holds a
// separator, a quote or a line end.
QString CsvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

}  // namespace

ValueTableModel::ValueTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ValueTableModel::SetRows(std::vector<ValueRow> rows, const QString& variable) {
    beginResetModel();
    m_rows = std::move(rows);
    m_variable = variable;
    endResetModel();
}

int ValueTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ValueTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QString ValueTableModel::GapText(const ValueRow& row) {
    // The engine's messages are translated where the main window words its
    // errors, under this context.
    return row.error ? QCoreApplication::translate("EngineTexts", row.error->GetErrorText().c_str())
                     : QString();
}

QVariant ValueTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ValueRow& row = m_rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    if (index.column() == kXColumn)
        return QString::fromStdString(row.xText);
    return row.y ? QString::fromStdString(row.yText) : GapText(row);
}

QVariant ValueTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == kXColumn ? m_variable : QStringLiteral("y");
}

QString ValueTableModel::ToCsv() const {
    QString csv =
        CsvField(m_variable) + QStringLiteral(",y,") + CsvField(tr("错误")) + QLatin1Char('\n');
    for (const ValueRow& row : m_rows) {
        csv += QString::fromStdString(row.xText) + QLatin1Char(',') +
               QString::fromStdString(row.yText) + QLatin1Char(',') + CsvField(GapText(row)) +
               QLatin1Char('\n');
    }
    return csv;
}
