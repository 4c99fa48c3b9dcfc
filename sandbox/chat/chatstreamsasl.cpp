// The SASL part of a chat stream: PLAIN for fictional people and
// X-FACEBOOK-PLATFORM for the app.

#include "chatstream.h"

#include "chatdirectory.h"
#include "chatjid.h"
#include "chatlogging.h"
#include "chatrouter.h"
#include "chatsasl.h"

namespace {

const QString saslNamespace = QStringLiteral("urn:ietf:params:xml:ns:xmpp-sasl");
// The method named in the X-FACEBOOK-PLATFORM challenge.
const QString facebookMethod = QStringLiteral("auth.xmpp_login");
constexpr int maxFailedLogins = 5;

QByteArray saslElement(const char *name, const QString &payload = QString()) {
    const QString text =
        payload.isEmpty()
            ? QStringLiteral("<%1 xmlns='%2'/>").arg(QLatin1String(name), saslNamespace)
            : QStringLiteral("<%1 xmlns='%2'>%3</%1>")
                  .arg(QLatin1String(name), saslNamespace, payload);
    return text.toUtf8();
}

} // namespace

void ChatStream::handleSasl(const QDomElement &element) {
    const QString name = element.localName();
    if (name == QLatin1String("auth")) {
        handleAuth(element);
    } else if (name == QLatin1String("response")) {
        handleResponse(element);
    } else if (name == QLatin1String("abort")) {
        m_saslStep = SaslStep::None;
        writeRaw(saslElement("failure", QStringLiteral("<aborted/>")));
    } else {
        closeWithError(QStringLiteral("unsupported-stanza-type"));
    }
}

void ChatStream::handleAuth(const QDomElement &element) {
    m_saslStep = SaslStep::None;
    const QString mechanism = element.attribute(QStringLiteral("mechanism"));
    QByteArray initialResponse;
    bool present = false;
    if (!ChatSasl::decodePayload(element.text(), &initialResponse, &present)) {
        saslFailed(QStringLiteral("incorrect-encoding"));
        return;
    }
    if (mechanism == QLatin1String(ChatSasl::plainMechanism)) {
        if (present) {
            acceptPlain(initialResponse);
        } else {
            m_saslStep = SaslStep::PlainResponse;
            writeRaw(saslElement("challenge", ChatSasl::encodePayload(QByteArray())));
        }
    } else if (mechanism == QLatin1String(ChatSasl::facebookMechanism)) {
        m_nonce = ChatSasl::makeNonce();
        m_saslStep = SaslStep::FacebookResponse;
        const QByteArray challenge = ChatSasl::facebookChallenge(facebookMethod, m_nonce);
        writeRaw(saslElement("challenge", ChatSasl::encodePayload(challenge)));
    } else {
        saslFailed(QStringLiteral("invalid-mechanism"));
    }
}

void ChatStream::handleResponse(const QDomElement &element) {
    const SaslStep step = m_saslStep;
    m_saslStep = SaslStep::None;
    QByteArray response;
    bool present = false;
    if (!ChatSasl::decodePayload(element.text(), &response, &present)) {
        saslFailed(QStringLiteral("incorrect-encoding"));
        return;
    }
    switch (step) {
    case SaslStep::PlainResponse:
        acceptPlain(response);
        break;
    case SaslStep::FacebookResponse:
        acceptFacebook(response);
        break;
    case SaslStep::None:
        saslFailed(QStringLiteral("malformed-request"));
        break;
    }
}

void ChatStream::acceptPlain(const QByteArray &message) {
    ChatSasl::PlainCredentials credentials;
    if (!ChatSasl::parsePlain(message, &credentials)) {
        saslFailed(QStringLiteral("malformed-request"));
        return;
    }
    const QString userId = ChatSasl::userIdOfAuthcid(credentials.authcid);
    if (userId.isEmpty()) {
        saslFailed(QStringLiteral("not-authorized"));
        return;
    }
    const QString &authzid = credentials.authzid;
    if (!authzid.isEmpty() && ChatSasl::userIdOfAuthcid(authzid) != userId &&
        ChatJid::userIdOf(authzid, m_router->domain()) != userId) {
        saslFailed(QStringLiteral("invalid-authzid"));
        return;
    }
    if (!m_router->directory().checkPassword(userId, credentials.password)) {
        qCInfo(lcSandboxChat) << "PLAIN login refused for" << userId;
        saslFailed(QStringLiteral("not-authorized"));
        return;
    }
    saslSucceeded(userId);
}

void ChatStream::acceptFacebook(const QByteArray &message) {
    ChatSasl::FacebookResponse response;
    if (!ChatSasl::parseFacebookResponse(message, &response)) {
        saslFailed(QStringLiteral("malformed-request"));
        return;
    }
    if (response.method != facebookMethod || response.nonce != m_nonce) {
        qCInfo(lcSandboxChat) << "X-FACEBOOK-PLATFORM response does not answer the challenge";
        saslFailed(QStringLiteral("not-authorized"));
        return;
    }
    if (response.apiKey != m_router->directory().applicationId()) {
        qCInfo(lcSandboxChat) << "X-FACEBOOK-PLATFORM login with a foreign application id";
        saslFailed(QStringLiteral("not-authorized"));
        return;
    }
    const QString userId = m_router->directory().userIdForToken(response.accessToken);
    if (!ChatJid::isUserId(userId)) {
        qCInfo(lcSandboxChat) << "X-FACEBOOK-PLATFORM login with an unknown token";
        saslFailed(QStringLiteral("not-authorized"));
        return;
    }
    saslSucceeded(userId);
}

void ChatStream::saslSucceeded(const QString &userId) {
    qCDebug(lcSandboxChat) << "logged in:" << userId;
    writeRaw(saslElement("success"));
    m_authenticated = true;
    m_userId = userId;
    m_nonce.clear();
    // The client now opens a new stream over the same connection.
    m_state = State::AwaitingHeader;
    m_headerSent = false;
    m_parser.restart();
}

void ChatStream::saslFailed(const QString &condition) {
    m_saslStep = SaslStep::None;
    m_nonce.clear();
    writeRaw(saslElement("failure", QStringLiteral("<%1/>").arg(condition)));
    if (++m_failedLogins >= maxFailedLogins)
        closeWithError(QStringLiteral("policy-violation"),
                       QStringLiteral("too many failed logins"));
}
