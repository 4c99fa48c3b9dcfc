#include "statefile.h"

#include "chatlogging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace StateFile {

namespace {

bool writeAll(int fd, const QByteArray &data) {
    const char *at = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        at += n;
        left -= n;
    }
    return true;
}

} // namespace

bool write(const QString &path, const QByteArray &data) {
    const QFileInfo info(path);
    const QString dir = info.absolutePath();
    if (!QDir().mkpath(dir)) {
        qCWarning(lcSandboxChat) << "cannot create the state folder" << dir;
        return false;
    }
    ::chmod(QFile::encodeName(dir).constData(), 0700);

    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    const QByteArray temp = target + ".tmp";
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        qCWarning(lcSandboxChat) << "cannot write" << path << std::strerror(errno);
        return false;
    }
    const bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
    ::close(fd);
    if (!ok || ::rename(temp.constData(), target.constData()) != 0) {
        qCWarning(lcSandboxChat) << "cannot write" << path << std::strerror(errno);
        ::unlink(temp.constData());
        return false;
    }
    // The rename is only durable once the folder's entry is on disk too.
    const int dirFd =
        ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

QByteArray read(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    if (file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther))
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.readAll();
}

} // namespace StateFile
