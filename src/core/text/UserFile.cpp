#include "core/text/UserFile.h"

#include "core/text/TextDecoding.h"

namespace UserFile {

using TextFile::Decoding;

TextFile::ReadResult readLines(const QString& path, qint64 maxBytes)
{
    return TextFile::readLines(path, maxBytes, Decoding::ByContent);
}

std::optional<QString> readExact(const QString& path, QString* error, qint64 maxBytes)
{
    return TextFile::readExact(path, error, maxBytes, Decoding::ByContent);
}

std::optional<QByteArray> readBytes(const QString& path, QString* error, qint64 maxBytes)
{
    return TextFile::readBytes(path, error, maxBytes);
}

QString decode(const QByteArray& bytes)
{
    return TextDecoding::decode(bytes);
}

TextFile::WriteResult writeLines(const QString& path, const QStringList& lines)
{
    return TextFile::writeLines(path, lines, Decoding::ByContent);
}

TextFile::WriteResult writeExact(const QString& path, const QString& text)
{
    return TextFile::writeExact(path, text, Decoding::ByContent);
}

} // namespace UserFile
