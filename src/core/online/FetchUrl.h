#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
class AtomicFile;

// Fetches one web resource, never from a cache, without blocking the window
// thread. Only a 2xx answer counts as content: an error page is no data.
// The body is bounded, the fetch gives up when the server goes silent or
// trickles, a body is complete only at its announced length, and a body
// streamed into a file replaces that file only when it is complete.
class FetchUrl : public QObject {
    Q_OBJECT
public:
    enum class Status {
        Running,
        Ok,
        HttpError,
        NetworkError,
        TooLarge,
        TimedOut,
        Cancelled,
        WriteError,
        BadDigest,
        // Shorter than the length the server announced (or than minBytes).
        Incomplete,
        // Slower on average than minBytesPerSecond once rateGraceMs passed.
        TooSlow
    };

    struct Options {
        qint64 maxBytes = 5 * 1024 * 1024;
        // Without a byte for this long, the fetch ends as TimedOut.
        int idleTimeoutMs = 30000;
        // Empty: the body is kept in memory. Else it is written here.
        QString targetFile;
        // With a target file: the SHA-256 the body must have (empty: any).
        QByteArray expectedSha256;
        // A body whose length was not announced is complete only with at
        // least this many bytes (0: any).
        qint64 minBytes = 0;
        // Once this long has passed, a fetch that averaged fewer bytes a
        // second since its start ends as TooSlow: a trickle cannot hold it.
        int rateGraceMs = 60000;
        qint64 minBytesPerSecond = 1024;
        // How often the average is looked at.
        int rateCheckMs = 250;
    };

    explicit FetchUrl(QNetworkAccessManager& nam, QObject* parent = nullptr);
    ~FetchUrl() override;

    // Starts a fetch; an earlier one of this object is cancelled first.
    void start(const QUrl& url, const Options& options);
    // Ends the fetch as Cancelled; a partial target file is removed.
    void cancel();
    bool isRunning() const { return m_status == Status::Running && m_reply; }

    Status status() const { return m_status; }
    bool ok() const { return m_status == Status::Ok; }
    // The body, when kept in memory and Ok.
    const QByteArray& data() const { return m_data; }
    // The address after redirects.
    const QUrl& finalUrl() const { return m_finalUrl; }
    const QByteArray& contentType() const { return m_contentType; }
    qint64 bytesReceived() const { return m_received; }
    // The Content-Length of the content, -1 when none was announced or the
    // body came compressed (its length then counts the compressed bytes).
    qint64 announcedLength() const { return m_announced; }

    // The agent name sent with every request.
    static QByteArray agentName();

signals:
    // After each read of at most ReadSize bytes.
    void chunkRead(qint64 bytes);
    void finished();

public:
    static constexpr qint64 ReadSize = 2048;

private:
    void onMetaData();
    void onReadyRead();
    void onFinished();
    void readAvailable();
    void readAnnouncedLength();
    void checkRate();
    // The ending of a body that arrived whole as far as the network knows.
    Status completeness() const;
    // Ends the fetch with `status` (the first ending wins).
    void end(Status status);
    bool statusIsSuccess() const;

    QNetworkAccessManager& m_nam;
    QPointer<QNetworkReply> m_reply;
    Options m_options;
    Status m_status = Status::Ok;
    QByteArray m_data;
    std::unique_ptr<AtomicFile> m_file;
    QCryptographicHash m_hash { QCryptographicHash::Sha256 };
    qint64 m_received = 0;
    // Every byte read, error pages included, for the average rate.
    qint64 m_transferred = 0;
    qint64 m_announced = -1;
    int m_httpStatus = 0;
    QUrl m_finalUrl;
    QByteArray m_contentType;
    QTimer m_idle;
    QTimer m_rate;
    QElapsedTimer m_clock;
};
