#include "feedsnapshot.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "logging.h"

namespace {
const QString fingerprintKey = QStringLiteral("account");
const QString rowsKey = QStringLiteral("rows");
constexpr qint64 maximumFileSize = 16 * 1024 * 1024;
} // namespace

FeedSnapshot::FeedSnapshot(const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(filePath) {}

QString FeedSnapshot::fingerprint(const QString &token) {
    return QString::fromLatin1(
        QCryptographicHash::hash(token.toUtf8(), QCryptographicHash::Sha256).toHex());
}

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
    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QFile::setPermissions(info.absolutePath(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcCore) << "feed snapshot not written:" << file.errorString();
        return false;
    }
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    file.write("{\"" + fingerprintKey.toLatin1() + "\":\"" + fingerprint(token).toLatin1() +
               "\",\"" + rowsKey.toLatin1() + "\":" + rows + "}");
    if (!file.commit()) {
        qCWarning(lcCore) << "feed snapshot not written:" << file.errorString();
        return false;
    }
    return true;
}

QString FeedSnapshot::load(const QString &token) const {
    QFile file(m_filePath);
    if (token.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > maximumFileSize)
        return QString();
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    const QJsonObject object = document.object();
    if (object.value(fingerprintKey).toString() != fingerprint(token) ||
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
