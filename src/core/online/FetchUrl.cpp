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
    bool known = false;
    const qint64 length = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
    if (statusIsSuccess() && known && length > m_options.maxBytes)
        end(Status::TooLarge);
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
    // A connection that broke off before the announced length is no body.
    if (m_reply->error() != QNetworkReply::NoError) {
        end(Status::NetworkError);
        return;
    }
    end(Status::Ok);
}

void FetchUrl::end(Status status)
{
    if (m_status != Status::Running)
        return;
    m_idle.stop();
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
