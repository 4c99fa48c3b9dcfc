#pragma once

#include <QByteArray>
#include <QString>

// The two SASL mechanisms of the sandbox chat: PLAIN for fictional people
// (scripted contacts, standard clients) and X-FACEBOOK-PLATFORM for the app,
// which logs in with a Graph access token.
namespace ChatSasl {

inline constexpr char plainMechanism[] = "PLAIN";
inline constexpr char facebookMechanism[] = "X-FACEBOOK-PLATFORM";

// Base64 payload of <auth>, <response> or <challenge>: "" is an absent
// payload, "=" an empty one. Returns false for text that is not base64.
bool decodePayload(const QString &text, QByteArray *data, bool *present);
// The text of an element carrying `data` ("=" for empty data).
QString encodePayload(const QByteArray &data);

struct PlainCredentials {
    QString authzid;
    QString authcid;
    QString password;
};
// Splits "authzid NUL authcid NUL password"; false when the message has
// another shape or is not UTF-8.
bool parsePlain(const QByteArray &message, PlainCredentials *credentials);
// The user id of a PLAIN authcid: the numeric id with or without a leading
// "-"; empty when it is not one.
QString userIdOfAuthcid(const QString &authcid);

// The server's challenge: "version=1&method=<method>&nonce=<nonce>".
QByteArray facebookChallenge(const QString &method, const QString &nonce);

struct FacebookResponse {
    QString accessToken;
    QString apiKey;
    QString callId;
    QString method;
    QString nonce;
    QString version;
};
// Parses the client's answer, a query string with access_token, api_key,
// call_id, method, nonce and v; false when one of them is missing.
bool parseFacebookResponse(const QByteArray &message, FacebookResponse *response);

// A fresh random nonce, 32 hexadecimal digits.
QString makeNonce();

} // namespace ChatSasl
