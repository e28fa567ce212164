#include "core/online/FetchUrl.h"

#include "core/text/AtomicFile.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

FetchUrl::FetchUrl(QNetworkAccessManager& nam, QObject* parent)
    : QObject(parent)
    , m_nam(nam)
{
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, this, [this] { end(Status::TimedOut); });
    connect(&m_rate, &QTimer::timeout, this, &FetchUrl::checkRate);
}

FetchUrl::~FetchUrl()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    if (m_file)
        m_file->cancel();
}

QByteArray FetchUrl::agentName()
{
    return QByteArrayLiteral("KROX Gastrid/") + QByteArray::number(GASTRID_VERSION_MAJOR) + '.'
        + QByteArray::number(GASTRID_VERSION_MINOR) + '.' + QByteArray::number(GASTRID_VERSION_PATCH);
}

void FetchUrl::start(const QUrl& url, const Options& options)
{
    cancel();
    m_options = options;
    m_status = Status::Running;
    m_data.clear();
    m_hash.reset();
    m_received = 0;
    m_transferred = 0;
    m_announced = -1;
    m_httpStatus = 0;
    m_finalUrl = url;
    m_contentType.clear();
    m_file.reset();

    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        // Reported from the event loop, as every other ending is.
        QTimer::singleShot(0, this, [this] { end(Status::NetworkError); });
        return;
    }
    if (!m_options.targetFile.isEmpty()) {
        m_file = std::make_unique<AtomicFile>(m_options.targetFile);
        if (!m_file->open()) {
            QTimer::singleShot(0, this, [this] { end(Status::WriteError); });
            return;
        }
    }

    QNetworkRequest req(url);
    req.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    req.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    req.setRawHeader("Cache-Control", "no-cache");
    req.setRawHeader("Pragma", "no-cache");
    req.setHeader(QNetworkRequest::UserAgentHeader, agentName());
    // Never from https down to http.
    req.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    req.setMaximumRedirectsAllowed(5);
    m_reply = m_nam.get(req);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &FetchUrl::onMetaData);
    connect(m_reply, &QNetworkReply::readyRead, this, &FetchUrl::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &FetchUrl::onFinished);
    connect(m_reply, &QNetworkReply::redirected, this, [this] { m_idle.start(m_options.idleTimeoutMs); });
    m_idle.start(m_options.idleTimeoutMs);
    m_clock.start();
    m_rate.start(m_options.rateCheckMs);
}

void FetchUrl::checkRate()
{
    const qint64 elapsed = m_clock.elapsed();
    if (m_status == Status::Running && elapsed >= m_options.rateGraceMs
        && m_transferred * 1000 < m_options.minBytesPerSecond * elapsed)
        end(Status::TooSlow);
}

void FetchUrl::cancel()
{
    if (m_status == Status::Running)
        end(Status::Cancelled);
}

bool FetchUrl::statusIsSuccess() const
{
    return m_httpStatus >= 200 && m_httpStatus <= 299;
}

void FetchUrl::onMetaData()
{
    m_idle.start(m_options.idleTimeoutMs);
    m_httpStatus = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    m_finalUrl = m_reply->url();
    m_contentType = m_reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    readAnnouncedLength();
    if (statusIsSuccess() && m_announced > m_options.maxBytes)
        end(Status::TooLarge);
}

void FetchUrl::readAnnouncedLength()
{
    bool known = false;
    const qint64 length = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
    // Qt unpacks a compressed body, so its length is not the announced one.
    const QByteArray coding = m_reply->rawHeader("Content-Encoding").trimmed().toLower();
    const bool compressed = !coding.isEmpty() && coding != "identity";
    m_announced = known && length >= 0 && !compressed ? length : -1;
}

void FetchUrl::onReadyRead()
{
    m_idle.start(m_options.idleTimeoutMs);
    readAvailable();
}

void FetchUrl::readAvailable()
{
    char buf[ReadSize];
    while (m_status == Status::Running && m_reply && m_reply->bytesAvailable() > 0) {
        const qint64 n = m_reply->read(buf, ReadSize);
        if (n <= 0)
            break;
        m_transferred += n;
        if (m_httpStatus == 0)
            m_httpStatus = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        // An error page's body is read and dropped.
        if (!statusIsSuccess())
            continue;
        m_received += n;
        if (m_received > m_options.maxBytes) {
            end(Status::TooLarge);
            return;
        }
        if (m_file) {
            m_hash.addData(QByteArrayView(buf, n));
            if (!m_file->write(buf, n)) {
                end(Status::WriteError);
                return;
            }
        } else {
            m_data.append(buf, n);
        }
        emit chunkRead(n);
    }
}

void FetchUrl::onFinished()
{
    if (m_status != Status::Running || !m_reply)
        return;
    m_httpStatus = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    m_finalUrl = m_reply->url();
    readAnnouncedLength();
    readAvailable();
    if (m_status != Status::Running)
        return;
    if (m_reply->error() != QNetworkReply::NoError && m_httpStatus == 0) {
        end(Status::NetworkError);
        return;
    }
    if (!statusIsSuccess()) {
        end(Status::HttpError);
        return;
    }
    end(completeness());
}

FetchUrl::Status FetchUrl::completeness() const
{
    // Qt now and then reports no error for a connection that broke off
    // early: only the count of bytes tells a whole body. A 204 or 205 has none.
    const bool bodyless = m_httpStatus == 204 || m_httpStatus == 205;
    if (!bodyless && m_announced >= 0 && m_received != m_announced)
        return Status::Incomplete;
    if (m_announced < 0 && m_received < m_options.minBytes)
        return Status::Incomplete;
    if (m_reply->error() != QNetworkReply::NoError)
        return Status::NetworkError;
    return Status::Ok;
}

void FetchUrl::end(Status status)
{
    if (m_status != Status::Running)
        return;
    m_idle.stop();
    m_rate.stop();
    if (m_file) {
        if (status == Status::Ok && !m_options.expectedSha256.isEmpty()
            && m_hash.result() != m_options.expectedSha256)
            status = Status::BadDigest;
        if (status != Status::Ok)
            m_file->cancel();
        else if (!m_file->commit())
            status = Status::WriteError;
        m_file.reset();
    }
    if (status != Status::Ok)
        m_data.clear();
    m_status = status;
    if (m_reply) {
        QNetworkReply* r = m_reply;
        m_reply = nullptr;
        r->disconnect(this);
        if (r->isRunning())
            r->abort();
        r->deleteLater();
    }
    emit finished();
}
