#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <QVector>

// The recipe list's rows: titles with their recipe numbers beside them, so a
// row and its number can never disagree.
class RecipeListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setRows(QVector<qint32> ids, QStringList titles);
    void clear() { setRows({}, {}); }
    // A renamed recipe: its row's title starting with `oldTitle` starts with
    // `newTitle` instead, what a search added after it kept.
    void retitle(qint32 id, const QString& oldTitle, const QString& newTitle);
    qint32 idAt(int row) const { return row >= 0 && row < m_ids.size() ? m_ids.at(row) : 0; }
    const QVector<qint32>& ids() const { return m_ids; }
    int rowOf(qint32 id) const { return int(m_ids.indexOf(id)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QVector<qint32> m_ids;
    QStringList m_titles;
};
