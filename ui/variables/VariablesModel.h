#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "VarTable.h"

struct VarRejection;

// Why an edit was refused, in the window's language.
struct VariableRefusal {
    QString message;
    QString title;
    friend bool operator==(const VariableRefusal&, const VariableRefusal&) = default;
};

// The refusal the window shows for a rejection of the engine's checks.
VariableRefusal RefusalText(const VarRejection& rejection);

// A variable as the grid shows it: its name and its value as typed.
struct VariableText {
    QString name;
    QString value;
    friend bool operator==(const VariableText&, const VariableText&) = default;
};

// The user's variables, one row each in the order they were added: the
// name, and the value as the decimal text it was typed as. Every name and
// value passes the engine's checks before a row takes it, so no two names
// are equal ignoring case and every value reads as one number; a refused
// edit changes nothing and says why through Refused. A row that 添加 made
// shows "请输入变量名" and is no variable until it is named.
//
// The variables the engine reads are kept in step with the rows, so a
// computation reads them as they are without reading a row.
class VariablesModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { kNameColumn = 0, kValueColumn = 1 };

    explicit VariablesModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A text equal to the cell's changes nothing and is not checked again:
    // confirming a new row's name untouched leaves it unnamed.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    // Appends a new unnamed row with the value "0.0"; returns its row.
    int AddUnnamed();
    bool IsUnnamed(int row) const;

    // Replaces every row: the variables the checks accept, in their order.
    // Returns how many were skipped.
    int Reset(const QList<VariableText>& variables);
    // The named rows, in their order.
    QList<VariableText> Variables() const;

    // What the engine reads: every named row's value.
    const VarTable& Table() const { return m_table; }

  signals:
    // An edit was refused; the cell keeps its text.
    void Refused(const VariableRefusal& refusal);
    // Table() changed.
    void TableChanged();

  private:
    struct Row {
        QString name;
        QString value;
        double number = 0.0;
        bool named = true;
    };
    std::optional<VarRejection> CheckName(const Row& row, const QString& name) const;
    bool SetName(int row, const QString& name);
    bool SetValue(int row, const QString& value);

    std::vector<Row> m_rows;
    // The names in use, case-folded: a name is checked against them at once
    // however many there are.
    std::unordered_set<std::string> m_foldedNames;
    VarTable m_table;
};
