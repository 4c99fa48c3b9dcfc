#include "chatsasl.h"

#include "chatjid.h"

#include <QRandomGenerator>
#include <QStringList>
#include <QTextCodec>
#include <QUrlQuery>

namespace ChatSasl {

namespace {

bool decodeUtf8(const QByteArray &bytes, QString *text) {
    QTextCodec *codec = QTextCodec::codecForName("UTF-8");
    QTextCodec::ConverterState state;
    *text = codec->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

} // namespace

bool decodePayload(const QString &text, QByteArray *data, bool *present) {
    const QString trimmed = text.trimmed();
    data->clear();
    *present = !trimmed.isEmpty();
    if (trimmed.isEmpty() || trimmed == QLatin1String("="))
        return true;
    const auto result =
        QByteArray::fromBase64Encoding(trimmed.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (result.decodingStatus != QByteArray::Base64DecodingStatus::Ok)
        return false;
    // Latin-1 conversion turns anything outside it into '?', which the strict
    // decoder rejects, so non-ASCII text cannot slip through.
    *data = result.decoded;
    return true;
}

QString encodePayload(const QByteArray &data) {
    return data.isEmpty() ? QStringLiteral("=") : QString::fromLatin1(data.toBase64());
}

bool parsePlain(const QByteArray &message, PlainCredentials *credentials) {
    const QList<QByteArray> parts = message.split('\0');
    if (parts.size() != 3)
        return false;
    return decodeUtf8(parts.at(0), &credentials->authzid) &&
           decodeUtf8(parts.at(1), &credentials->authcid) &&
           decodeUtf8(parts.at(2), &credentials->password);
}

QString userIdOfAuthcid(const QString &authcid) {
    const QString userId = authcid.startsWith(QLatin1Char('-')) ? authcid.mid(1) : authcid;
    return ChatJid::isUserId(userId) ? userId : QString();
}

QByteArray facebookChallenge(const QString &method, const QString &nonce) {
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("version"), QStringLiteral("1"));
    query.addQueryItem(QStringLiteral("method"), method);
    query.addQueryItem(QStringLiteral("nonce"), nonce);
    return query.query(QUrl::FullyEncoded).toUtf8();
}

bool parseFacebookResponse(const QByteArray &message, FacebookResponse *response) {
    QString text;
    if (!decodeUtf8(message, &text))
        return false;
    const QUrlQuery query(text);
    const QStringList keys = {QStringLiteral("access_token"), QStringLiteral("api_key"),
                              QStringLiteral("call_id"),      QStringLiteral("method"),
                              QStringLiteral("nonce"),        QStringLiteral("v")};
    for (const QString &key : keys) {
        if (!query.hasQueryItem(key))
            return false;
    }
    const auto value = [&query](const char *key) {
        return query.queryItemValue(QLatin1String(key), QUrl::FullyDecoded);
    };
    response->accessToken = value("access_token");
    response->apiKey = value("api_key");
    response->callId = value("call_id");
    response->method = value("method");
    response->nonce = value("nonce");
    response->version = value("v");
    return true;
}

QString makeNonce() {
    QByteArray bytes(16, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(QRandomGenerator::system()->bounded(256));
    return QString::fromLatin1(bytes.toHex());
}

} // namespace ChatSasl
