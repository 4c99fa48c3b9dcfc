#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QJsonObject>
#include <QObject>
#include <QString>

// Files only their owner may read, for what a user keeps on disk between
// runs (the kept home feed, the kept conversations).
namespace privatefile {
// Writes `data` to `path` at once or not at all, as a file of the owner only
// (0600) in a folder of the owner only (0700), created when missing.
bool write(const QString &path, const QByteArray &data);
// The JSON object `path` holds; empty when the file is missing, larger than
// 16 MiB, damaged or not an object.
QJsonObject readObject(const QString &path);
// The SHA-256 of `text` in hex: names a token or an account without
// holding it.
QString fingerprint(const QString &text);
} // namespace privatefile

// Keeps a folder readable by its owner only: the folder is created (or
// changed) to 0700 and every file in it, present or created later, to 0600.
// The settings database, which holds the access token, lives in such a
// folder.
class PrivateFolder : public QObject {
    Q_OBJECT

public:
    explicit PrivateFolder(const QString &path, QObject *parent = nullptr);

    QString path() const { return m_path; }

private:
    void protectFiles();

    QString m_path;
    QFileSystemWatcher m_watcher;
};
