#include "privatefolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

#include "logging.h"

namespace {

constexpr QFileDevice::Permissions ownerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions ownerOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions othersAccess = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                  QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                  QFileDevice::WriteOther | QFileDevice::ExeOther;
constexpr qint64 maximumKeptFileSize = 16 * 1024 * 1024;

} // namespace

PrivateFolder::PrivateFolder(const QString &path, QObject *parent)
    : QObject(parent)
    , m_path(path) {
    if (!QDir().mkpath(path) || !QFile::setPermissions(path, ownerOnlyFolder)) {
        qCWarning(lcCore) << "cannot make the folder private:" << path;
        return;
    }
    protectFiles();
    m_watcher.addPath(path);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &PrivateFolder::protectFiles);
}

void PrivateFolder::protectFiles() {
    const QFileInfoList entries =
        QDir(m_path).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (!(entry.permissions() & othersAccess))
            continue;
        if (!QFile::setPermissions(entry.filePath(), ownerOnlyFile))
            qCWarning(lcCore) << "cannot make a file private:" << entry.fileName();
    }
}

bool privatefile::write(const QString &path, const QByteArray &data) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QFile::setPermissions(info.absolutePath(), ownerOnlyFolder);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcCore) << "not written:" << info.fileName() << file.errorString();
        return false;
    }
    file.setPermissions(ownerOnlyFile);
    file.write(data);
    if (!file.commit()) {
        qCWarning(lcCore) << "not written:" << info.fileName() << file.errorString();
        return false;
    }
    return true;
}

QJsonObject privatefile::readObject(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maximumKeptFileSize)
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QString privatefile::fingerprint(const QString &text) {
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex());
}
