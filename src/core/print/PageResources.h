#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

// What a shown or printed page (a recipe, the weekly menu, the shopping list)
// may read besides itself. Recipe text reaches the page as HTML, so its names
// are outside data: only regular local files of bounded size are read, never
// a device, FIFO, directory or remote address.
namespace PageResources {

// Bytes a picture file may have; a camera photo is far below.
inline constexpr qint64 MaxPictureBytes = 32 * 1024 * 1024;
// Bytes a page file (or a style sheet it names) may have.
inline constexpr qint64 MaxPageBytes = 64 * 1024 * 1024;
// The longest side, in pixels, a picture is decoded at: more than a page
// shows or a printer needs at 300 dpi.
inline constexpr int MaxPictureSide = 2400;

// The absolute local path `name` stands for on the page at `page` (a relative
// name is taken from the page's folder); empty when it is no local file: a
// remote, data or resource address, or one naming a host.
QString localPath(const QUrl& page, const QUrl& name);

// The whole of a regular file of at most maxBytes bytes; none for anything
// else (missing, a device, FIFO, directory or socket, larger, unreadable).
// Never waits for a writer.
std::optional<QByteArray> readRegular(const QString& path, qint64 maxBytes);

} // namespace PageResources
