#include "core/text/FridgeFile.h"

#include <QFileInfo>

namespace FridgeFile {

TextFile::ReadResult read(const QString& path)
{
    return UserFile::readLines(path, MaxBytes);
}

TextFile::WriteResult write(const QString& path, const QStringList& entries)
{
    return UserFile::writeLines(path, entries);
}

QString withExtension(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + (name.endsWith(QLatin1Char('.')) ? QStringLiteral("kyl") : QStringLiteral(".kyl"));
}

} // namespace FridgeFile
