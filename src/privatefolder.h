#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

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
