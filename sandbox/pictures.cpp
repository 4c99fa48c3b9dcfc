#include "pictures.h"

#include "world.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QMutexLocker>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRegularExpression>

namespace {

constexpr int maxSide = 2000;
constexpr int maxCacheEntries = 600;

quint32 fnv1a(const QString &text) {
    quint32 h = 2166136261u;
    for (const QChar c : text) {
        h ^= c.unicode();
        h *= 16777619u;
    }
    return h;
}

QColor colourFrom(quint32 &state) {
    state = state * 1664525u + 1013904223u;
    return QColor::fromHsv(int(state >> 8) % 360, 90 + int(state >> 20) % 120,
                           150 + int(state >> 4) % 100);
}

} // namespace

PictureStore::PictureStore(World &world)
    : m_world(world) {}

QImage PictureStore::draw(const QString &seed, int width, int height, bool portrait) {
    QImage img(width, height, QImage::Format_RGB32);
    quint32 state = fnv1a(seed);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, width, height);
    background.setColorAt(0, colourFrom(state));
    background.setColorAt(1, colourFrom(state).darker(150));
    p.fillRect(img.rect(), background);
    p.setPen(Qt::NoPen);
    if (portrait) {
        // A head and shoulders, so that people look like people.
        p.setBrush(colourFrom(state).lighter(130));
        p.drawEllipse(QRectF(width * 0.3, height * 0.18, width * 0.4, height * 0.4));
        p.drawEllipse(QRectF(width * 0.12, height * 0.62, width * 0.76, height * 0.6));
        return img;
    }
    const int shapes = 3 + int(state % 4);
    for (int i = 0; i < shapes; ++i) {
        QColor c = colourFrom(state);
        c.setAlpha(140);
        const double x = (state % 1000) / 1000.0 * width;
        const double y = ((state >> 10) % 1000) / 1000.0 * height;
        const double r = (0.1 + ((state >> 20) % 300) / 1000.0) * qMin(width, height);
        QRadialGradient glow(x, y, r);
        glow.setColorAt(0, c.lighter(140));
        glow.setColorAt(1, c);
        p.setBrush(glow);
        if (i % 3 == 0) {
            p.drawEllipse(QPointF(x, y), r, r);
        } else if (i % 3 == 1) {
            p.drawRoundedRect(QRectF(x - r, y - r / 2, 2 * r, r), r / 5, r / 5);
        } else {
            QPainterPath triangle;
            triangle.moveTo(x, y - r);
            triangle.lineTo(x + r, y + r);
            triangle.lineTo(x - r, y + r);
            triangle.closeSubpath();
            p.drawPath(triangle);
        }
        colourFrom(state);
    }
    return img;
}

QByteArray PictureStore::cached(const QString &key) {
    QMutexLocker lock(&m_cacheMutex);
    return m_cache.value(key);
}

QByteArray PictureStore::encoded(const QString &key, const QImage &image, const char *format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 85);
    QMutexLocker lock(&m_cacheMutex);
    if (m_cache.size() >= maxCacheEntries)
        m_cache.clear();
    m_cache.insert(key, data);
    return data;
}

ApiResponse PictureStore::image(const QByteArray &data, const char *format) {
    if (data.isEmpty())
        return ApiResponse::badRequest(QStringLiteral("The picture could not be made."));
    ApiResponse r;
    r.contentType = qstrcmp(format, "PNG") == 0 ? "image/png" : "image/jpeg";
    r.body = data;
    r.headers.append({QByteArray("Cache-Control"), QByteArray("max-age=3600")});
    return r;
}

ApiResponse PictureStore::photoPicture(const QString &photoId, int width) {
    QByteArray uploaded;
    int photoWidth = 0, photoHeight = 0;
    {
        const World::Snapshot w = m_world.snapshot();
        const auto it = w->photos.constFind(photoId);
        if (it == w->photos.constEnd())
            return ApiResponse::notFound(QStringLiteral("/photos/") + photoId);
        uploaded = it->uploaded;
        photoWidth = it->width;
        photoHeight = it->height;
    }
    width = qBound(16, width, photoWidth);
    const int height = qMax(1, photoHeight * width / photoWidth);
    const QString key = QStringLiteral("photo/%1/%2").arg(photoId).arg(width);
    QByteArray data = cached(key);
    if (data.isEmpty()) {
        QImage img;
        if (!uploaded.isEmpty() && img.loadFromData(uploaded))
            img = img.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        else
            img = draw(photoId, width, height, false);
        data = encoded(key, img, "JPEG");
    }
    return image(data, "JPEG");
}

ApiResponse PictureStore::objectPicture(const ApiRequest &req, const QString &id) {
    const QString type = req.value(QStringLiteral("type"));
    QString coverPhoto;
    bool photo = false, known = false, person = false;
    {
        const World::Snapshot snapshot = m_world.snapshot();
        const WorldData &w = *snapshot;
        photo = w.photos.contains(id);
        if (w.albums.contains(id))
            coverPhoto = w.albums[id].photoIds.value(0);
        person = w.people.contains(id);
        known = photo || w.albums.contains(id) || !w.kindOf(id).isEmpty() ||
                w.places.contains(id) || w.posts.contains(id);
    }
    if (!known)
        return ApiResponse::notFound(QLatin1Char('/') + id + QStringLiteral("/picture"));
    const bool small = type.isEmpty() || type == QLatin1String("square") ||
                       type == QLatin1String("small") || type == QLatin1String("thumbnail");
    if (photo)
        return photoPicture(id, small && !type.isEmpty() ? 130 : 720);
    if (!coverPhoto.isEmpty())
        return photoPicture(coverPhoto, small ? 130 : 480);
    const int side = type == QLatin1String("large")    ? 200
                     : type == QLatin1String("normal") ? 100
                                                       : 50;
    const QString key = QStringLiteral("object/%1/%2").arg(id).arg(side);
    QByteArray data = cached(key);
    if (data.isEmpty())
        data = encoded(key, draw(id, side, side, person), "JPEG");
    return image(data, "JPEG");
}

bool PictureStore::handle(const ApiRequest &req, ApiResponse *response) {
    const QStringList segments = req.path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (segments.size() == 2 && segments[1] == QLatin1String("picture")) {
        *response = objectPicture(req, segments[0]);
        return true;
    }
    static const QRegularExpression photoPath(QStringLiteral("^/photos/(\\d+)/(\\d{1,4})\\.jpg$"));
    const auto photoMatch = photoPath.match(req.path);
    if (photoMatch.hasMatch()) {
        *response = photoPicture(photoMatch.captured(1), photoMatch.captured(2).toInt());
        return true;
    }
    static const QRegularExpression imgPath(
        QStringLiteral("^/img/([A-Za-z0-9-]{1,64})_(\\d{1,4})x(\\d{1,4})\\.(jpg|png)$"));
    const auto imgMatch = imgPath.match(req.path);
    if (imgMatch.hasMatch()) {
        const int width = qBound(1, imgMatch.captured(2).toInt(), maxSide);
        const int height = qBound(1, imgMatch.captured(3).toInt(), maxSide);
        const bool png = imgMatch.captured(4) == QLatin1String("png");
        const char *format = png ? "PNG" : "JPEG";
        QByteArray data = cached(req.path);
        if (data.isEmpty())
            data = encoded(req.path, draw(imgMatch.captured(1), width, height, false), format);
        *response = image(data, format);
        return true;
    }
    if (req.path == QLatin1String("/safe_image.php")) {
        // The image proxy only forwards to pictures of this sandbox.
        QString target = req.value(QStringLiteral("url"));
        if (target.isEmpty())
            target = req.value(QStringLiteral("src"));
        if (!target.startsWith(req.root + QLatin1Char('/')))
            *response = ApiResponse::badRequest(QStringLiteral("Unknown image address."));
        else
            *response = ApiResponse::redirect(target);
        return true;
    }
    return false;
}
