#include "core/online/ReceptDownload.h"

#include "core/exchange/ReceptImport.h"
#include "core/online/WebServer.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimer>

namespace {

constexpr qint64 ReceptFileLimit = 5 * 1024 * 1024;

} // namespace

ReceptDownload::ReceptDownload(
    Database& db, QNetworkAccessManager& nam, const QString& programFolder, QObject* parent)
    : QObject(parent)
    , m_db(db)
    , m_folder(programFolder)
    , m_fetch(nam)
{
    connect(&m_fetch, &FetchUrl::finished, this, &ReceptDownload::fetched);
}

QString ReceptDownload::badCodeMessage()
{
    return QStringLiteral("Recepten för angivna koder kunde inte laddas ner.\n"
                          "Kontrollera att du angivit rätt kod eller försök senare.");
}

QStringList ReceptDownload::codes(const QString& text)
{
    QStringList out;
    for (QString line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        line.remove(QLatin1Char(' '));
        if (!line.isEmpty())
            out.append(line);
    }
    return out;
}

bool ReceptDownload::DownloadRecept(const QUrl& base, const QString& text)
{
    m_lines = codes(text);
    if (m_lines.isEmpty() || m_running)
        return false;
    m_base = base;
    m_index = 0;
    m_running = true;
    m_cancelled = false;
    next();
    return true;
}

void ReceptDownload::cancel()
{
    if (!m_running)
        return;
    m_cancelled = true;
    m_fetch.cancel();
}

void ReceptDownload::next()
{
    if (m_cancelled || m_index >= m_lines.size()) {
        m_running = false;
        emit finished();
        return;
    }
    FetchUrl::Options o;
    o.maxBytes = ReceptFileLimit;
    m_fetch.start(WebServer::receptUrl(m_base, m_lines.at(m_index)), o);
}

void ReceptDownload::fetched()
{
    ++m_index;
    switch (m_fetch.status()) {
    case FetchUrl::Status::Ok:
        break;
    case FetchUrl::Status::HttpError:
    case FetchUrl::Status::TooLarge:
        // A wrong code: the server had no such file, or sent something else.
        emit message(badCodeMessage());
        [[fallthrough]];
    default:
        // No connection: nothing comes back and nothing is said.
        QTimer::singleShot(0, this, &ReceptDownload::next);
        return;
    }
    const QByteArray& bytes = m_fetch.data();
    if (!bytes.isEmpty()) {
        QSaveFile f(QDir(m_folder).filePath(ReceptImport::TempFileName));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
            emit message(QStringLiteral("Receptfilen kunde inte sparas i %1.")
                             .arg(QDir::toNativeSeparators(m_folder)));
        } else if (!ReceptImport::firstLineHasTitel(bytes)) {
            emit message(badCodeMessage());
        } else {
            const ReceptImport::Result r = ReceptImport::ImportRecept(m_db, m_folder);
            if (!r.added.isEmpty())
                emit imported();
            if (!r.ok())
                emit message(r.error);
        }
    }
    QTimer::singleShot(0, this, &ReceptDownload::next);
}
