#pragma once

#include <QObject>
#include <QString>

// The scene's pictures on disk: the profile and feed picture caches (one
// file per id, id + ".jpg") and the user's saved pictures.
//
// The scene hands over a picture as the result of an item's grabToImage()
// (its pixels as drawn) or as a picture item whose source is a local file
// (its bytes, scaled to the item's size). Pictures are written as JPEG on a
// white ground. Names are plain file names, used unchanged; anything that
// could reach outside the folder is refused. A saved picture never replaces
// another: the name gets a number, "photo (2).jpg". The caches are pruned of
// files older than cacheMaxAgeDays when the saver is created.
class ImageSaver : public QObject {
    Q_OBJECT
    // The cache folders as file URLs with a trailing slash: the scene shows
    // cached pictures from them.
    Q_PROPERTY(QString profileImageCacheFolder READ profileImageCacheFolder CONSTANT)
    Q_PROPERTY(QString feedImageCacheFolder READ feedImageCacheFolder CONSTANT)

public:
    static constexpr int cacheMaxAgeDays = 30;
    // Numbered names tried before a save is refused as crowded.
    static constexpr int maxNumberedNames = 999;

    // Local folders, each with a trailing slash.
    struct Folders {
        QString profileCache;
        QString feedCache;
        QString saved;
    };
    // The caches under the user's cache location, saved pictures in a Kelvo
    // folder of the user's pictures.
    static Folders standardFolders();

    explicit ImageSaver(const Folders &folders = standardFolders(), QObject *parent = nullptr);

    const Folders &folders() const { return m_folders; }
    QString profileImageCacheFolder() const;
    QString feedImageCacheFolder() const;

    // A name with no folder part: not empty, no slash or backslash, no drive
    // colon, not "." or "..".
    static bool isPlainFileName(const QString &name);
    // Removes the files in `folder` last modified more than `maxAgeDays` ago;
    // returns how many went.
    static int pruneFolder(const QString &folder, int maxAgeDays);

public slots:
    bool imageExists(const QString &id) const;
    bool feedImageExists(const QString &id) const;
    // Fill the caches; a cached picture is replaced.
    bool save(QObject *picture, const QString &name);
    bool saveFeed(QObject *picture, const QString &name);
    // Saves the user's copy; true when the file was written, then
    // imageSaved() carries its path, otherwise saveFailed() says why.
    bool saveImage(QObject *picture, const QString &name);

signals:
    void imageSaved(const QString &filePath);
    void saveFailed(const QString &name, const QString &reason);

private:
    enum class Mode { Replace, KeepExisting };
    // The written file's path, or empty with `why` filled.
    QString write(QObject *picture, const QString &folder, const QString &name, Mode mode,
                  QString *why);

    Folders m_folders;
};
