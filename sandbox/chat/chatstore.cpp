#include "chatstore.h"

#include "chatjid.h"
#include "chatlogging.h"
#include "statefile.h"
#include "statewriter.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject toJson(const OfflineMessage &message) {
    return {{"from", message.from},
            {"resource", message.resource},
            {"id", message.id},
            {"body", message.body},
            {"subject", message.subject},
            {"thread", message.thread},
            {"stamp", message.stamp.toString(Qt::ISODateWithMs)}};
}

OfflineMessage offlineFromJson(const QJsonObject &object) {
    OfflineMessage message;
    message.from = object.value("from").toString();
    message.resource = object.value("resource").toString();
    message.id = object.value("id").toString();
    message.body = object.value("body").toString();
    message.subject = object.value("subject").toString();
    message.thread = object.value("thread").toString();
    message.stamp = QDateTime::fromString(object.value("stamp").toString(), Qt::ISODateWithMs);
    return message;
}

template <typename T> void keepLast(QList<T> &list, int count) {
    if (list.size() > count)
        list.erase(list.begin(), list.begin() + (list.size() - count));
}

} // namespace

ChatStore::ChatStore(const QString &folder, int maxRecorded, int maxOffline)
    : m_folder(folder)
    , m_maxRecorded(maxRecorded)
    , m_maxOffline(maxOffline) {
    load();
    if (!m_folder.isEmpty())
        m_writer = std::make_unique<StateWriter>();
}

ChatStore::~ChatStore() = default;

ChatMessages ChatStore::received(const QString &to) const {
    if (m_writer)
        m_writer->flush(); // what is read back survives a crash
    return m_received.value(to);
}

void ChatStore::add(const QString &to, const ChatRecord &record, const OfflineMessage *offline) {
    ChatMessages &received = m_received[to];
    received.append(record);
    keepLast(received, m_maxRecorded);
    if (offline) {
        QList<OfflineMessage> &queue = m_offline[to];
        queue.append(*offline);
        if (queue.size() > m_maxOffline) {
            qCWarning(lcSandboxChat) << "offline messages for" << to << "over" << m_maxOffline
                                     << "; dropping the oldest";
            keepLast(queue, m_maxOffline);
        }
    }
    save(to);
}

QList<OfflineMessage> ChatStore::takeOffline(const QString &to) {
    const QList<OfflineMessage> queue = m_offline.take(to);
    if (!queue.isEmpty())
        save(to);
    return queue;
}

void ChatStore::load() {
    if (m_folder.isEmpty())
        return;
    const QDir dir(m_folder);
    const QStringList files = dir.entryList({QStringLiteral("*.json")}, QDir::Files);
    for (const QString &file : files) {
        const QString userId = file.chopped(5);
        if (!ChatJid::isUserId(userId))
            continue;
        QJsonParseError error;
        const QJsonObject saved =
            QJsonDocument::fromJson(StateFile::read(dir.filePath(file)), &error).object();
        if (error.error != QJsonParseError::NoError) {
            qCWarning(lcSandboxChat) << "unreadable chat state" << file << error.errorString();
            continue;
        }
        ChatMessages received;
        for (const QJsonValue &kept : saved.value("received").toArray())
            received.append({kept[0].toString(), kept[1].toString(), kept[2].toString()});
        keepLast(received, m_maxRecorded);
        QList<OfflineMessage> queue;
        for (const QJsonValue &message : saved.value("offline").toArray())
            queue.append(offlineFromJson(message.toObject()));
        keepLast(queue, m_maxOffline);
        if (!received.isEmpty())
            m_received.insert(userId, received);
        if (!queue.isEmpty())
            m_offline.insert(userId, queue);
    }
    qCInfo(lcSandboxChat) << "chat state of" << m_received.size() << "people read from" << m_folder;
}

void ChatStore::save(const QString &userId) const {
    if (!m_writer)
        return;
    const ChatMessages received = m_received.value(userId);
    const QList<OfflineMessage> queue = m_offline.value(userId);
    m_writer->write(QDir(m_folder).filePath(userId + QStringLiteral(".json")), [received, queue] {
        QJsonArray receivedJson, offlineJson;
        for (const ChatRecord &record : received)
            receivedJson.append(QJsonArray{record.from, record.body, record.id});
        for (const OfflineMessage &message : queue)
            offlineJson.append(toJson(message));
        const QJsonObject state{{"received", receivedJson}, {"offline", offlineJson}};
        return QJsonDocument(state).toJson(QJsonDocument::Compact);
    });
}
