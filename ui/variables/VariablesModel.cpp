#include "VariablesModel.h"

#include "DecimalText.h"
#include "EngineTexts.h"
#include "UiText.h"
#include "VarValidation.h"
#include "WindowTexts.h"

VariableRefusal RefusalText(const VarRejection& rejection) {
    return {VarRejectionText(rejection), VarRejectionTitle(rejection)};
}

VariablesModel::VariablesModel(QObject* parent) : QAbstractTableModel(parent) {}

int VariablesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int VariablesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant VariablesModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    if (index.column() == kValueColumn)
        return row.value;
    return row.named ? row.name : WindowText(WindowTexts::kNewVariableName);
}

QVariant VariablesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return WindowText(section == kNameColumn ? WindowTexts::kNameColumn
                                             : WindowTexts::kValueColumn);
}

Qt::ItemFlags VariablesModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

std::optional<VarRejection> VariablesModel::CheckName(const Row& row, const QString& name) const {
    const std::string bytes = ToEngineText(name);
    const std::string folded = FoldNameCase(bytes);
    // A row may change the case of its own name.
    const bool own = row.named && FoldNameCase(ToEngineText(row.name)) == folded;
    return CheckVariableName(bytes, !own && m_foldedNames.contains(folded));
}

bool VariablesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    const QString text = value.toString();
    if (text == data(index, Qt::EditRole).toString())
        return true;
    const bool set =
        index.column() == kNameColumn ? SetName(index.row(), text) : SetValue(index.row(), text);
    if (set) {
        emit dataChanged(index, index);
        emit TableChanged();
    }
    return set;
}

bool VariablesModel::SetName(int rowIndex, const QString& name) {
    Row& row = m_rows[static_cast<std::size_t>(rowIndex)];
    if (const std::optional<VarRejection> rejection = CheckName(row, name)) {
        emit Refused(RefusalText(*rejection));
        return false;
    }
    if (row.named) {
        m_foldedNames.erase(FoldNameCase(ToEngineText(row.name)));
        m_table.Erase(ToEngineText(row.name));
    }
    const std::string bytes = ToEngineText(name);
    m_foldedNames.insert(FoldNameCase(bytes));
    m_table.Set(bytes, row.number);
    row.name = name;
    row.named = true;
    return true;
}

bool VariablesModel::SetValue(int rowIndex, const QString& value) {
    const std::optional<double> number = ReadVariableValue(ToEngineText(value));
    if (!number) {
        emit Refused(RefusalText(*CheckVariableValue(ToEngineText(value))));
        return false;
    }
    Row& row = m_rows[static_cast<std::size_t>(rowIndex)];
    row.value = value;
    row.number = *number;
    if (row.named)
        m_table.Set(ToEngineText(row.name), row.number);
    return true;
}

bool VariablesModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    const auto first = m_rows.begin() + row;
    bool named = false;
    for (auto it = first; it != first + count; ++it) {
        if (!it->named)
            continue;
        named = true;
        const std::string bytes = ToEngineText(it->name);
        m_foldedNames.erase(FoldNameCase(bytes));
        m_table.Erase(bytes);
    }
    m_rows.erase(first, first + count);
    endRemoveRows();
    if (named)
        emit TableChanged();
    return true;
}

int VariablesModel::AddUnnamed() {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    const QString value = WindowText(WindowTexts::kNewVariableValue);
    m_rows.push_back({QString(), value, ReadVariableValue(ToEngineText(value)).value_or(0.0),
                      /*named=*/false});
    endInsertRows();
    return row;
}

bool VariablesModel::IsUnnamed(int row) const {
    return row >= 0 && row < rowCount() && !m_rows[static_cast<std::size_t>(row)].named;
}

int VariablesModel::Reset(const QList<VariableText>& variables) {
    beginResetModel();
    m_rows.clear();
    m_foldedNames.clear();
    m_table.Clear();
    int skipped = 0;
    for (const VariableText& variable : variables) {
        const std::string name = ToEngineText(variable.name);
        const std::optional<double> number = ReadVariableValue(ToEngineText(variable.value));
        std::string folded = FoldNameCase(name);
        if (!number || CheckVariableName(name, m_foldedNames.contains(folded))) {
            ++skipped;
            continue;
        }
        m_foldedNames.insert(std::move(folded));
        m_table.Set(name, *number);
        m_rows.push_back({variable.name, variable.value, *number, /*named=*/true});
    }
    endResetModel();
    emit TableChanged();
    return skipped;
}

QList<VariableText> VariablesModel::Variables() const {
    QList<VariableText> variables;
    variables.reserve(static_cast<qsizetype>(m_rows.size()));
    for (const Row& row : m_rows) {
        if (row.named)
            variables.append({row.name, row.value});
    }
    return variables;
}
