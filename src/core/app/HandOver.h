#pragma once

#include "core/app/CommandLine.h"

#include <QObject>

class QLocalServer;
class QLocalSocket;

// A file opened from the desktop while the program runs goes to the copy
// that runs: a second copy cannot open the cookbook. The copies meet at a
// local socket named after the cookbook's folder, in the user's runtime
// folder, where only the user can reach it.
namespace HandOver {

QString address(const QString& programFolder);

// Hands the files to the copy that listens at `address`; true once it has
// taken them. False at once when none listens.
bool give(const QString& address, const CommandLine::Request& request, int timeoutMs);

} // namespace HandOver

// The running copy's end.
class HandOverListener : public QObject {
    Q_OBJECT
public:
    explicit HandOverListener(QObject* parent = nullptr);
    ~HandOverListener() override;

    // False when the address cannot be taken; the program then runs without.
    bool listen(const QString& address);

    // The longest message taken; a longer one is dropped.
    static constexpr qsizetype MessageLimit = 1 << 20;

signals:
    void filesGiven(const CommandLine::Request& request);

private:
    void take(QLocalSocket* socket);

    QLocalServer* m_server;
};
