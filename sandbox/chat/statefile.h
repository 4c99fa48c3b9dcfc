#pragma once

#include <QByteArray>
#include <QString>

// Files of the sandbox's --state folder. A write is atomic and durable: the
// bytes go to a temporary file in the same folder, which is flushed to disk
// and renamed over the old file, so a crash at any point leaves either the
// old or the new content. Files and the folder are readable by the user only.
namespace StateFile {

// Writes `data` to `path`, creating the folder (0700) when needed; the file
// ends up 0600. Returns false, with a warning logged, when it cannot.
bool write(const QString &path, const QByteArray &data);

// The content of `path`, or an empty array when it does not exist or cannot
// be read. Tightens the permissions of a file left world-readable.
QByteArray read(const QString &path);

} // namespace StateFile
