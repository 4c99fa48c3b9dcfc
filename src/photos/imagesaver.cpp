#include "imagesaver.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QQuickItem>
#include <QQuickItemGrabResult>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

#include "logging.h"

namespace {

QString withSlash(QString folder) {
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString folderUrl(const QString &folder) {
    return QUrl::fromLocalFile(folder).toString();
}

// The file behind a picture item's source, if it is one on this device.
QString localFileOf(const QUrl &source) {
    if (source.isLocalFile())
        return source.toLocalFile();
    if (source.scheme() == QLatin1String("qrc"))
        return QLatin1Char(':') + source.path();
    return {};
}

// The picture's pixels: a grab result's image as grabbed, a picture item's
// local file scaled to the item's size. A null image and `why` otherwise.
QImage pixelsOf(QObject *picture, QString *why) {
    if (auto *grab = qobject_cast<QQuickItemGrabResult *>(picture))
        return grab->image();
    auto *item = qobject_cast<QQuickItem *>(picture);
    if (!item) {
        *why = QStringLiteral("not a picture item");
        return {};
    }
    const QSize size(qRound(item->width()), qRound(item->height()));
    if (size.isEmpty()) {
        *why = QStringLiteral("the item has no size");
        return {};
    }
    const QString file = localFileOf(item->property("source").toUrl());
    if (file.isEmpty()) {
        *why = QStringLiteral("the picture is not a local file: hand over the item's grab");
        return {};
    }
    QImageReader reader(file);
    const QImage image = reader.read();
    if (image.isNull()) {
        *why = reader.errorString();
        return {};
    }
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// JPEG has no alpha: what is transparent shows white.
QImage onWhite(QImage pixels) {
    pixels.setDevicePixelRatio(1);
    QImage page(pixels.size(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.drawImage(0, 0, pixels);
    return page;
}

// "photo.jpg" → "photo (n).jpg".
QString numbered(const QString &name, int n) {
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const int cut = dot > 0 ? dot : name.size();
    return name.left(cut) + QStringLiteral(" (%1)").arg(n) + name.mid(cut);
}

bool writeJpeg(QIODevice *device, const QImage &page, QString *why) {
    QImageWriter writer(device, "jpg");
    if (writer.write(page))
        return true;
    *why = writer.errorString();
    return false;
}

} // namespace

ImageSaver::Folders ImageSaver::standardFolders() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return {cache + QStringLiteral("/profileimages/"), cache + QStringLiteral("/feedimages/"),
            pictures + QStringLiteral("/Kelvo/")};
}

ImageSaver::ImageSaver(const Folders &folders, QObject *parent)
    : QObject(parent)
    , m_folders{withSlash(folders.profileCache), withSlash(folders.feedCache),
                withSlash(folders.saved)} {
    // The caches exist from the start; the saved pictures' folder only once
    // the user saves one.
    for (const QString &cache : {m_folders.profileCache, m_folders.feedCache}) {
        if (!QDir().mkpath(cache))
            qCWarning(lcPhotos) << "cannot create the picture cache" << cache;
        if (const int pruned = pruneFolder(cache, cacheMaxAgeDays))
            qCDebug(lcPhotos) << "pruned" << pruned << "old pictures from" << cache;
    }
}

QString ImageSaver::profileImageCacheFolder() const {
    return folderUrl(m_folders.profileCache);
}

QString ImageSaver::feedImageCacheFolder() const {
    return folderUrl(m_folders.feedCache);
}

bool ImageSaver::isPlainFileName(const QString &name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.isNull())
            return false;
    }
    return true;
}

int ImageSaver::pruneFolder(const QString &folder, int maxAgeDays) {
    const QDateTime oldest = QDateTime::currentDateTime().addDays(-maxAgeDays);
    int pruned = 0;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : files) {
        if (file.lastModified() < oldest && QFile::remove(file.filePath()))
            ++pruned;
    }
    return pruned;
}

bool ImageSaver::imageExists(const QString &id) const {
    const QString name = id + QStringLiteral(".jpg");
    return isPlainFileName(name) && QFileInfo::exists(m_folders.profileCache + name);
}

bool ImageSaver::feedImageExists(const QString &id) const {
    const QString name = id + QStringLiteral(".jpg");
    return isPlainFileName(name) && QFileInfo::exists(m_folders.feedCache + name);
}

bool ImageSaver::save(QObject *picture, const QString &name) {
    QString why;
    if (write(picture, m_folders.profileCache, name, Mode::Replace, &why).isEmpty()) {
        qCDebug(lcPhotos) << "profile picture not cached:" << name << why;
        return false;
    }
    return true;
}

bool ImageSaver::saveFeed(QObject *picture, const QString &name) {
    QString why;
    if (write(picture, m_folders.feedCache, name, Mode::Replace, &why).isEmpty()) {
        qCDebug(lcPhotos) << "feed picture not cached:" << name << why;
        return false;
    }
    return true;
}

bool ImageSaver::saveImage(QObject *picture, const QString &name) {
    QString why;
    const QString path = write(picture, m_folders.saved, name, Mode::KeepExisting, &why);
    if (path.isEmpty()) {
        qCWarning(lcPhotos) << "picture not saved:" << name << why;
        emit saveFailed(name, why);
        return false;
    }
    qCDebug(lcPhotos) << "picture saved to" << path;
    emit imageSaved(path);
    return true;
}

QString ImageSaver::write(QObject *picture, const QString &folder, const QString &name, Mode mode,
                          QString *why) {
    // A plain name cannot leave the folder: no separator, no drive, no "..".
    if (!isPlainFileName(name)) {
        *why = QStringLiteral("not a plain file name");
        return {};
    }
    const QImage pixels = pixelsOf(picture, why);
    if (pixels.isNull()) {
        if (why->isEmpty())
            *why = QStringLiteral("the picture is empty");
        return {};
    }
    if (!QDir().mkpath(folder)) {
        *why = QStringLiteral("cannot create the folder");
        return {};
    }
    const QImage page = onWhite(pixels);

    if (mode == Mode::Replace) {
        // Written aside and renamed: a half-written picture is never shown.
        QSaveFile file(folder + name);
        if (!file.open(QIODevice::WriteOnly)) {
            *why = file.errorString();
            return {};
        }
        if (!writeJpeg(&file, page, why))
            return {};
        if (!file.commit()) {
            *why = file.errorString();
            return {};
        }
        return file.fileName();
    }

    // Created only if absent, so a picture saved before is never replaced.
    for (int n = 1; n <= maxNumberedNames; ++n) {
        QFile file(folder + (n == 1 ? name : numbered(name, n)));
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists())
                continue;
            *why = file.errorString();
            return {};
        }
        if (!writeJpeg(&file, page, why)) {
            file.remove();
            return {};
        }
        return file.fileName();
    }
    *why = QStringLiteral("every numbered name is taken");
    return {};
}
