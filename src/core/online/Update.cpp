#include "core/online/Update.h"

#include "core/text/AtomicFile.h"

#include "core/online/WebServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

constexpr qint64 DescriptionLimit = 64 * 1024;

} // namespace

UpdateCheck::UpdateCheck(QNetworkAccessManager& nam, const QString& programFolder, QObject* parent)
    : QObject(parent)
    , m_folder(programFolder)
    , m_fetch(nam)
{
    connect(&m_fetch, &FetchUrl::finished, this, &UpdateCheck::fetched);
}

void UpdateCheck::CheckForUpdate(const QUrl& base, int ownVersion)
{
    m_ownVersion = ownVersion;
    FetchUrl::Options o;
    o.maxBytes = DescriptionLimit;
    m_fetch.start(WebServer::updateUrl(base), o);
}

void UpdateCheck::fetched()
{
    if (!m_fetch.ok()) {
        emit nothingOffered();
        return;
    }
    // Kept beside the program until the next check, as it always was.
    (void)AtomicFile::writeAll(QDir(m_folder).filePath(UpdateInfo::FileName), m_fetch.data());
    const auto offer = UpdateInfo::parse(m_fetch.data(), m_ownVersion);
    if (offer)
        emit offered(*offer);
    else
        emit nothingOffered();
}

InstallerDownload::InstallerDownload(
    QNetworkAccessManager& nam, const QString& programFolder, QObject* parent)
    : QObject(parent)
    , m_folder(programFolder)
    , m_fetch(nam)
{
    connect(&m_fetch, &FetchUrl::finished, this, &InstallerDownload::fetched);
    connect(&m_fetch, &FetchUrl::chunkRead, this, [this](qint64 n) {
        if (m_blocks.add(n))
            emit blocksShown(m_blocks.shown());
    });
}

QString InstallerDownload::installerPath() const
{
    return QDir(m_folder).filePath(m_offer.fileName);
}

void InstallerDownload::DownloadUpdate(const QUrl& base, const UpdateInfo::Offer& offer)
{
    m_offer = offer;
    m_blocks = UpdateInfo::ProgressBlocks(offer.blockThreshold());
    FetchUrl::Options o;
    o.maxBytes = offer.maxBytes();
    o.targetFile = installerPath();
    o.expectedSha256 = offer.sha256;
    // Without a digest, a body without a length must at least reach the
    // size the description gives: a cut-off installer is never offered.
    if (offer.sha256.isEmpty())
        o.minBytes = offer.leastBytes();
    m_fetch.start(WebServer::installerUrl(base, offer.fileName), o);
}

void InstallerDownload::cancel()
{
    m_fetch.cancel();
}

void InstallerDownload::fetched()
{
    switch (m_fetch.status()) {
    case FetchUrl::Status::Ok:
        emit finished(Outcome::Complete);
        return;
    case FetchUrl::Status::Cancelled:
        // The partial file went with the fetch; the description goes too.
        QFile::remove(QDir(m_folder).filePath(UpdateInfo::FileName));
        emit finished(Outcome::Cancelled);
        return;
    case FetchUrl::Status::BadDigest:
        emit finished(Outcome::BadDigest);
        return;
    default:
        emit finished(Outcome::Failed);
        return;
    }
}

QFileDevice::Permissions withExecute(QFileDevice::Permissions p)
{
    // Execute where the file may be read: the umask chose who may read it.
    if (p & QFileDevice::ReadOwner)
        p |= QFileDevice::ExeOwner | QFileDevice::ExeUser;
    if (p & QFileDevice::ReadGroup)
        p |= QFileDevice::ExeGroup;
    if (p & QFileDevice::ReadOther)
        p |= QFileDevice::ExeOther;
    return p;
}

bool startInstaller(const QString& path, const QString& programFolder)
{
    QFile f(path);
    if (!f.exists())
        return false;
    f.setPermissions(withExecute(f.permissions()));
    return QProcess::startDetached(path, {}, programFolder);
}
