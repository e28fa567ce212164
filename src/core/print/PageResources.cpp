#include "core/print/PageResources.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PageResources {

QString localPath(const QUrl& page, const QUrl& name)
{
    if (!name.isValid() || !page.isLocalFile())
        return {};
    const QString scheme = name.scheme().toLower();
    if (!scheme.isEmpty() && scheme != QLatin1String("file"))
        return {};
    if (!name.host().isEmpty() || !name.userInfo().isEmpty() || name.port() != -1)
        return {};
    const QUrl resolved = page.resolved(name);
    if (!resolved.isLocalFile() || !resolved.host().isEmpty())
        return {};
    const QString path = resolved.toLocalFile();
    if (path.isEmpty() || path.contains(QChar(0)) || !QDir::isAbsolutePath(path))
        return {};
    return QDir::cleanPath(path);
}

namespace {

struct Fd {
    int fd;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

std::optional<QByteArray> readRegular(const QString& path, qint64 maxBytes)
{
    if (path.isEmpty() || maxBytes < 0)
        return std::nullopt;
    // Non-blocking, so opening a FIFO does not wait for a writer; the kind of
    // file is then asked of what was opened, not of the name.
    const Fd f { ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC) };
    if (f.fd < 0)
        return std::nullopt;
    struct stat st = {};
    if (::fstat(f.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxBytes)
        return std::nullopt;
    QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        // One byte more than the limit shows a file that grew meanwhile.
        if (got == bytes.size()) {
            if (got > maxBytes)
                return std::nullopt;
            bytes.resize(qMin<qint64>(got + 65536, maxBytes + 1));
        }
        const ssize_t n = ::read(f.fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        got += n;
    }
    if (got > maxBytes)
        return std::nullopt;
    bytes.truncate(got);
    return bytes;
}

} // namespace PageResources
