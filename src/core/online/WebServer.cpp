#include "core/online/WebServer.h"

#include "core/settings/Settings.h"

namespace WebServer {

namespace {

QUrl below(const QUrl& base, const QByteArray& encodedPath)
{
    QByteArray b = base.toEncoded(QUrl::RemoveQuery | QUrl::RemoveFragment);
    while (b.endsWith('/'))
        b.chop(1);
    return QUrl::fromEncoded(b + encodedPath, QUrl::StrictMode);
}

} // namespace

QUrl baseFrom(const QString& stored)
{
    const QUrl url(stored.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && (scheme == QLatin1String("https") || scheme == QLatin1String("http"))
        && !url.host().isEmpty())
        return url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::StripTrailingSlash);
    return QUrl(DefaultBase);
}

QUrl base(Database& db)
{
    const auto v = Settings::value(db, QStringLiteral("webserver"));
    // No settings table yet, or no row: the default.
    if (!v || !*v)
        return QUrl(DefaultBase);
    return baseFrom(**v);
}

QUrl receptUrl(const QUrl& base, const QString& code)
{
    return below(base, "/recept/" + QUrl::toPercentEncoding(code) + ".rcp");
}

QUrl codePageUrl(const QUrl& base)
{
    return below(base, "/recept/pren.asp");
}

QUrl updateUrl(const QUrl& base)
{
    return below(base, "/gastrid/update.txt");
}

QUrl installerUrl(const QUrl& base, const QString& name)
{
    return below(base, "/files/" + QUrl::toPercentEncoding(name));
}

} // namespace WebServer
