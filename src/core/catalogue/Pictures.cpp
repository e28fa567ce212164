#include "core/catalogue/Pictures.h"

#include "core/db/ReplaceFile.h"
#include "core/text/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace Pictures {

namespace {

// Lookup order: a later type wins over an earlier one.
const char* const Extensions[] = { "gif", "jpg", "bmp" };

QString pictureName(const QString& pictureFolder, qint32 rid, const QString& ext)
{
    return QDir(pictureFolder).filePath(QString::number(rid) + QLatin1Char('.') + ext);
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

Result failure(const QString& text)
{
    return { false, text };
}

Result cannotRemove(const QString& path)
{
    return failure(QStringLiteral("Bilden %1 kunde inte tas bort.").arg(shown(path)));
}

// The picture window works on the list's current recipe; with none marked
// (an empty search result) there is no recipe to give a picture to.
Result noRecipe()
{
    return failure(QStringLiteral("Inget recept är markerat. Markera ett recept i listan först."));
}

bool samePath(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// Written beside the target and renamed into place when complete, so a
// failed copy leaves the old picture and no half-written file, and a link at
// the target's name is replaced, never written through.
Result copyPicture(const QString& chosenFile, const QString& pictureFolder, const QString& target)
{
    QFile in(chosenFile);
    if (!in.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("Bilden %1 kunde inte läsas.").arg(shown(chosenFile)));
    const Result copyFailed
        = failure(QStringLiteral("Bilden kunde inte kopieras till %1.").arg(shown(target)));
    QDir().mkpath(pictureFolder);
    const QString tmp
        = QDir(pictureFolder).filePath(QStringLiteral(".%1.tmp").arg(QFileInfo(target).fileName()));
    QString error;
    const int fd = ReplaceFile::create(tmp, target, &error);
    if (fd < 0)
        return copyFailed;
    QFile out;
    // Unbuffered, so a short write shows at the write that makes it.
    if (!out.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        QFile::remove(tmp);
        return copyFailed;
    }
    bool ok = true;
    char buf[64 * 1024];
    while (ok) {
        const qint64 n = in.read(buf, sizeof buf);
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        ok = out.write(buf, n) == n;
    }
    ok = out.flush() && ok;
    out.close();
    if (!ok || !ReplaceFile::put(tmp, target, &error)) {
        QFile::remove(tmp);
        return copyFailed;
    }
    return {};
}

} // namespace

QString ReceptBildFil(const QString& pictureFolder, qint32 rid)
{
    QString found;
    for (const char* ext : Extensions) {
        const QString path = pictureName(pictureFolder, rid, QLatin1String(ext));
        if (QFileInfo::exists(path))
            found = path;
    }
    return found;
}

Result storePicture(const QString& pictureFolder, qint32 rid, const QString& chosenFile)
{
    if (rid <= 0)
        return noRecipe();
    const QString name = QFileInfo(chosenFile).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString ext = dot < 0 ? QString() : name.mid(dot + 1).toLower();
    bool known = false;
    for (const char* e : Extensions)
        known = known || ext == QLatin1String(e);
    if (!known)
        return failure(QStringLiteral("Filen %1 är ingen bild av typen JPG, GIF eller BMP.").arg(name));

    const QString target = pictureName(pictureFolder, rid, ext);
    // The recipe's own file chosen again is already in place.
    if (!samePath(chosenFile, target)) {
        if (Result copied = copyPicture(chosenFile, pictureFolder, target); !copied.ok)
            return copied;
    }

    for (const char* e : Extensions) {
        if (ext == QLatin1String(e))
            continue;
        const QString other = pictureName(pictureFolder, rid, QLatin1String(e));
        if (QFileInfo::exists(other) && !QFile::remove(other))
            return cannotRemove(other);
    }
    return {};
}

Result removePicture(const QString& pictureFolder, qint32 rid)
{
    if (rid <= 0)
        return noRecipe();
    const QString path = ReceptBildFil(pictureFolder, rid);
    if (path.isEmpty())
        return {};
    if (!QFile::remove(path))
        return cannotRemove(path);
    return {};
}

Result removeAllPictures(const QString& pictureFolder, qint32 rid)
{
    Result result;
    for (const char* e : Extensions) {
        const QString path = pictureName(pictureFolder, rid, QLatin1String(e));
        if (QFileInfo::exists(path) && !QFile::remove(path) && result.ok)
            result = cannotRemove(path);
    }
    return result;
}

Result readPicture(const QString& pictureFolder, qint32 rid, Picture* picture)
{
    *picture = {};
    const QString path = ReceptBildFil(pictureFolder, rid);
    if (path.isEmpty())
        return {};
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("Bilden %1 kunde inte läsas.").arg(shown(path)));
    QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return failure(QStringLiteral("Bilden %1 kunde inte läsas.").arg(shown(path)));
    *picture = { QFileInfo(path).suffix(), std::move(bytes) };
    return {};
}

Result putPicture(const QString& pictureFolder, qint32 rid, const Picture& picture)
{
    bool known = false;
    for (const char* e : Extensions)
        known = known || picture.type == QLatin1String(e);
    if (known) {
        QDir().mkpath(pictureFolder);
        const QString target = pictureName(pictureFolder, rid, picture.type);
        if (!AtomicFile::writeAll(target, picture.bytes))
            return failure(QStringLiteral("Bilden kunde inte kopieras till %1.").arg(shown(target)));
    }
    for (const char* e : Extensions) {
        if (known && picture.type == QLatin1String(e))
            continue;
        const QString other = pictureName(pictureFolder, rid, QLatin1String(e));
        if (QFileInfo::exists(other) && !QFile::remove(other))
            return cannotRemove(other);
    }
    return {};
}

} // namespace Pictures
