#include "ui/online/WebPicture.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>

std::optional<std::pair<QByteArray, QString>> convertWebPicture(const QByteArray& bytes)
{
    QBuffer in;
    in.setData(bytes);
    QImageReader reader(&in);
    // Pictures from the web are small; a header claiming more is a trap.
    reader.setAllocationLimit(256);
    const QByteArray format = reader.format().toLower();
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    if (format == "jpeg" || format == "jpg")
        return std::make_pair(bytes, QStringLiteral("jpg"));
    if (format == "gif" || format == "bmp")
        return std::make_pair(bytes, QString::fromLatin1(format));
    // JPEG has no transparency: what was see-through becomes white.
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, image);
    QByteArray jpeg;
    QBuffer out(&jpeg);
    if (!out.open(QIODevice::WriteOnly) || !flat.save(&out, "JPG", 90))
        return std::nullopt;
    return std::make_pair(jpeg, QStringLiteral("jpg"));
}
