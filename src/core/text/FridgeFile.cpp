#include "core/text/FridgeFile.h"

namespace FridgeFile {

TextFile::ReadResult read(const QString& path)
{
    return TextFile::readLines(path);
}

TextFile::WriteResult write(const QString& path, const QStringList& entries)
{
    return TextFile::writeLines(path, entries);
}

} // namespace FridgeFile
