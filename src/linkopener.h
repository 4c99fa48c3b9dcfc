#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

// Opens links in the desktop's browser. Only web links leave the
// application: a link that does not start with "http" gets "http://" in
// front, and any other scheme (file:, javascript:, custom handlers) is refused, so text from
// the service or a chat contact can never start a local program or open a
// local file.
class LinkOpener : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // The web address `link` stands for, or an empty URL when it must not be
    // opened.
    static QUrl webUrl(const QString &link);

public slots:
    void openLink(const QString &link);
};
