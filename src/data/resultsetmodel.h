#pragma once

#include <QAbstractTableModel>

class ResultSet;

// A read-only table model over the result set: one row per record, one column per
// field, titled with the field's name.
class ResultSetModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ResultSetModel(ResultSet& resultSet, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    ResultSet& resultSet() const { return m_resultSet; }

private:
    ResultSet& m_resultSet;
};
