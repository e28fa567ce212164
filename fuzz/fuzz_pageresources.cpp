// The page loader's decision: whatever name a page holds, the path it stands
// for is absolute and clean or empty, never remote or on another host; and
// reading it gives the bytes of a regular file within the bound, or nothing,
// never blocking on a FIFO or reading a device.
#include "core/print/PageResources.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdint>
#include <cstdlib>

#include <sys/stat.h>

namespace {

constexpr qint64 Limit = 4096;
const QByteArray Picture = "GIF89a picture bytes";

// A folder holding a picture, a FIFO, a folder, a link to /dev/zero and a
// file over the bound; the page is in it.
QString folder()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
            ? QStringLiteral("/dev/shm/gastrid-fuzz-XXXXXX")
            : QDir::tempPath() + QStringLiteral("/gastrid-fuzz-XXXXXX"));
    static const bool made = [] {
        QFile f(dir.filePath(QStringLiteral("bild.gif")));
        QFile big(dir.filePath(QStringLiteral("stor.gif")));
        return f.open(QIODevice::WriteOnly) && f.write(Picture) == Picture.size()
            && big.open(QIODevice::WriteOnly) && big.resize(Limit + 1)
            && QDir(dir.path()).mkdir(QStringLiteral("mapp"))
            && ::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0600) == 0
            && QFile::link(QStringLiteral("/dev/zero"), dir.filePath(QStringLiteral("noll")));
    }();
    if (!made)
        std::abort();
    return QDir::cleanPath(dir.path());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString dir = folder();
    const QUrl page = QUrl::fromLocalFile(dir + QStringLiteral("/tmpPrint.htm"));
    const QUrl name(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QString path = PageResources::localPath(page, name);
    if (path.isEmpty())
        return 0;
    if (!QDir::isAbsolutePath(path) || QDir::cleanPath(path) != path)
        std::abort();
    const QString scheme = name.scheme().toLower();
    if ((!scheme.isEmpty() && scheme != QLatin1String("file")) || !name.host().isEmpty())
        std::abort();
    // Only the fuzz folder is read: this machine's own files are not the fuzzer's.
    if (!path.startsWith(dir + QLatin1Char('/')))
        return 0;
    const std::optional<QByteArray> bytes = PageResources::readRegular(path, Limit);
    const bool picture = path == dir + QStringLiteral("/bild.gif");
    if (bytes.has_value() != picture || (bytes && *bytes != Picture))
        std::abort();
    return 0;
}
