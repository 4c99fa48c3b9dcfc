#pragma once

#include "apirequest.h"
#include "world.h"

#include <QList>
#include <QMutex>
#include <QString>

#include <functional>

// A change the client made over the Graph, as kept to be made again.
struct PostedChange {
    qint64 time = 0;
    quint64 serial = 0; // the world's id serial before the change
    QString viewer;
    ApiRequest request; // method, path, parameters and body; no token
};

// The HTTP side's files in the --state folder: tokens.json, every live token,
// and posted.json, every change the client made over the Graph, made again at
// start. Both are rewritten whole with StateFile (atomic, user-only) before
// the request that changed them is answered. Thread-safe.
class SandboxState {
public:
    explicit SandboxState(QString dir);

    QString dir() const { return m_dir; }

    World::Tokens loadTokens() const;
    // Writes `tokens` unless a later version has been written already.
    void saveTokens(const World::Tokens &tokens, quint64 version);

    // What was kept, which is kept on from there.
    QList<PostedChange> loadPosted();
    // Called while the world is being changed, so changes are kept in order.
    void keep(PostedChange change);
    void forgetPosted();
    // Writes what is kept unless a later call has written it already;
    // returns once it is on disk.
    void savePosted();

private:
    struct Saver {
        QMutex mutex;
        quint64 written = 0;
    };
    void save(Saver &saver, const QString &name, quint64 version,
              const std::function<QByteArray()> &bytes);

    QString m_dir;
    QMutex m_postedMutex;
    QList<PostedChange> m_posted;
    quint64 m_postedVersion = 0;
    Saver m_tokenSaver;
    Saver m_postedSaver;
};
