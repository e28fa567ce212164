#include "core/catalogue/RecipeListModel.h"

void RecipeListModel::setRows(QVector<qint32> ids, QStringList titles)
{
    beginResetModel();
    m_ids = std::move(ids);
    m_titles = std::move(titles);
    endResetModel();
}

int RecipeListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_ids.size());
}

QVariant RecipeListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_titles.size())
        return {};
    return m_titles.at(index.row());
}
