#include "core/exchange/MailPassword.h"

#include <qt6keychain/keychain.h>

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

} // namespace

QString account(const QString& userName, const QString& server)
{
    return userName + QLatin1Char('@') + server;
}

void read(const QString& account, QObject* context, Done done)
{
    auto* job = new QKeychain::ReadPasswordJob(Service);
    // Never a file in place of the keyring.
    job->setInsecureFallback(false);
    job->setKey(account);
    QObject::connect(job, &QKeychain::Job::finished, context, [done = std::move(done)](QKeychain::Job* j) {
        done(answerOf(j, static_cast<QKeychain::ReadPasswordJob*>(j)->textData()));
    });
    job->start();
}

void write(const QString& account, const QString& password, QObject* context, Done done)
{
    auto* job = new QKeychain::WritePasswordJob(Service);
    job->setInsecureFallback(false);
    job->setKey(account);
    job->setTextData(password);
    QObject::connect(
        job, &QKeychain::Job::finished, context, [done = std::move(done), password](QKeychain::Job* j) {
            Answer a = answerOf(j, password);
            // A write that found nothing to replace still stored it.
            if (a.outcome == Outcome::NotStored)
                a = { Outcome::Found, password };
            done(a);
        });
    job->start();
}

} // namespace MailPassword
