// The multipart photo upload to "<album>/photos".
#include "graphapi.h"

#include "multipart.h"

#include <QBuffer>
#include <QDateTime>
#include <QImageReader>
#include <QRegularExpression>

namespace {

constexpr int maxImageSide = 8000;

Album *wallAlbumOf(WorldData &w, const QString &ownerId) {
    for (Album &a : w.albums)
        if (a.ownerId == ownerId && a.name == QLatin1String("Wall Photos"))
            return &a;
    Album a;
    a.id = w.newId();
    a.ownerId = ownerId;
    a.name = QStringLiteral("Wall Photos");
    a.type = QStringLiteral("normal");
    a.created = a.updated = w.now();
    return &(w.albums[a.id] = a);
}

} // namespace

ApiResponse uploadPhoto(GraphContext &ctx, const QString &targetId) {
    WorldData &w = ctx.change();
    Album *album = nullptr;
    if (w.albums.contains(targetId)) {
        album = &w.albums[targetId];
        const bool mine = album->ownerId == ctx.viewer ||
                          w.pages.value(album->ownerId).admins.contains(ctx.viewer);
        if (!mine || album->type == QLatin1String("profile"))
            return ApiResponse::badRequest(QStringLiteral("(#120) Invalid album id"), 120);
    } else if (targetId == ctx.viewer || w.pages.value(targetId).admins.contains(ctx.viewer)) {
        album = wallAlbumOf(w, targetId);
    } else {
        return ApiResponse::badRequest(QStringLiteral("(#120) Invalid album id"), 120);
    }

    const MultipartResult form =
        parseMultipart(ctx.req.contentType, ctx.req.body, ctx.req.contentLength);
    if (!form.ok)
        return ApiResponse::badRequest(QStringLiteral("(#324) Malformed upload: ") + form.error,
                                       324);
    const MultipartPart *file = nullptr;
    for (const MultipartPart &part : form.parts) {
        if (part.hasFileName) {
            if (file)
                return ApiResponse::badRequest(QStringLiteral("(#324) One picture per upload."),
                                               324);
            file = &part;
        }
    }
    if (!file || file->name != "file")
        return ApiResponse::badRequest(QStringLiteral("(#324) Requires upload file"), 324);
    static const QRegularExpression imageType(QStringLiteral("^image/[a-z0-9.+-]+$"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (!imageType.match(QString::fromLatin1(file->contentType)).hasMatch())
        return ApiResponse::badRequest(QStringLiteral("(#324) The file part must be an image."),
                                       324);
    if (file->data.isEmpty())
        return ApiResponse::badRequest(QStringLiteral("(#324) Requires upload file"), 324);

    QBuffer buffer;
    buffer.setData(file->data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > maxImageSide || size.height() > maxImageSide)
        return ApiResponse::badRequest(
            QStringLiteral("(#324) The picture could not be read or is too large."), 324);
    const QByteArray format = reader.format();
    if (reader.read().isNull())
        return ApiResponse::badRequest(QStringLiteral("(#324) The picture could not be read."),
                                       324);

    Photo p;
    p.id = w.newId();
    p.albumId = album->id;
    p.fromId = ctx.viewer;
    p.name = ctx.req.value(QStringLiteral("message"));
    p.width = size.width();
    p.height = size.height();
    p.created = w.now();
    p.uploaded = file->data;
    p.uploadedType = format;
    w.photos.insert(p.id, p);
    album->photoIds.append(p.id);
    album->updated = p.created;

    Posting posting;
    posting.time = p.created;
    posting.method = QStringLiteral("POST");
    posting.path = ctx.req.path;
    posting.params = {{QStringLiteral("message"), p.name},
                      {QStringLiteral("filename"), QString::fromUtf8(file->fileName)},
                      {QStringLiteral("content_type"), QString::fromUtf8(file->contentType)}};
    posting.userId = ctx.viewer;
    posting.result = p.id;
    w.postings.append(posting);
    return ApiResponse::json(QJsonObject{{"id", p.id}});
}
