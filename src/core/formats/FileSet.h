#pragma once

#include "core/formats/PortableRecipe.h"

#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// The files of a zip file or a folder, by their names inside it. Nothing is
// unpacked to disk, and no name may leave the top: what is read stays inside.
class FileSet {
public:
    virtual ~FileSet() = default;
    // The files a reader asked for, '/'-separated and relative, in reading
    // order.
    virtual const QStringList& names() const = 0;
    // A file's bytes. Nothing when there is no such file (`error` left
    // empty) or when it may not be read (`error` says why).
    virtual std::optional<QByteArray> read(const QString& name, QString* error) = 0;
};

// Files held in memory: what a zip file unpacks to, or what a test makes.
class MemoryFileSet : public FileSet {
public:
    const QStringList& names() const override { return m_names; }
    std::optional<QByteArray> read(const QString& name, QString* error) override;
    // The first of two files of one name counts.
    void add(const QString& name, const QByteArray& bytes);

private:
    QStringList m_names;
    QHash<QString, QByteArray> m_files;
};

namespace FileSets {

using Wanted = std::function<bool(const QString& name)>;

// A name inside a zip file or folder with '/' separators and without "."
// or empty parts; nothing when it is absolute, names a drive, holds a
// control character or leaves the top through "..".
std::optional<QString> cleanName(const QString& name);

// The file that `reference` (a relative address, perhaps percent-encoded)
// names from the file `from`; nothing when it has a scheme, is absolute or
// leaves the top.
std::optional<QString> resolve(const QString& from, const QString& reference);

// A zip file. Its directory is checked first (entry count, names, links,
// encryption, sizes), then the wanted files are unpacked into memory, each
// and all together within the bounds, whatever sizes the directory claims.
// Nothing and `error` (a Swedish phrase) when the file breaks a rule.
std::unique_ptr<FileSet> openZip(
    QIODevice* device, const FormatLimits& limits, const Wanted& wanted, QString* error);

// The wanted files below a folder, read when asked. Links are not followed
// (a file reached through one counts as missing), so no file outside the
// folder is ever read.
std::unique_ptr<FileSet> openFolder(
    const QString& root, const FormatLimits& limits, const Wanted& wanted, QString* error);

// One file, with the files of its folder (and below) readable beside it.
std::unique_ptr<FileSet> openBeside(const QString& filePath, const FormatLimits& limits);

// A gzip stream unpacked, within `maxBytes`.
std::optional<QByteArray> gunzip(const QByteArray& bytes, qint64 maxBytes, QString* error);

} // namespace FileSets
