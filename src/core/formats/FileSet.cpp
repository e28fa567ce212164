#include "core/formats/FileSet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

std::optional<QByteArray> MemoryFileSet::read(const QString& name, QString*)
{
    const std::optional<QString> clean = FileSets::cleanName(name);
    const auto it = clean ? m_files.constFind(*clean) : m_files.constEnd();
    if (it == m_files.constEnd())
        return std::nullopt;
    return *it;
}

void MemoryFileSet::add(const QString& name, const QByteArray& bytes)
{
    if (m_files.contains(name))
        return;
    m_names.append(name);
    m_files.insert(name, bytes);
}

namespace FileSets {

namespace {

QString megabytes(qint64 bytes)
{
    return QString::number(bytes >> 20);
}

// Files of a folder, read from disk when asked.
class FolderSet : public FileSet {
public:
    FolderSet(const QString& root, QStringList names, const FormatLimits& limits)
        : m_root(QFileInfo(root).canonicalFilePath())
        , m_names(std::move(names))
        , m_limits(limits)
    {
    }
    const QStringList& names() const override { return m_names; }
    std::optional<QByteArray> read(const QString& name, QString* error) override;

private:
    QString m_root;
    QStringList m_names;
    FormatLimits m_limits;
    qint64 m_total = 0;
};

std::optional<QByteArray> FolderSet::read(const QString& name, QString* error)
{
    const std::optional<QString> clean = cleanName(name);
    if (!clean || m_root.isEmpty())
        return std::nullopt;
    const QFileInfo info(m_root + QLatin1Char('/') + *clean);
    if (!info.exists() || !info.isFile())
        return std::nullopt;
    // A link, or a folder on the way that is one, could lead anywhere: it is
    // not followed, as if the file were not there.
    if (info.isSymLink() || info.canonicalFilePath() != info.absoluteFilePath())
        return std::nullopt;
    if (info.size() > m_limits.entryBytes) {
        *error
            = QStringLiteral("filen \"%1\" är större än %2 MB.").arg(*clean, megabytes(m_limits.entryBytes));
        return std::nullopt;
    }
    if (m_total + info.size() > m_limits.totalBytes) {
        *error
            = QStringLiteral("filerna är tillsammans större än %1 MB.").arg(megabytes(m_limits.totalBytes));
        return std::nullopt;
    }
    QFile f(info.absoluteFilePath());
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("filen \"%1\" kunde inte läsas.").arg(*clean);
        return std::nullopt;
    }
    QByteArray bytes = f.read(m_limits.entryBytes + 1);
    if (bytes.size() > m_limits.entryBytes) {
        *error
            = QStringLiteral("filen \"%1\" är större än %2 MB.").arg(*clean, megabytes(m_limits.entryBytes));
        return std::nullopt;
    }
    m_total += bytes.size();
    return bytes;
}

struct Listing {
    const FormatLimits& limits;
    const Wanted& wanted;
    QStringList names;
    int seen = 0;
    QString error;

    bool walk(const QDir& dir, const QString& prefix, int depth)
    {
        const QFileInfoList entries = dir.entryInfoList(
            QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name | QDir::DirsLast);
        for (const QFileInfo& e : entries) {
            if (++seen > limits.entries) {
                error = QStringLiteral("mappen har fler än %1 filer.").arg(limits.entries);
                return false;
            }
            if (e.isSymLink() || e.fileName().startsWith(QLatin1Char('.')))
                continue;
            const QString name = prefix + e.fileName();
            if (e.isDir()) {
                if (depth < limits.folderDepth
                    && !walk(QDir(e.filePath()), name + QLatin1Char('/'), depth + 1))
                    return false;
            } else if (e.isFile() && wanted(name)) {
                names.append(name);
            }
        }
        return true;
    }
};

} // namespace

std::optional<QString> cleanName(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (n.startsWith(QLatin1Char('/')) || (n.size() > 1 && n.at(1) == QLatin1Char(':')))
        return std::nullopt;
    for (const QChar c : n)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return std::nullopt;
    QStringList parts;
    for (const QString& p : n.split(QLatin1Char('/'))) {
        if (p.isEmpty() || p == QLatin1String("."))
            continue;
        if (p == QLatin1String(".."))
            return std::nullopt;
        parts.append(p);
    }
    if (parts.isEmpty())
        return std::nullopt;
    return parts.join(QLatin1Char('/'));
}

std::optional<QString> resolve(const QString& from, const QString& reference)
{
    const QString ref = reference.trimmed();
    const QUrl url(ref, QUrl::StrictMode);
    if (ref.isEmpty() || (url.isValid() && !url.scheme().isEmpty() && url.scheme().size() > 1))
        return std::nullopt;
    QString path = url.isValid() ? url.path(QUrl::FullyDecoded) : ref;
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\')))
        return std::nullopt;
    const qsizetype slash = from.lastIndexOf(QLatin1Char('/'));
    const QString dir = slash < 0 ? QString() : from.left(slash + 1);
    // ".." may climb within the top, never past it.
    QStringList parts = dir.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& p :
        QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'))) {
        if (p.isEmpty() || p == QLatin1String("."))
            continue;
        if (p == QLatin1String("..")) {
            if (parts.isEmpty())
                return std::nullopt;
            parts.removeLast();
            continue;
        }
        parts.append(p);
    }
    return cleanName(parts.join(QLatin1Char('/')));
}

std::unique_ptr<FileSet> openFolder(
    const QString& root, const FormatLimits& limits, const Wanted& wanted, QString* error)
{
    Listing listing { limits, wanted, {}, 0, {} };
    if (!QFileInfo(root).isDir() || !listing.walk(QDir(root), QString(), 0)) {
        *error = listing.error.isEmpty() ? QStringLiteral("mappen kunde inte läsas.") : listing.error;
        return nullptr;
    }
    return std::make_unique<FolderSet>(root, listing.names, limits);
}

std::unique_ptr<FileSet> openBeside(const QString& filePath, const FormatLimits& limits)
{
    // The chosen file itself may be a link; its pictures lie beside what it
    // points at.
    QFileInfo info(filePath);
    if (info.isSymLink() && !info.canonicalFilePath().isEmpty())
        info = QFileInfo(info.canonicalFilePath());
    return std::make_unique<FolderSet>(info.absolutePath(), QStringList { info.fileName() }, limits);
}

} // namespace FileSets
