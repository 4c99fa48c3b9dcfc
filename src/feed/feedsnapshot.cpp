#include "feedsnapshot.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "logging.h"
#include "privatefolder.h"

namespace {
const QString fingerprintKey = QStringLiteral("account");
const QString rowsKey = QStringLiteral("rows");
} // namespace

FeedSnapshot::FeedSnapshot(const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(filePath) {}

bool FeedSnapshot::store(const QString &token, const QString &rowsJson) {
    if (token.isEmpty())
        return false;
    // The bare token too: a picture address carries it without its name.
    const QString bare = token.section(QLatin1Char('='), 1);
    if (rowsJson.contains(token) || (bare.size() >= 8 && rowsJson.contains(bare))) {
        qCWarning(lcCore) << "feed snapshot refused: the rows hold the access token";
        return false;
    }
    const QJsonDocument rows = QJsonDocument::fromJson(rowsJson.toUtf8());
    if (!rows.isArray())
        return false;
    return write(token, rows.toJson(QJsonDocument::Compact));
}

bool FeedSnapshot::write(const QString &token, const QByteArray &rows) {
    return privatefile::write(m_filePath, "{\"" + fingerprintKey.toLatin1() + "\":\"" +
                                              privatefile::fingerprint(token).toLatin1() + "\",\"" +
                                              rowsKey.toLatin1() + "\":" + rows + "}");
}

QString FeedSnapshot::load(const QString &token) const {
    if (token.isEmpty())
        return QString();
    const QJsonObject object = privatefile::readObject(m_filePath);
    if (object.value(fingerprintKey).toString() != privatefile::fingerprint(token) ||
        !object.value(rowsKey).isArray())
        return QString();
    return QString::fromUtf8(
        QJsonDocument(object.value(rowsKey).toArray()).toJson(QJsonDocument::Compact));
}

bool FeedSnapshot::rekey(const QString &oldToken, const QString &newToken) {
    const QString rows = load(oldToken);
    if (rows.isEmpty() || newToken.isEmpty())
        return false;
    return write(newToken, rows.toUtf8());
}

void FeedSnapshot::clear() {
    QFile::remove(m_filePath);
}
