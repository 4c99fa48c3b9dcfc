#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct MultipartPart {
    QByteArray name;
    QByteArray fileName;
    bool hasFileName = false;
    QByteArray contentType;
    QByteArray data;
};

struct MultipartResult {
    bool ok = false;
    QString error;
    QList<MultipartPart> parts;
};

// Parses a multipart/form-data body strictly: the boundary of the content
// type, a Content-Length equal to the body's size, the body starting with the
// first delimiter and ending with the closing one, and every part carrying a
// form-data Content-Disposition with a name.
MultipartResult parseMultipart(const QByteArray &contentType, const QByteArray &body,
                               qint64 contentLength);
