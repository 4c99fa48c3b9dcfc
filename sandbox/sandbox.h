#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <memory>

class World;
class GraphApi;
class WebPages;
class ControlApi;
class PictureStore;
class HttpServer;
class QTimer;
class ChatServer;
class ChatPeople;
class SandboxState;
class SandboxSwitches;
struct WorldData;
struct ApiRequest;
struct ApiResponse;

struct SandboxOptions {
    // Where tokens, what the client posted and the chat's messages and
    // offline queues are kept between runs (written the moment they change);
    // empty: nowhere. The chat server keeps its files in the "chat" folder.
    QString stateDir;
    bool demoLife = false;     // friends online, automatic replies, new notifications now and then
    int homeFeedStories = 0;   // when set, the account's home feed holds this many stories
    bool chatFullJids = false; // contacts' chat presences and messages from full addresses
    QDate today = QDate::currentDate();
};

// The whole sandbox service: the fictional world, its HTTP server (Graph,
// REST, login dialog, Read It Later, pictures, control endpoints) and, when
// built with it, the chat server. Lives on a thread with a Qt event loop.
class Sandbox : public QObject {
    Q_OBJECT

public:
    explicit Sandbox(SandboxOptions options = {});
    ~Sandbox() override;

    // Listens on 127.0.0.1; port 0 picks a free port.
    bool start(quint16 httpPort, quint16 xmppPort, QString *error);
    void stop();
    bool isRunning() const;

    quint16 httpPort() const;
    quint16 xmppPort() const;
    QString httpRoot() const;
    QString chatDomain() const;
    QString appId() const;
    QString clientSecret() const;
    bool hasChat() const;

    // The fictional account.
    QString accountId() const;
    QString accountName() const;
    QString accountLogin() const;
    QString accountPassword() const;
    // The password of every other fictional person (chat PLAIN login).
    static QString peoplePassword();

    // A live token for a person, for tests that skip the login dialog.
    QString issueToken(const QString &userId = {});
    World &world();

    // Answers one request as the HTTP server would (any thread).
    ApiResponse dispatch(const ApiRequest &req);

private:
    void startDemoLife();
    void demoTick();
    void addDemoNotification(WorldData &w);
    void recordChatMessage(const QString &from, const QString &to, const QString &body);
    void recordChatMessage(WorldData &w, const QString &from, const QString &to,
                           const QString &body);
    void loadState();

    SandboxOptions m_options;
    std::unique_ptr<World> m_world;
    std::unique_ptr<SandboxSwitches> m_switches;
    std::unique_ptr<SandboxState> m_state;
    std::unique_ptr<PictureStore> m_pictures;
    std::unique_ptr<GraphApi> m_graph;
    std::unique_ptr<WebPages> m_web;
    std::unique_ptr<ControlApi> m_control;
    std::unique_ptr<HttpServer> m_http;
    // Writes to the world from this thread (chat messages joining inbox
    // threads, demo notifications), one at a time and in order, so that the
    // chat server here never waits for the world's lock.
    std::unique_ptr<ChatPeople> m_chatPeople;
    ChatServer *m_chat = nullptr;
    QTimer *m_demoTimer = nullptr;
    int m_demoTicks = 0;
    // Changes this thread (the chat server's) asks of the world run here, one
    // at a time and in order, so the chat thread never waits for its turn.
    QThreadPool m_worldWriter;
};
