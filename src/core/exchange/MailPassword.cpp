#include "core/exchange/MailPassword.h"

#include <QPointer>
#include <QTimer>

#include <qt6keychain/keychain.h>

#include <memory>

namespace MailPassword {

namespace {

const QString Service = QStringLiteral("KROX Gastrid");

Answer answerOf(const QKeychain::Job* job, const QString& password)
{
    switch (job->error()) {
    case QKeychain::NoError:
        return { Outcome::Found, password };
    case QKeychain::EntryNotFound:
        return { Outcome::NotStored, {} };
    default:
        return { Outcome::NoKeyring, {} };
    }
}

void run(QKeychain::Job* job, QObject* context, int timeoutMs, std::function<Answer(QKeychain::Job*)> answer,
    Done done)
{
    // Whichever comes first, the keyring's answer or the time limit, is the
    // only one.
    auto shared = std::make_shared<Done>(std::move(done));
    QPointer<QTimer> guard = new QTimer(context);
    guard->setSingleShot(true);
    QObject::connect(guard, &QTimer::timeout, context, [shared, guard] {
        if (guard)
            guard->deleteLater();
        if (Done d = std::exchange(*shared, nullptr))
            d({ Outcome::NoKeyring, {} });
    });
    QObject::connect(job, &QKeychain::Job::finished, context, [shared, guard, answer](QKeychain::Job* j) {
        if (guard) {
            guard->stop();
            guard->deleteLater();
        }
        if (Done d = std::exchange(*shared, nullptr))
            d(answer(j));
    });
    guard->start(timeoutMs);
    job->start();
}

} // namespace

QString account(const QString& userName, const QString& server)
{
    return userName + QLatin1Char('@') + server;
}

void read(const QString& account, QObject* context, Done done, int timeoutMs)
{
    auto* job = new QKeychain::ReadPasswordJob(Service);
    // Never a file in place of the keyring.
    job->setInsecureFallback(false);
    job->setKey(account);
    run(
        job, context, timeoutMs,
        [](QKeychain::Job* j) {
            return answerOf(j, static_cast<QKeychain::ReadPasswordJob*>(j)->textData());
        },
        std::move(done));
}

void write(const QString& account, const QString& password, QObject* context, Done done, int timeoutMs)
{
    auto* job = new QKeychain::WritePasswordJob(Service);
    job->setInsecureFallback(false);
    job->setKey(account);
    job->setTextData(password);
    run(
        job, context, timeoutMs,
        [password](QKeychain::Job* j) {
            Answer a = answerOf(j, password);
            // A write that found nothing to replace still stored it.
            return a.outcome == Outcome::NotStored ? Answer { Outcome::Found, password } : a;
        },
        std::move(done));
}

} // namespace MailPassword
