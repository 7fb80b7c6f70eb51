#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "ValueTable.h"

// The table of values the graph window shows beside the curve: x at the
// x axis's ticks, and y or, for a gap, the error that leaves it.
class ValueTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit ValueTableModel(QObject* parent = nullptr);

    void SetRows(std::vector<ValueRow> rows, const QString& variable);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The table as comma-separated values: a header, then x, y and the
    // error of a gap, one row a line.
    QString ToCsv() const;

  private:
    // The error's name in the window's language.
    static QString GapText(const ValueRow& row);

    std::vector<ValueRow> m_rows;
    QString m_variable;
};
