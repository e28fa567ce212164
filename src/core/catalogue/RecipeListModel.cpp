#include "core/catalogue/RecipeListModel.h"

void RecipeListModel::setRows(QVector<qint32> ids, QStringList titles)
{
    beginResetModel();
    m_ids = std::move(ids);
    m_titles = std::move(titles);
    endResetModel();
}

void RecipeListModel::retitle(qint32 id, const QString& oldTitle, const QString& newTitle)
{
    const int row = rowOf(id);
    if (row < 0 || !m_titles.at(row).startsWith(oldTitle))
        return;
    m_titles[row] = newTitle + m_titles.at(row).mid(oldTitle.size());
    emit dataChanged(index(row, 0), index(row, 0), { Qt::DisplayRole });
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
