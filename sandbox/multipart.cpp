#include "multipart.h"

namespace {

constexpr int maxParts = 64;
constexpr int maxHeaderBytes = 8192;

MultipartResult failure(const QString &why) {
    MultipartResult r;
    r.error = why;
    return r;
}

// The value of `key` in a header's "; key=value" parameters, quoted or not.
bool headerParameter(const QByteArray &header, const QByteArray &key, QByteArray *value) {
    const QList<QByteArray> params = header.split(';');
    for (int i = 1; i < params.size(); ++i) {
        const QByteArray param = params[i].trimmed();
        const int eq = param.indexOf('=');
        if (eq <= 0 || param.left(eq).trimmed().toLower() != key)
            continue;
        QByteArray v = param.mid(eq + 1).trimmed();
        if (v.startsWith('"')) {
            if (v.size() < 2 || !v.endsWith('"'))
                return false;
            v = v.mid(1, v.size() - 2);
        }
        *value = v;
        return true;
    }
    return false;
}

bool validBoundary(const QByteArray &b) {
    if (b.isEmpty() || b.size() > 70 || b.endsWith(' '))
        return false;
    static const QByteArray allowed("'()+_,-./:=? ");
    for (char c : b)
        if (!(isalnum(uchar(c)) || allowed.contains(c)))
            return false;
    return true;
}

bool parseHeaders(const QByteArray &block, MultipartPart *part, QString *error) {
    bool disposition = false;
    // `block` holds the header lines without the CR LF that ends the last one.
    const QList<QByteArray> lines = block.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const bool last = i == lines.size() - 1;
        if (last == lines[i].endsWith('\r')) {
            *error = QStringLiteral("part header lines must end with CR LF");
            return false;
        }
        const QByteArray text = last ? lines[i] : lines[i].chopped(1);
        const int colon = text.indexOf(':');
        if (colon <= 0) {
            *error = QStringLiteral("malformed part header");
            return false;
        }
        const QByteArray name = text.left(colon).trimmed().toLower();
        const QByteArray value = text.mid(colon + 1).trimmed();
        if (name == "content-disposition") {
            if (value.split(';').first().trimmed().toLower() != "form-data" ||
                !headerParameter(value, "name", &part->name) || part->name.isEmpty()) {
                *error = QStringLiteral("a part needs Content-Disposition: form-data with a name");
                return false;
            }
            part->hasFileName = headerParameter(value, "filename", &part->fileName);
            disposition = true;
        } else if (name == "content-type") {
            part->contentType = value;
        }
    }
    if (!disposition)
        *error = QStringLiteral("a part lacks its Content-Disposition");
    return disposition;
}

} // namespace

MultipartResult parseMultipart(const QByteArray &contentType, const QByteArray &body,
                               qint64 contentLength) {
    if (contentType.split(';').first().trimmed().toLower() != "multipart/form-data")
        return failure(QStringLiteral("the content type must be multipart/form-data"));
    QByteArray boundary;
    if (!headerParameter(contentType, "boundary", &boundary) || !validBoundary(boundary))
        return failure(QStringLiteral("missing or invalid boundary"));
    if (contentLength < 0)
        return failure(QStringLiteral("Content-Length is required"));
    if (contentLength != body.size())
        return failure(QStringLiteral("Content-Length does not match the body"));

    const QByteArray dashBoundary = "--" + boundary;
    const QByteArray delimiter = "\r\n" + dashBoundary;
    if (!body.startsWith(dashBoundary + "\r\n"))
        return failure(QStringLiteral("the body must start with the boundary"));

    MultipartResult result;
    int pos = dashBoundary.size() + 2;
    for (;;) {
        if (result.parts.size() >= maxParts)
            return failure(QStringLiteral("too many parts"));
        const int headersEnd = body.indexOf("\r\n\r\n", pos);
        if (headersEnd < 0 || headersEnd - pos > maxHeaderBytes)
            return failure(QStringLiteral("unterminated part headers"));
        MultipartPart part;
        QString error;
        if (!parseHeaders(body.mid(pos, headersEnd - pos), &part, &error))
            return failure(error);
        const int dataStart = headersEnd + 4;
        const int dataEnd = body.indexOf(delimiter, dataStart);
        if (dataEnd < 0)
            return failure(QStringLiteral("missing closing boundary"));
        part.data = body.mid(dataStart, dataEnd - dataStart);
        result.parts.append(part);
        pos = dataEnd + delimiter.size();
        if (body.mid(pos, 2) == "--") {
            const QByteArray rest = body.mid(pos + 2);
            if (!rest.isEmpty() && rest != "\r\n")
                return failure(QStringLiteral("data after the closing boundary"));
            break;
        }
        if (body.mid(pos, 2) != "\r\n")
            return failure(QStringLiteral("malformed boundary line"));
        pos += 2;
    }
    result.ok = true;
    return result;
}
