#pragma once

#include <QByteArray>
#include <QString>

// A recipe's picture is a file <RID>.gif, <RID>.jpg or <RID>.bmp in the
// picture folder; there is no other record of it.
namespace Pictures {

struct Result {
    bool ok = true;
    // A sentence for the user when !ok.
    QString error;
};

// The picture file of a recipe, or the empty text. When several exist the
// last of gif, jpg, bmp wins.
QString ReceptBildFil(const QString& pictureFolder, qint32 rid);
inline bool hasPicture(const QString& pictureFolder, qint32 rid)
{
    return !ReceptBildFil(pictureFolder, rid).isEmpty();
}

// Copies a JPG, GIF or BMP file in as the recipe's picture and removes the
// recipe's pictures of the other types, which would otherwise hide it.
Result storePicture(const QString& pictureFolder, qint32 rid, const QString& chosenFile);
// Removes the file ReceptBildFil names, and only that one.
Result removePicture(const QString& pictureFolder, qint32 rid);
// Removes every picture file of the recipe (the recipe itself is going).
Result removeAllPictures(const QString& pictureFolder, qint32 rid);

// A picture's bytes and its file type ("gif", "jpg", "bmp"); no type: none.
struct Picture {
    QString type;
    QByteArray bytes;
};
// The picture ReceptBildFil names, read whole.
Result readPicture(const QString& pictureFolder, qint32 rid, Picture* picture);
// Makes `picture` the recipe's only picture file; with no type, removes them all.
Result putPicture(const QString& pictureFolder, qint32 rid, const Picture& picture);

} // namespace Pictures
