// Zip files: whatever the bytes, unpacking stays within small bounds and
// no name that leaves the archive is taken; the recipes of an accepted zip
// file (JSON-LD or Paprika) come back unchanged through the writers, and
// again through a real zip file written and read.
#include "FormatProperty.h"
#include "core/formats/Paprika.h"
#include "core/formats/RecipeFiles.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    FormatLimits limits;
    limits.entries = 64;
    limits.entryBytes = 1 << 20;
    limits.totalBytes = 4 << 20;
    QString error;
    const auto wanted = [](const QString& name) {
        return SchemaFiles::isRecipeFile(name) || SchemaFiles::isPictureFile(name)
            || Paprika::isRecipeEntry(name);
    };
    const std::unique_ptr<FileSet> set = FileSets::openZip(&device, limits, wanted, &error);
    if (!set)
        return 0;
    qint64 total = 0;
    for (const QString& name : set->names()) {
        const std::optional<QByteArray> entry = set->read(name, &error);
        if (!entry || name.startsWith(QLatin1Char('/'))
            || name.split(QLatin1Char('/')).contains(QStringLiteral("..")))
            std::abort();
        total += entry->size();
    }
    if (total > limits.totalBytes)
        std::abort();
    const ReadOptions options { limits, {} };
    const bool paprika = std::any_of(set->names().begin(), set->names().end(), Paprika::isRecipeEntry);
    const ReadResult read = paprika ? Paprika::read(*set, options, QStringLiteral("fuzz.zip"))
                                    : SchemaFiles::read(*set, options, QStringLiteral("fuzz.zip"));
    checkAccepted(read);
    if (!read.ok())
        return 0;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("again.zip"));
    if (!RecipeFiles::write(path, read.recipes).isEmpty())
        std::abort();
    const ReadResult again = RecipeFiles::read(path);
    if (again.recipes.size() != read.recipes.size())
        std::abort();
    for (int i = 0; i < read.recipes.size(); ++i)
        if (!again.recipes.at(i).sameContent(read.recipes.at(i)))
            std::abort();
    return 0;
}
