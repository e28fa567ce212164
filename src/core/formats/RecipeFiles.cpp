#include "core/formats/RecipeFiles.h"

#include "core/formats/FileSet.h"
#include "core/formats/MealMaster.h"
#include "core/formats/Paprika.h"
#include "core/formats/SchemaFiles.h"
#include "core/formats/SchemaZipWriter.h"
#include "core/formats/TaggedFiles.h"
#include "core/text/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace RecipeFiles {

namespace {

using PortableRecipes::fileError;

QByteArray head(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(64 * 1024) : QByteArray();
}

Format bySniffing(const QByteArray& bytes)
{
    if (bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06"))
        return Format::SchemaZip;
    if (bytes.startsWith("\x1F\x8B"))
        return Format::Paprika;
    if (MealMaster::looksLike(bytes))
        return Format::MealMaster;
    if (TaggedFiles::looksLike(bytes))
        return Format::Tagged;
    const QByteArray t = bytes.trimmed();
    if (t.startsWith('{') || t.startsWith('[') || t.startsWith('<') || t.startsWith("\xEF\xBB\xBF"))
        return Format::SchemaFile;
    return Format::Unknown;
}

std::optional<QByteArray> readWhole(const QString& path, const FormatLimits& limits, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("filen kunde inte öppnas.");
        return std::nullopt;
    }
    QByteArray bytes = f.read(limits.fileBytes + 1);
    if (bytes.size() > limits.fileBytes) {
        *error = QStringLiteral("filen är större än %1 MB.").arg(limits.fileBytes >> 20);
        return std::nullopt;
    }
    return bytes;
}

bool zipWanted(const QString& name)
{
    return SchemaFiles::isRecipeFile(name) || SchemaFiles::isPictureFile(name)
        || Paprika::isRecipeEntry(name);
}

ReadResult readZip(const QString& path, const ReadOptions& options, const QString& shown)
{
    QFile f(path);
    QString error;
    const std::unique_ptr<FileSet> set = FileSets::openZip(&f, options.limits, zipWanted, &error);
    if (!set)
        return { {}, fileError(shown, error) };
    for (const QString& name : set->names())
        if (Paprika::isRecipeEntry(name))
            return Paprika::read(*set, options, shown);
    return SchemaFiles::read(*set, options, shown);
}

ReadResult readBytes(Format format, const QString& path, const ReadOptions& options, const QString& shown)
{
    QString error;
    const std::optional<QByteArray> bytes = readWhole(path, options.limits, &error);
    if (!bytes)
        return { {}, fileError(shown, error) };
    switch (format) {
    case Format::MealMaster:
        return MealMaster::read(*bytes, options, shown);
    case Format::Tagged:
        return TaggedFiles::read(*bytes, options, shown);
    case Format::Paprika: {
        MemoryFileSet one;
        one.add(QFileInfo(path).fileName(), *bytes);
        return Paprika::read(one, options, shown);
    }
    default:
        return { {}, fileError(shown, QStringLiteral("filens format är okänt.")) };
    }
}

} // namespace

Format formatOf(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return Format::SchemaFolder;
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("paprikarecipes"))
        return Format::SchemaZip == bySniffing(head(path)) ? Format::Paprika : Format::Unknown;
    if (suffix == QLatin1String("paprikarecipe"))
        return Format::Paprika;
    if (suffix == QLatin1String("json") || suffix == QLatin1String("jsonld")
        || suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return Format::SchemaFile;
    if (suffix == QLatin1String("mmf") || suffix == QLatin1String("mm"))
        return Format::MealMaster;
    if (suffix == QLatin1String("rcp"))
        return Format::Tagged;
    return bySniffing(head(path));
}

ReadResult read(const QString& path, const ReadOptions& options)
{
    const QFileInfo info(path);
    const QString shown = info.fileName().isEmpty() ? QDir::toNativeSeparators(path) : info.fileName();
    if (!info.exists())
        return { {}, fileError(shown, QStringLiteral("filen finns inte.")) };
    if (!info.isDir() && info.size() > options.limits.fileBytes)
        return { {},
            fileError(
                shown, QStringLiteral("filen är större än %1 MB.").arg(options.limits.fileBytes >> 20)) };
    const Format format = formatOf(path);
    switch (format) {
    case Format::SchemaFolder: {
        QString error;
        const auto set = FileSets::openFolder(path, options.limits, SchemaFiles::isRecipeFile, &error);
        return set ? SchemaFiles::read(*set, options, shown) : ReadResult { {}, fileError(shown, error) };
    }
    case Format::SchemaZip:
        return readZip(path, options, shown);
    case Format::SchemaFile: {
        const auto set = FileSets::openBeside(path, options.limits);
        return SchemaFiles::read(*set, options, shown);
    }
    case Format::Paprika:
        return info.suffix().compare(QLatin1String("paprikarecipes"), Qt::CaseInsensitive) == 0
            ? readZip(path, options, shown)
            : readBytes(Format::Paprika, path, options, shown);
    case Format::MealMaster:
    case Format::Tagged:
        return readBytes(format, path, options, shown);
    case Format::Unknown:
        break;
    }
    return { {}, fileError(shown, QStringLiteral("filens format är okänt.")) };
}

QString write(const QString& path, const QList<PortableRecipe>& recipes)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("rcp")) {
        if (!AtomicFile::writeAll(path, TaggedFiles::bytes(recipes)))
            return QStringLiteral("Filen %1 kunde inte sparas.").arg(QDir::toNativeSeparators(path));
        return {};
    }
    if (suffix != QLatin1String("zip"))
        return QStringLiteral("Recept kan bara sparas som .zip eller .rcp.");
    SchemaZipWriter zip(path);
    for (const PortableRecipe& r : recipes)
        if (!zip.add(r))
            return zip.error();
    return zip.finish() ? QString() : zip.error();
}

} // namespace RecipeFiles
