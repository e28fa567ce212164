#include "core/app/ProgramPaths.h"

#include "core/text/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString CookbookName = QStringLiteral("dbRcp.mdb");
const QString DataFolderName = QStringLiteral("KROX Gastrid");

QString in(const QString& folder, const QString& name)
{
    return QDir::cleanPath(QDir(folder).filePath(name));
}

QString dataHome(const ProgramPaths::Surroundings& s)
{
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say.
    if (!s.xdgDataHome.isEmpty() && QDir::isAbsolutePath(s.xdgDataHome))
        return s.xdgDataHome;
    return in(s.home, QStringLiteral(".local/share"));
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString ProgramPaths::manualPath() const
{
    return in(shareFolder, QStringLiteral("Manual/Default.htm"));
}

QString ProgramPaths::file(const QString& name) const
{
    return QDir(programFolder).filePath(name);
}

QString ProgramPaths::deliveredCookbook() const
{
    return in(shareFolder, CookbookName);
}

ProgramPaths ProgramPaths::portable(const QString& folder)
{
    ProgramPaths p;
    p.programFolder = folder;
    p.shareFolder = folder;
    return p;
}

QString ProgramPaths::installedShareFolder(const QString& executableFolder)
{
    return in(executableFolder, QStringLiteral(GASTRID_SHARE_FROM_EXE));
}

ProgramPaths ProgramPaths::choose(const Surroundings& s)
{
    if (s.cookbookBesideExecutable || !s.deliveredCookbookInstalled)
        return portable(s.executableFolder);
    ProgramPaths p;
    p.kind = Kind::Installed;
    p.programFolder = in(dataHome(s), DataFolderName);
    p.shareFolder = installedShareFolder(s.executableFolder);
    return p;
}

ProgramPaths::Surroundings ProgramPaths::look(const QString& executableFolder)
{
    Surroundings s;
    s.executableFolder = executableFolder;
    s.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    s.home = QDir::homePath();
    s.cookbookBesideExecutable = QFileInfo(in(executableFolder, CookbookName)).isFile();
    s.deliveredCookbookInstalled
        = QFileInfo(in(installedShareFolder(executableFolder), CookbookName)).isFile();
    return s;
}

QString ProgramPaths::prepare() const
{
    if (kind == Kind::Portable)
        return {};
    const QString cookbook = in(programFolder, CookbookName);
    const QFileInfo found(cookbook);
    if (found.isFile())
        return {};
    // A cookbook kept elsewhere through a link (another disk, a synced
    // folder) that is not there now: a fresh copy would replace the link.
    if (found.isSymLink())
        return QStringLiteral("Kokboken %1 finns i %2, som inte går att nå just nu.\n\n"
                              "Anslut den disken eller mappen och starta programmet igen.")
            .arg(native(cookbook), native(found.symLinkTarget()));
    if (!QFileInfo(programFolder).isDir()) {
        // Only its owner reads a user's data folder.
        if (!QDir().mkpath(programFolder)
            || !QFile::setPermissions(programFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return QStringLiteral("Mappen %1 för kokboken kunde inte skapas.").arg(native(programFolder));
    }
    QFile delivered(deliveredCookbook());
    if (!delivered.open(QIODevice::ReadOnly))
        return QStringLiteral("Den levererade kokboken %1 kunde inte läsas.\n\n%2")
            .arg(native(delivered.fileName()), delivered.errorString());
    const QByteArray bytes = delivered.readAll();
    // Whole or not at all: a cut-off copy would pass for the user's cookbook
    // at the next start.
    if (bytes.size() != delivered.size() || !AtomicFile::writeAll(cookbook, bytes))
        return QStringLiteral("Kokboken kunde inte kopieras till mappen %1.").arg(native(programFolder));
    return {};
}
