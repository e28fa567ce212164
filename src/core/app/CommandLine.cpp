#include "core/app/CommandLine.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <optional>

namespace CommandLine {

namespace {

std::optional<FileKind> kindOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("kyl"), Qt::CaseInsensitive) == 0)
        return FileKind::Fridge;
    if (suffix.compare(QLatin1String("rcp"), Qt::CaseInsensitive) == 0)
        return FileKind::Recipe;
    return std::nullopt;
}

// A file manager may hand over a file: URL instead of a name.
QString localName(const QString& argument, const QString& currentFolder)
{
    QString name = argument;
    if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(argument);
        const QString host = url.host();
        if (!url.isLocalFile() || !(host.isEmpty() || host == QLatin1String("localhost")))
            return {};
        name = url.path();
    }
    return QDir::cleanPath(QDir(currentFolder).absoluteFilePath(name));
}

} // namespace

Request parse(const QStringList& arguments, const QString& currentFolder)
{
    Request r;
    bool optionsEnded = false;
    for (const QString& a : arguments) {
        if (a.isEmpty())
            continue;
        if (!optionsEnded && a == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && a.startsWith(QLatin1Char('-')) && a != QLatin1String("-")) {
            r.badOption = a;
            return r;
        }
        const QString path = localName(a, currentFolder);
        const std::optional<FileKind> kind = path.isEmpty() ? std::nullopt : kindOf(path);
        if (kind)
            r.files.append({ *kind, path });
        else
            r.unknownFiles.append(a);
    }
    return r;
}

QString unknownFilesMessage(const QStringList& names)
{
    if (names.isEmpty())
        return {};
    QStringList shown;
    for (const QString& n : names)
        shown.append(QDir::toNativeSeparators(n));
    return QStringLiteral("KROX Gastrid kan inte öppna %1.\n\nProgrammet öppnar kylskåp (.kyl) och "
                          "receptfiler (.rcp).")
        .arg(shown.join(QStringLiteral(", ")));
}

} // namespace CommandLine
