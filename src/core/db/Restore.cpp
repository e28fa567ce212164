#include "core/db/Restore.h"

#include "core/db/Backup.h"
#include "core/db/ReplaceFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace Restore {

namespace {

// What the engine may have left beside the file; it belongs to the damaged
// file and must never be rolled into the backup's copy.
const QStringList Companions = { QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm") };

bool copyInto(const QString& from, const QString& to, const QString& model, QString* error)
{
    const int fd = ReplaceFile::create(to, model, error);
    if (fd < 0)
        return false;
    QFile in(from);
    QFile out;
    bool ok
        = in.open(QIODevice::ReadOnly) && out.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    while (ok && !in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        ok = !chunk.isEmpty() && out.write(chunk) == chunk.size();
    }
    ok = ok && out.flush() && ::fsync(out.handle()) == 0;
    if (!ok)
        *error = in.error() != QFileDevice::NoError ? in.errorString() : out.errorString();
    if (!out.isOpen())
        ::close(fd);
    return ok;
}

} // namespace

bool isDamage(const DbError& error)
{
    // A page whose code fails reads as a plain error or a failed read.
    return error.code == DbCode::Corrupt || error.code == DbCode::NotADb || error.code == DbCode::Error
        || error.code == DbCode::IoErr;
}

QString asideName(const QString& cookbook, const QDateTime& now)
{
    const QFileInfo info(cookbook);
    const QString stem = info.dir().filePath(info.completeBaseName() + QStringLiteral("-skadad-")
        + now.toString(QStringLiteral("yyyy-MM-dd-HHmmss")));
    const QString suffix = QLatin1Char('.') + info.suffix();
    QString name = stem + suffix;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = stem + QLatin1Char('-') + QString::number(n) + suffix;
    return name;
}

Result fromBackup(const QString& cookbook, const QString& backup, const QString& key, const QString& aside)
{
    Result r;
    const QString copy = cookbook + QStringLiteral(".restore");
    auto fail = [&](const QString& error) {
        QFile::remove(copy);
        r.error = error;
        return r;
    };
    if (!copyInto(backup, copy, cookbook, &r.error))
        return fail(r.error);
    // The copy is checked before the damaged file is touched.
    if (const Backup::Result c = Backup::check(copy, key); c.outcome != Backup::Outcome::Ok)
        return fail(c.error);
    if (!QFile::rename(cookbook, aside))
        return fail(QStringLiteral("%1 kunde inte byta namn.").arg(QDir::toNativeSeparators(cookbook)));
    r.aside = aside;
    for (const QString& c : Companions) {
        if (QFileInfo::exists(cookbook + c) && !QFile::rename(cookbook + c, aside + c)) {
            QFile::rename(aside, cookbook);
            r.aside.clear();
            return fail(
                QStringLiteral("%1 kunde inte byta namn.").arg(QDir::toNativeSeparators(cookbook + c)));
        }
    }
    if (!ReplaceFile::put(copy, cookbook, &r.error)) {
        // Back as it was: the damaged file under its own name.
        if (QFile::rename(aside, cookbook))
            r.aside.clear();
        return fail(r.error);
    }
    r.ok = true;
    return r;
}

} // namespace Restore
