#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

// A real HTTP server on 127.0.0.1 (Python's http.server with a small
// handler), started and stopped by the test. It serves the files put into
// it; "<file>.status" gives a file another status, "<file>.slow" sends
// half, pauses that many seconds and sends the rest, "<file>.cut" announces
// the whole length but sends only that many bytes and closes,
// "<file>.nolength" sends without a length and closes, "<file>.gzip" sends it
// gzip-compressed. Special paths: /status/<code>, /redirect?to=<url>[&code=<3xx>],
// /stall?s=<seconds> (a little, then silence), /big?n=<bytes>[&nolength],
// /trickle?n=<bytes>&every=<seconds> (n announced, one byte at a time).
class HttpServer {
public:
    HttpServer() = default;
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    bool start();
    QUrl base() const;
    QUrl url(const QString& pathAndQuery) const;
    // Writes a served file (folders created).
    void put(const QString& path, const QByteArray& bytes);
    // Request targets as the server received them, oldest first.
    QStringList requests() const;
    void clearRequests();

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
