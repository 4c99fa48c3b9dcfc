#pragma once

#include "apirequest.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QString>

class World;

// Pictures of the world: drawn from an object's id (gradients and shapes, so
// that every id has its own), or scaled from a picture the client uploaded.
// Encoded pictures are cached; safe to use from any thread.
class PictureStore {
public:
    explicit PictureStore(World &world);

    // "/<id>/picture", "/photos/<id>/<width>.jpg", "/img/<seed>_<w>x<h>.jpg|png",
    // "/safe_image.php"; other paths are not handled (returns false).
    bool handle(const ApiRequest &req, ApiResponse *response);

    static QImage draw(const QString &seed, int width, int height, bool portrait);

private:
    World &m_world;
    QMutex m_cacheMutex;
    QHash<QString, QByteArray> m_cache;

    QByteArray encoded(const QString &key, const QImage &image, const char *format);
    QByteArray cached(const QString &key);
    ApiResponse objectPicture(const ApiRequest &req, const QString &id);
    ApiResponse photoPicture(const QString &photoId, int width);
    static ApiResponse image(const QByteArray &data, const char *format);
};
