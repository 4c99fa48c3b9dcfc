#include "chattestsupport.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QXmlStreamReader>

namespace ChatTest {

namespace {
constexpr int loginTimeoutMs = 15000;

template <typename Condition> bool waitUntil(Condition condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QTest::qWait(1);
    }
    return true;
}
} // namespace

QString bareJid(const QString &userId) {
    return QLatin1Char('-') + userId + QLatin1Char('@') +
           QLatin1String(MemoryChatDirectory::domain);
}

QXmppMessage chatMessage(const QString &to, const QString &body, const QString &id) {
    QXmppMessage message(QString(), to, body);
    message.setType(QXmppMessage::Chat);
    message.setId(id);
    return message;
}

Server::Server(const ChatOptions &options)
    : server(&directory, QLatin1String(MemoryChatDirectory::domain), options) {}

bool Server::start() {
    return server.listen(QHostAddress::LocalHost, 0);
}

bool ServerTest::restart(const ChatOptions &options) {
    m_server.reset(); // before the new one reads the state the old one left
    m_server = std::make_unique<Server>(options);
    return m_server->start();
}

void ServerTest::init() {
    QVERIFY2(restart(), qPrintable(server().errorString()));
}

void ServerTest::cleanup() {
    m_server.reset();
}

static QXmppConfiguration baseConfiguration(quint16 port) {
    QXmppConfiguration configuration;
    configuration.setHost(QStringLiteral("127.0.0.1"));
    configuration.setPort(port);
    configuration.setDomain(QLatin1String(MemoryChatDirectory::domain));
    configuration.setStreamSecurityMode(QXmppConfiguration::TLSDisabled);
    configuration.setAutoReconnectionEnabled(false);
    return configuration;
}

QXmppConfiguration facebookConfiguration(quint16 port, const QString &token, const QString &appId) {
    QXmppConfiguration configuration = baseConfiguration(port);
    configuration.setFacebookAccessToken(token);
    configuration.setFacebookAppId(appId);
    configuration.setSaslAuthMechanism(QStringLiteral("X-FACEBOOK-PLATFORM"));
    return configuration;
}

QXmppConfiguration plainConfiguration(quint16 port, const QString &user, const QString &password) {
    QXmppConfiguration configuration = baseConfiguration(port);
    configuration.setUser(user);
    configuration.setPassword(password);
    configuration.setSaslAuthMechanism(QStringLiteral("PLAIN"));
    return configuration;
}

bool connectClient(QXmppClient &client, const QXmppConfiguration &configuration,
                   const QXmppPresence &initialPresence) {
    bool failed = false;
    const auto connection = QObject::connect(&client, &QXmppClient::error, &client,
                                             [&failed](QXmppClient::Error) { failed = true; });
    client.connectToServer(configuration, initialPresence);
    const bool connected =
        waitUntil([&] { return client.isConnected() || failed; }, loginTimeoutMs) &&
        client.isConnected();
    QObject::disconnect(connection);
    return connected;
}

Inbox::Inbox(QXmppClient *client) {
    connect(client, &QXmppClient::messageReceived, this,
            [this](const QXmppMessage &message) { messages.append(message); });
    connect(client, &QXmppClient::presenceReceived, this,
            [this](const QXmppPresence &presence) { presences.append(presence); });
}

bool Session::logIn(quint16 port, const QString &userId, const QXmppPresence &initialPresence,
                    const QString &resource) {
    QXmppConfiguration configuration =
        facebookConfiguration(port, MemoryChatDirectory::tokenOf(userId));
    if (!resource.isEmpty())
        configuration.setResource(resource);
    return connectClient(*this, configuration, initialPresence);
}

template <typename Stanza>
static QList<Stanza> stanzasFrom(const QList<Stanza> &stanzas, const QString &userId) {
    QList<Stanza> result;
    std::copy_if(stanzas.cbegin(), stanzas.cend(), std::back_inserter(result),
                 [&](const Stanza &stanza) { return stanza.from() == bareJid(userId); });
    return result;
}

QList<QXmppMessage> Inbox::messagesFrom(const QString &userId) const {
    return stanzasFrom(messages, userId);
}

QList<QXmppPresence> Inbox::presencesFrom(const QString &userId) const {
    return stanzasFrom(presences, userId);
}

QStringList Inbox::bodiesFrom(const QString &userId) const {
    QStringList result;
    for (const QXmppMessage &message : messagesFrom(userId)) {
        if (!message.body().isEmpty())
            result.append(message.body());
    }
    return result;
}

bool RawPeer::connectTo(quint16 port) {
    connect(&m_socket, &QTcpSocket::readyRead, this, [this] { m_received += m_socket.readAll(); });
    m_socket.connectToHost(QHostAddress::LocalHost, port);
    return waitUntil([this] { return m_socket.state() == QAbstractSocket::ConnectedState; }, 10000);
}

void RawPeer::send(const QByteArray &data) {
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        m_socket.write(data);
}

bool RawPeer::waitFor(const QByteArray &needle, int timeoutMs) {
    return waitUntil([&] { return m_received.indexOf(needle, m_mark) >= 0; }, timeoutMs);
}

void RawPeer::mark() {
    m_mark = m_received.size();
}

QByteArray RawPeer::ask(const QByteArray &data, const QByteArray &until) {
    mark();
    send(data);
    return waitFor(until) ? sinceMark() : QByteArray();
}

bool RawPeer::waitForDisconnected(int timeoutMs) {
    return waitUntil([this] { return m_socket.state() == QAbstractSocket::UnconnectedState; },
                     timeoutMs);
}

QString RawPeer::currentStreamError() const {
    const QByteArray stream = m_received.mid(m_received.lastIndexOf("<?xml"));
    QXmlStreamReader reader(stream.endsWith("</stream:stream>") ? stream
                                                                : stream + "</stream:stream>");
    while (!reader.atEnd())
        reader.readNext();
    return reader.hasError() ? reader.errorString() : QString();
}

bool RawPeer::isConnected() const {
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

void RawPeer::abort() {
    m_socket.abort();
}

void RawPeer::stopReading() {
    m_socket.disconnect(this);
    m_socket.setReadBufferSize(4096);
}

QByteArray RawPeer::header(const QString &domain) {
    return "<?xml version='1.0'?><stream:stream to='" + domain.toUtf8() +
           "' xmlns='jabber:client' xmlns:stream='http://etherx.jabber.org/streams' "
           "version='1.0'>";
}

QByteArray RawPeer::plainAuth(const QString &authcid, const QString &password) {
    const QByteArray message = '\0' + authcid.toUtf8() + '\0' + password.toUtf8();
    return "<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='PLAIN'>" +
           message.toBase64() + "</auth>";
}

bool RawPeer::open(quint16 port) {
    return connectTo(port) && !ask(header(), "</stream:features>").isEmpty();
}

bool RawPeer::logIn(quint16 port, const QString &userId, const QString &resource) {
    return connectTo(port) &&
           logInWithPlain(userId, MemoryChatDirectory::passwordOf(userId), resource);
}

bool RawPeer::authenticate(const QString &authcid, const QString &password) {
    return !ask(header(), "</stream:features>").isEmpty() &&
           !ask(plainAuth(authcid, password), "<success").isEmpty() &&
           !ask(header(), "</stream:features>").isEmpty();
}

bool RawPeer::logInWithPlain(const QString &authcid, const QString &password,
                             const QString &resource) {
    if (!authenticate(authcid, password))
        return false;
    if (!ask("<iq type='set' id='bind1'><bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'><resource>" +
                 resource.toUtf8() + "</resource></bind></iq>",
             "</iq>")
             .contains("type=\"result\""))
        return false;
    const bool ok = !ask("<iq type='set' id='sess1'><session "
                         "xmlns='urn:ietf:params:xml:ns:xmpp-session'/></iq>",
                         "id=\"sess1\"")
                         .isEmpty();
    mark();
    return ok;
}

} // namespace ChatTest
