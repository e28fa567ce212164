#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>

// A picture fetched from the web in a form the cookbook keeps: JPEG, GIF and
// BMP as they came, any other readable image as JPEG; nothing for bytes that
// are no image.
std::optional<std::pair<QByteArray, QString>> convertWebPicture(const QByteArray& bytes);
