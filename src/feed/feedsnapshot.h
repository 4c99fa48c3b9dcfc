#pragma once

#include <QObject>
#include <QString>

// The home feed's first page as last shown, kept on disk so that the next
// start can show it at once. The file belongs to one access token: it holds
// a fingerprint of the token (never the token itself) and is read back only
// with the same token. Writes are atomic; a damaged file reads as none.
class FeedSnapshot : public QObject {
    Q_OBJECT

public:
    explicit FeedSnapshot(const QString &filePath, QObject *parent = nullptr);

    QString filePath() const { return m_filePath; }

public slots:
    // Keeps `rowsJson` (a JSON array of rows) for `token`'s account. Refused
    // (false) for an empty token, rows that are not an array, rows that
    // hold the token, or a failed write.
    bool store(const QString &token, const QString &rowsJson);
    // The rows kept for `token` as JSON text; "" when there are none, they
    // belong to another token, or the file cannot be read.
    QString load(const QString &token) const;
    // The token was exchanged for another of the same sign-in: the rows
    // kept for `oldToken` now belong to `newToken`.
    bool rekey(const QString &oldToken, const QString &newToken);
    void clear();

private:
    bool write(const QString &token, const QByteArray &rows);

    QString m_filePath;
};
