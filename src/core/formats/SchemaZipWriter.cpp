#include "core/formats/SchemaZipWriter.h"

#include "core/formats/SchemaFiles.h"

#include <QJsonDocument>

SchemaZipWriter::SchemaZipWriter(const QString& path)
    : m_zip(path)
{
}

QString SchemaZipWriter::slug(const QString& title)
{
    QString out;
    bool dash = false;
    for (const QChar c : title.normalized(QString::NormalizationForm_KD).toLower()) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))) {
            if (dash && !out.isEmpty())
                out += QLatin1Char('-');
            out += c;
            dash = false;
        } else if (c.category() != QChar::Mark_NonSpacing) {
            dash = true;
        }
        if (out.size() >= 40)
            break;
    }
    return out.isEmpty() ? QStringLiteral("recept") : out;
}

bool SchemaZipWriter::add(const PortableRecipe& r)
{
    const QString base = QStringLiteral("%1-%2").arg(++m_count, 4, 10, QLatin1Char('0')).arg(slug(r.title));
    const bool picture = !r.picture.isEmpty() && !r.pictureType.isEmpty();
    const QString pictureName = picture ? base + QLatin1Char('.') + r.pictureType : QString();
    const QByteArray json
        = QJsonDocument(SchemaFiles::toJson(r, pictureName)).toJson(QJsonDocument::Indented);
    return m_zip.add(base + QStringLiteral(".json"), json, true)
        && (!picture || m_zip.add(pictureName, r.picture, false));
}

bool SchemaZipWriter::finish()
{
    return m_zip.finish();
}
