#include "ui/app/SwedishFileColumns.h"

#include <QFileSystemModel>
#include <QLocale>

QVariant SwedishFileColumns::data(const QModelIndex& index, int role) const
{
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !files || (index.column() != SizeColumn && index.column() != DateColumn))
        return QIdentityProxyModel::data(index, role);
    const QLocale swedish(QLocale::Swedish, QLocale::Sweden);
    const QModelIndex source = mapToSource(index);
    if (index.column() == DateColumn)
        return swedish.toString(files->lastModified(source), QLocale::ShortFormat);
    return files->isDir(source) ? QString() : swedish.formattedDataSize(files->size(source));
}
