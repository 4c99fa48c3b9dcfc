#include "sandboxstate.h"

#include "chat/statefile.h"
#include "sandboxlogging.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char tokensFile[] = "tokens.json";
const char postedFile[] = "posted.json";

QJsonObject toJson(const PostedChange &c) {
    QJsonArray query;
    for (const auto &item : c.request.query)
        query.append(QJsonArray{item.first, item.second});
    return QJsonObject{{"time", QString::number(c.time)},
                       {"serial", QString::number(c.serial)},
                       {"viewer", c.viewer},
                       {"method", c.request.method},
                       {"path", c.request.path},
                       {"query", query},
                       {"content_type", QString::fromLatin1(c.request.contentType)},
                       {"body", QString::fromLatin1(c.request.body.toBase64())}};
}

PostedChange fromJson(const QJsonObject &o) {
    PostedChange c;
    c.time = o.value("time").toString().toLongLong();
    c.serial = o.value("serial").toString().toULongLong();
    c.viewer = o.value("viewer").toString();
    c.request.method = o.value("method").toString();
    c.request.path = o.value("path").toString();
    for (const QJsonValue &item : o.value("query").toArray())
        c.request.query.append({item[0].toString(), item[1].toString()});
    c.request.contentType = o.value("content_type").toString().toLatin1();
    c.request.body = QByteArray::fromBase64(o.value("body").toString().toLatin1());
    c.request.contentLength = c.request.body.size();
    return c;
}

} // namespace

SandboxState::SandboxState(QString dir)
    : m_dir(std::move(dir)) {}

void SandboxState::save(Saver &saver, const QString &name, quint64 version,
                        const std::function<QByteArray()> &bytes) {
    QMutexLocker lock(&saver.mutex);
    if (saver.written >= version)
        return;
    if (StateFile::write(QDir(m_dir).filePath(name), bytes()))
        saver.written = version;
}

World::Tokens SandboxState::loadTokens() const {
    const QJsonObject saved =
        QJsonDocument::fromJson(StateFile::read(QDir(m_dir).filePath(tokensFile))).object();
    World::Tokens tokens;
    for (auto it = saved.begin(); it != saved.end(); ++it) {
        const QJsonObject t = it.value().toObject();
        tokens.insert(it.key(),
                      {t.value("user").toString(), qint64(t.value("expires").toDouble())});
    }
    return tokens;
}

void SandboxState::saveTokens(const World::Tokens &tokens, quint64 version) {
    save(m_tokenSaver, tokensFile, version, [&] {
        QJsonObject out;
        for (auto it = tokens.begin(); it != tokens.end(); ++it)
            out.insert(it.key(),
                       QJsonObject{{"user", it->userId}, {"expires", double(it->expires)}});
        return QJsonDocument(out).toJson(QJsonDocument::Compact);
    });
}

QList<PostedChange> SandboxState::loadPosted() {
    QList<PostedChange> changes;
    const QJsonArray saved =
        QJsonDocument::fromJson(StateFile::read(QDir(m_dir).filePath(postedFile))).array();
    for (const QJsonValue &v : saved)
        changes.append(fromJson(v.toObject()));
    QMutexLocker lock(&m_postedMutex);
    m_posted = changes;
    return changes;
}

void SandboxState::keep(PostedChange change) {
    QueryItems query;
    for (const auto &item : qAsConst(change.request.query))
        if (item.first != QLatin1String("access_token"))
            query.append(item);
    change.request.query = query;
    QMutexLocker lock(&m_postedMutex);
    m_posted.append(change);
    ++m_postedVersion;
}

void SandboxState::forgetPosted() {
    QMutexLocker lock(&m_postedMutex);
    m_posted.clear();
    ++m_postedVersion;
}

void SandboxState::savePosted() {
    QMutexLocker lock(&m_postedMutex);
    const QList<PostedChange> posted = m_posted;
    const quint64 version = m_postedVersion;
    lock.unlock();
    save(m_postedSaver, postedFile, version, [&] {
        QJsonArray out;
        for (const PostedChange &c : posted)
            out.append(toJson(c));
        return QJsonDocument(out).toJson(QJsonDocument::Compact);
    });
}
