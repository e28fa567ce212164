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

TaskRequest parseTask(const QStringList& arguments, const QString& currentFolder)
{
    TaskRequest t;
    const QString first = arguments.value(0);
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        t.task = Task::Help;
    else if (first == QLatin1String("--import"))
        t.task = Task::Import;
    else if (first == QLatin1String("--export"))
        t.task = Task::Export;
    else
        return t;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size() && t.task != Task::Help; ++i) {
        const QString& a = arguments.at(i);
        if (!optionsEnded && a == QLatin1String("--category")) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).trimmed().isEmpty()) {
                t.error = QStringLiteral("Efter --category ska ett kategorinamn stå.");
                return t;
            }
            t.category = arguments.at(++i);
        } else if (!optionsEnded && a == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && a.startsWith(QLatin1Char('-')) && a != QLatin1String("-")) {
            t.error = QStringLiteral("Okänt val: %1").arg(a);
            return t;
        } else if (const QString path = localName(a, currentFolder); !path.isEmpty()) {
            t.files.append(path);
        } else {
            t.error = QStringLiteral("Filen %1 är inte en fil på den här datorn.").arg(a);
            return t;
        }
    }
    if (t.task == Task::Import && t.files.isEmpty())
        t.error = QStringLiteral("Ange vilka filer som ska importeras.");
    if (t.task == Task::Export && t.files.size() != 1)
        t.error = QStringLiteral("Ange en fil att exportera till.");
    if (t.task == Task::Export && t.error.isEmpty()) {
        const QString suffix = QFileInfo(t.files.front()).suffix().toLower();
        if (suffix != QLatin1String("zip") && suffix != QLatin1String("rcp"))
            t.error = QStringLiteral("Recept kan bara exporteras till en .zip- eller .rcp-fil.");
    }
    return t;
}

QString helpText(const QString& command)
{
    // The descriptions of the short forms start in one column, however long the name.
    const auto line = [&command](const QString& call, const QString& what) {
        return QStringLiteral("  %1 %2 %3\n").arg(command, call.leftJustified(36 - command.size()), what);
    };
    const QString form = QStringLiteral("  %1 %2\n");
    return QStringLiteral("Användning:\n")
        + line(QStringLiteral("[FIL...]"),
            QStringLiteral("öppnar programmet (och kylskåp .kyl, receptfiler .rcp)"))
        + form.arg(command, QStringLiteral("--import FIL... [--category NAMN]"))
        + QStringLiteral(
            "        läser in recept från filerna (JSON-LD .json/.html/.zip/mapp, MealMaster, Paprika, "
            ".rcp)\n"
            "        i kokboken. Med --category hamnar alla i den kategorin (som skapas om den saknas),\n"
            "        annars i receptets egen kategori med samma namn, som skapas om den saknas.\n")
        + form.arg(command, QStringLiteral("--export FIL.zip|FIL.rcp [--category NAMN]"))
        + QStringLiteral(
            "        skriver hela kokboken, eller en kategori, till en .zip-fil (JSON-LD med bilder)\n"
            "        eller en receptfil (.rcp).\n")
        + line(QStringLiteral("--help"), QStringLiteral("visar den här texten."))
        + QStringLiteral(
            "\n"
            "Import och export körs utan fönster, på programmappens kokbok, och går inte medan\n"
            "programmet är igång. Slutstatus 0 när allt gick bra, annars 1 (2 vid fel i valen).\n");
}

namespace {

const QByteArray HandOverHeader = QByteArrayLiteral("KROX-GASTRID-FILER 1");

QByteArray kindMark(std::optional<FileKind> kind)
{
    if (!kind)
        return QByteArrayLiteral("?");
    return *kind == FileKind::Fridge ? QByteArrayLiteral("K") : QByteArrayLiteral("R");
}

} // namespace

QByteArray handOverMessage(const Request& request)
{
    // Percent-encoded, so that a name with a line break stays one line.
    QByteArray out = HandOverHeader + '\n';
    for (const GivenFile& f : request.files)
        out += kindMark(f.kind) + ' ' + QUrl::toPercentEncoding(f.path) + '\n';
    for (const QString& name : request.unknownFiles)
        out += kindMark(std::nullopt) + ' ' + QUrl::toPercentEncoding(name) + '\n';
    return out + '\n';
}

std::optional<Request> takeOverMessage(const QByteArray& message)
{
    if (!message.endsWith("\n\n"))
        return std::nullopt;
    QList<QByteArray> lines = message.chopped(2).split('\n');
    if (lines.takeFirst() != HandOverHeader)
        return std::nullopt;
    Request r;
    for (const QByteArray& line : std::as_const(lines)) {
        if (line.size() < 3 || line.at(1) != ' ')
            return std::nullopt;
        const QString name = QUrl::fromPercentEncoding(line.mid(2));
        const QByteArray mark = line.left(1);
        if (mark == kindMark(std::nullopt)) {
            r.unknownFiles.append(name);
            continue;
        }
        const std::optional<FileKind> kind = kindOf(name);
        if (!kind || kindMark(kind) != mark || !QDir::isAbsolutePath(name) || QDir::cleanPath(name) != name)
            return std::nullopt;
        r.files.append({ *kind, name });
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
