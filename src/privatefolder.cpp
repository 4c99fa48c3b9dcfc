#include "privatefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "logging.h"

namespace {

constexpr QFileDevice::Permissions ownerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions ownerOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions othersAccess = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                  QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                  QFileDevice::WriteOther | QFileDevice::ExeOther;

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
