#include "data/resultsetmodel.h"

#include "data/resultset.h"

ResultSetModel::ResultSetModel(ResultSet& resultSet, QObject* parent)
    : QAbstractTableModel(parent)
    , m_resultSet(resultSet)
{
    connect(&m_resultSet, &ResultSet::aboutToReset, this, &ResultSetModel::beginResetModel);
    connect(&m_resultSet, &ResultSet::reset, this, &ResultSetModel::endResetModel);
}

int ResultSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_resultSet.isOpen() ? 0 : m_resultSet.recordCount();
}

int ResultSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_resultSet.fieldCount();
}

QVariant ResultSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return m_resultSet.text(index.row(), index.column());
    case Qt::EditRole:
        return m_resultSet.value(index.row(), index.column());
    default:
        return {};
    }
}

QVariant ResultSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_resultSet.field(section).name;
    return {};
}

Qt::ItemFlags ResultSetModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}
