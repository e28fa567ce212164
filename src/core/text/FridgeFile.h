#pragma once

#include "core/text/UserFile.h"

// A fridge file (.kyl) is the user's list of ingredients at hand: one entry a
// line, every line ended by CR LF (the last too), no header; an empty list is
// a 0-byte file. Empty entries in the middle are kept as read. Written in
// Windows-1252; read as a file the user may have written (UserFile).
namespace FridgeFile {

constexpr qint64 MaxBytes = UserFile::MaxBytes;

TextFile::ReadResult read(const QString& path);
TextFile::WriteResult write(const QString& path, const QStringList& entries);
// The name a fridge file is saved under: a name typed without an extension
// gets ".kyl", so the open dialog lists the file.
QString withExtension(const QString& path);

} // namespace FridgeFile
