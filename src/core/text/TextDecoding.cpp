#include "core/text/TextDecoding.h"

#include "core/text/TextFile.h"

#include <QStringDecoder>

namespace TextDecoding {

namespace {

std::optional<QString> utf8(const QByteArray& bytes)
{
    // Stateless: bytes cut off in a letter at the end are an error, not a wait.
    QStringDecoder d(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = d.decode(bytes);
    if (d.hasError())
        return std::nullopt;
    return text;
}

} // namespace

std::optional<QString> unicode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder d(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
            QStringDecoder::Flag::Stateless);
        return QString(d.decode(bytes));
    }
    return utf8(bytes);
}

bool isUtf8(const QByteArray& bytes)
{
    return utf8(bytes).has_value();
}

QString decode(const QByteArray& bytes)
{
    if (std::optional<QString> text = unicode(bytes))
        return *std::move(text);
    return TextFile::fromWindows1252(bytes);
}

} // namespace TextDecoding
