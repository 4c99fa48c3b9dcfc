#include "sandbox.h"

#include "chatpeople.h"
#include "controlapi.h"
#include "graphapi.h"
#include "httpserver.h"
#include "pictures.h"
#include "sandboxlogging.h"
#include "sandboxstate.h"
#include "switches.h"
#include "webpages.h"
#include "world.h"

#include "kelvo_build_config.h"

#ifdef KELVO_SANDBOX_WITH_CHAT
#include "chat/chatserver.h"
#endif

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

namespace {

constexpr int demoIntervalMs = 45000;

bool routeIsPicture(const QString &path) {
    return path.endsWith(QLatin1String("/picture")) || path.startsWith(QLatin1String("/photos/")) ||
           path.startsWith(QLatin1String("/img/")) || path == QLatin1String("/safe_image.php");
}

} // namespace

Sandbox::Sandbox(SandboxOptions options)
    : m_options(std::move(options)) {
    m_worldWriter.setMaxThreadCount(1);
    m_world =
        std::make_unique<World>(m_options.today, QString::fromLatin1(kelvo::build::sandboxAppId));
    if (m_options.homeFeedStories > 0)
        m_world->setHomeFeedSize(m_options.homeFeedStories);
    m_switches = std::make_unique<SandboxSwitches>();
    if (!m_options.stateDir.isEmpty())
        m_state = std::make_unique<SandboxState>(m_options.stateDir);
    m_pictures = std::make_unique<PictureStore>(*m_world);
    m_graph = std::make_unique<GraphApi>(*m_world, m_state.get(), *m_switches);
    m_web = std::make_unique<WebPages>(*m_world, QStringLiteral("100000000000002"));

    // The control endpoints run on HTTP worker threads; the chat server lives
    // on this object's thread, so commands are queued to it.
    ChatControl chat;
#ifdef KELVO_SANDBOX_WITH_CHAT
    const auto onChat = [this](std::function<void(ChatServer *)> call) {
        QMetaObject::invokeMethod(
            this,
            [this, call] {
                if (m_chat)
                    call(m_chat);
            },
            Qt::QueuedConnection);
    };
    const auto askChat = [this](std::function<void(ChatServer *)> call) {
        const auto run = [this, call] {
            if (m_chat)
                call(m_chat);
        };
        if (QThread::currentThread() == thread())
            run();
        else
            QMetaObject::invokeMethod(this, run, Qt::BlockingQueuedConnection);
    };
    chat.sendMessage = [onChat](const QString &from, const QString &to, const QString &body,
                                const QString &id) {
        onChat([=](ChatServer *c) { c->sendMessageAs(from, to, body, id); });
    };
    chat.sendTyping = [onChat](const QString &from, const QString &to, bool composing) {
        onChat([=](ChatServer *c) { c->sendTypingAs(from, to, composing); });
    };
    chat.setPresence = [onChat](const QString &user, const QString &show) {
        onChat([=](ChatServer *c) { c->setVirtualPresence(user, show); });
    };
    chat.messagesTo = [askChat](const QString &user) {
        QJsonArray out;
        askChat([&](ChatServer *c) {
            for (const ChatRecord &m : c->messagesTo(user))
                out.append(QJsonObject{{"from", m.from}, {"body", m.body}, {"id", m.id}});
        });
        return out;
    };
    chat.onlineUsers = [askChat] {
        QStringList out;
        askChat([&](ChatServer *c) { out = c->onlineUsers(); });
        return out;
    };
    chat.isPerson = [askChat](const QString &user) {
        bool known = false;
        askChat([&](ChatServer *c) { known = c->isPerson(user); });
        return known;
    };
    chat.addContacts = [askChat](const QString &user, int count) {
        QStringList ids;
        askChat([&](ChatServer *c) { ids = c->addContacts(user, count); });
        return ids;
    };
    chat.rename = [askChat](const QString &user, const QString &name) {
        askChat([&](ChatServer *c) { c->rename(user, name); });
    };
    chat.setFullJids = [askChat](bool on) { askChat([&](ChatServer *c) { c->setFullJids(on); }); };
    // Answered once the port is closed or open again.
    chat.stop = [askChat] { askChat([](ChatServer *c) { c->close(); }); };
    chat.start = [askChat] {
        bool listening = false;
        askChat([&](ChatServer *c) { listening = c->resume(); });
        return listening;
    };
    chat.drop = [askChat](const QString &user) {
        int dropped = 0;
        askChat([&](ChatServer *c) { dropped = c->dropUser(user); });
        return dropped;
    };
#endif
    m_control = std::make_unique<ControlApi>(*m_world, chat, m_state.get(), *m_switches);
    m_http = std::make_unique<HttpServer>([this](const ApiRequest &req) { return dispatch(req); });
}

Sandbox::~Sandbox() {
    stop();
}

ApiResponse Sandbox::dispatch(const ApiRequest &req) {
    const QString &path = req.path;
    if (path == QLatin1String("/_sandbox") || path.startsWith(QLatin1String("/_sandbox/")))
        return m_control->handle(req);
    if (const std::optional<Fault> fault = m_switches->takeFault(path)) {
        QThread::msleep(ulong(fault->delayMs));
        if (fault->status != 0) {
            ApiResponse failed =
                fault->hasBody
                    ? ApiResponse::text(fault->body, fault->status)
                    : ApiResponse::badRequest(QStringLiteral("Failure set by the sandbox."), 1,
                                              QStringLiteral("SandboxException"));
            failed.status = fault->status;
            if (QJsonDocument::fromJson(failed.body).isObject())
                failed.contentType = "application/json; charset=UTF-8";
            return failed;
        }
    }
    if (path.startsWith(QLatin1String("/method/")))
        return m_graph->handleRest(req);
    ApiResponse response;
    if (routeIsPicture(path) && m_pictures->handle(req, &response))
        return response;
    if (m_web->handle(req, &response))
        return response;
    return m_graph->handleGraph(req);
}

bool Sandbox::start(quint16 httpPort, quint16 xmppPort, QString *error) {
    QString why;
    loadState();
    if (!m_http->listen(httpPort, &why)) {
        if (error)
            *error = QStringLiteral("HTTP: ") + why;
        return false;
    }
#ifdef KELVO_SANDBOX_WITH_CHAT
    ChatOptions chatOptions;
    if (!m_options.stateDir.isEmpty())
        chatOptions.stateDir = QDir(m_options.stateDir).filePath(QStringLiteral("chat"));
    chatOptions.fullJids = m_options.chatFullJids;
    m_chatPeople = std::make_unique<ChatPeople>(*m_world);
    m_chat = new ChatServer(m_chatPeople.get(), chatDomain(), chatOptions, this);
    // Recording a routed message in the world happens on the world's writer
    // thread: routing never waits for HTTP work.
    connect(m_chat, &ChatServer::messageRouted, this,
            [this](const QString &from, const QString &to, const QString &body) {
                recordChatMessage(from, to, body);
            });
    if (!m_chat->listen(QHostAddress::LocalHost, xmppPort)) {
        if (error)
            *error = QStringLiteral("XMPP: cannot listen on 127.0.0.1:%1 (%2)")
                         .arg(xmppPort)
                         .arg(m_chat->errorString());
        delete m_chat;
        m_chat = nullptr;
        m_http->stop();
        return false;
    }
#else
    Q_UNUSED(xmppPort);
#endif
    qCInfo(lcSandbox) << "serving" << httpRoot() << "chat port" << this->xmppPort();
    if (m_options.demoLife)
        startDemoLife();
    return true;
}

void Sandbox::stop() {
    if (m_demoTimer) {
        m_demoTimer->stop();
        delete m_demoTimer;
        m_demoTimer = nullptr;
    }
    if (m_http && m_http->isRunning()) {
        // Workers may wait on this thread (chat queries): keep serving them.
        m_http->stop([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    }
    delete m_chat;
    m_chat = nullptr;
    m_worldWriter.waitForDone();
}

bool Sandbox::isRunning() const {
    return m_http && m_http->isRunning();
}
quint16 Sandbox::httpPort() const {
    return m_http->port();
}

quint16 Sandbox::xmppPort() const {
#ifdef KELVO_SANDBOX_WITH_CHAT
    return m_chat ? m_chat->port() : 0;
#else
    return 0;
#endif
}

QString Sandbox::httpRoot() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(httpPort());
}
QString Sandbox::chatDomain() const {
    return QString::fromLatin1(kelvo::build::sandboxChatDomain);
}
QString Sandbox::appId() const {
    return QString::fromLatin1(kelvo::build::sandboxAppId);
}
QString Sandbox::clientSecret() const {
    return QString::fromLatin1(kelvo::build::sandboxClientSecret);
}
bool Sandbox::hasChat() const {
    return m_chat != nullptr;
}

QString Sandbox::accountId() const {
    return m_world->snapshot()->meId;
}

QString Sandbox::accountName() const {
    const World::Snapshot w = m_world->snapshot();
    return w->people.value(w->meId).name;
}

QString Sandbox::accountLogin() const {
    return m_world->snapshot()->loginName;
}

QString Sandbox::accountPassword() const {
    return QString::fromLatin1(World::accountPassword);
}
QString Sandbox::peoplePassword() {
    return QStringLiteral("sandbox");
}

QString Sandbox::issueToken(const QString &userId) {
    return m_world->issueToken(userId.isEmpty() ? accountId() : userId, 0);
}

World &Sandbox::world() {
    return *m_world;
}

void Sandbox::recordChatMessage(const QString &from, const QString &to, const QString &body) {
    // Chat messages join the two people's inbox thread, as on the service.
    m_worldWriter.start([this, from, to, body] {
        m_world->update([&](WorldData &w) { recordChatMessage(w, from, to, body); });
    });
}

void Sandbox::recordChatMessage(WorldData &w, const QString &from, const QString &to,
                                const QString &body) {
    if (!w.people.contains(from) || !w.people.contains(to) || body.isEmpty())
        return;
    Thread *thread = nullptr;
    for (Thread &t : w.threads)
        if (t.folder == QLatin1String("inbox") && t.participants.size() == 2 &&
            t.participants.contains(from) && t.participants.contains(to))
            thread = &t;
    Message m;
    m.authorId = from;
    m.body = body;
    m.created = QDateTime::currentSecsSinceEpoch();
    if (!thread) {
        Thread t;
        t.id = w.newId();
        t.folder = QStringLiteral("inbox");
        t.participants = QStringList{from, to};
        thread = &(w.threads[t.id] = t);
        m.id = t.id;
    } else {
        m.id = thread->id + QLatin1Char('_') + w.newId();
    }
    thread->messages.append(m);
    thread->unread = to == w.meId;
}

void Sandbox::startDemoLife() {
    const QStringList friends = m_world->snapshot()->friendIds;
#ifdef KELVO_SANDBOX_WITH_CHAT
    if (m_chat && friends.size() > 8) {
        for (int i = 0; i < 6; ++i)
            m_chat->setVirtualPresence(friends[i], QString());
        m_chat->setVirtualPresence(friends[6], QStringLiteral("away"));
        m_chat->setAutoReply(friends[2], 1500,
                             QStringLiteral("Hi! I'm out on the water, will call you later."));
    }
#endif
    m_demoTimer = new QTimer(this);
    connect(m_demoTimer, &QTimer::timeout, this, [this] { demoTick(); });
    m_demoTimer->start(demoIntervalMs);
}

void Sandbox::demoTick() {
    m_worldWriter.start(
        [this] { m_world->update([this](WorldData &w) { addDemoNotification(w); }); });
}

void Sandbox::addDemoNotification(WorldData &w) {
    static const char *const titles[] = {" likes your status.", " commented on your photo.",
                                         " wrote on your wall.", " shared your link."};
    if (w.friendIds.isEmpty())
        return;
    const int n = m_demoTicks++;
    const QString from = w.friendIds[(n * 7) % w.friendIds.size()];
    Notification note;
    note.id = QStringLiteral("notif_%1_%2").arg(w.meId, w.newId());
    note.fromId = from;
    note.toId = w.meId;
    note.title = w.nameOf(from) + QString::fromLatin1(titles[n % 4]);
    note.link = QStringLiteral("{ROOT}/") + from;
    note.created = note.updated = QDateTime::currentSecsSinceEpoch();
    w.notifications.insert(note.id, note);
}

void Sandbox::loadState() {
    if (!m_state)
        return;
    m_world->restoreTokens(m_state->loadTokens());
    SandboxState *state = m_state.get();
    m_world->setTokenSink([state](const World::Tokens &tokens, quint64 version) {
        state->saveTokens(tokens, version);
    });
    const QList<PostedChange> posted = m_state->loadPosted();
    for (const PostedChange &change : posted)
        m_graph->replay(change);
    if (!posted.isEmpty())
        qCInfo(lcSandbox) << "made" << posted.size() << "kept changes again";
}
