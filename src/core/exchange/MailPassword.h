#pragma once

#include <QObject>
#include <QString>

#include <functional>

// The mail login's password lives in the desktop's keyring, never in a file.
// Where no keyring answers, the caller keeps it for the run only.
namespace MailPassword {

enum class Outcome {
    Found, // read: the password is there; write: stored
    NotStored, // the keyring answered but holds none for this account
    NoKeyring, // no keyring answered (or it refused); keep it for the run
};

struct Answer {
    Outcome outcome = Outcome::NoKeyring;
    QString password;
};

using Done = std::function<void(const Answer&)>;

// A keyring that has not answered by then counts as none: a job can stall
// (seen with no session bus) and the user must not wait for ever.
constexpr int DefaultTimeoutMs = 60000;

// The keyring entry of a login: "user@server".
QString account(const QString& userName, const QString& server);

// Asks the keyring; `done` runs once, later, on the event loop, and not at
// all once `context` is gone.
void read(const QString& account, QObject* context, Done done, int timeoutMs = DefaultTimeoutMs);
void write(const QString& account, const QString& password, QObject* context, Done done,
    int timeoutMs = DefaultTimeoutMs);

} // namespace MailPassword
