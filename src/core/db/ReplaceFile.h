#pragma once

#include <QString>

// Replacing a file whole: the new content goes to a file beside it, which is
// renamed over the old name once complete. The rename replaces whatever the
// name held, a symbolic link too, and never writes through one.
namespace ReplaceFile {

// Creates `path` exclusively (a leftover at that name is removed first) for a
// file that will replace `model`: with model's mode and, where the system
// allows, its owner when model is a regular file; otherwise with the mode new
// files get. Returns an open descriptor, or -1 with `error` set.
int create(const QString& path, const QString& model, QString* error);

// Flushes `done` and renames it to `target`, then flushes the folder.
bool put(const QString& done, const QString& target, QString* error);

} // namespace ReplaceFile
