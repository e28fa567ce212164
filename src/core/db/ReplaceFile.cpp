#include "core/db/ReplaceFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ReplaceFile {

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(strerror(errno));
}

bool sync(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

int create(const QString& path, const QString& model, QString* error)
{
    const QByteArray p = QFile::encodeName(path);
    ::unlink(p.constData());
    struct stat st { };
    const bool keep = ::lstat(QFile::encodeName(model).constData(), &st) == 0 && S_ISREG(st.st_mode);
    // Private until it has the model's mode; 0666 lets the umask decide otherwise.
    const int fd = ::open(p.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, keep ? 0600 : 0666);
    if (fd < 0) {
        *error = systemError();
        return -1;
    }
    if (keep) {
        if (::fchown(fd, st.st_uid, st.st_gid) != 0)
            (void)!::fchown(fd, uid_t(-1), st.st_gid);
        if (::fchmod(fd, st.st_mode & 07777) != 0) {
            *error = systemError();
            ::close(fd);
            ::unlink(p.constData());
            return -1;
        }
    }
    return fd;
}

bool put(const QString& done, const QString& target, QString* error)
{
    const QByteArray from = QFile::encodeName(done);
    if (!sync(from)) {
        *error = systemError();
        return false;
    }
    if (::rename(from.constData(), QFile::encodeName(target).constData()) != 0) {
        *error = systemError();
        return false;
    }
    sync(QFile::encodeName(QFileInfo(target).absolutePath()));
    return true;
}

} // namespace ReplaceFile
