#pragma once

#include "core/db/Database.h"

#include <QString>
#include <QUrl>

// Where the maker's web server is and the addresses the program asks it for.
namespace WebServer {

// Used when the cookbook names no server of its own.
inline const QString DefaultBase = QStringLiteral("https://www.krox-gastrid.example");

// The base address: the options row "webserver" when it holds an http or
// https address, else the default. The row is never created.
QUrl base(Database& db);
// The base address from a stored text; the default when it is no usable address.
QUrl baseFrom(const QString& stored);

// "/recept/" + code + ".rcp", the code percent-encoded so that it stays one
// path segment.
QUrl receptUrl(const QUrl& base, const QString& code);
QUrl codePageUrl(const QUrl& base);
QUrl updateUrl(const QUrl& base);
// "/files/" + name; the name must already be a plain file name.
QUrl installerUrl(const QUrl& base, const QString& name);

} // namespace WebServer
